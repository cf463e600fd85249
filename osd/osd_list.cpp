#include "osd_list.h"

#include <algorithm>

#include "osd_button.h"
#include "osd_gl_state.h"
#include "osd_handle.h"
#include "osd_object.h"

OsdObjectTally& OsdObjects() {
    static OsdObjectTally tally;
    return tally;
}

void DestroyOsdObject(CBaseOsdObject* object) {
    object->FreeResources();
    ::operator delete(static_cast<void*>(object));
    ++OsdObjects().freed;
}

namespace noxd {

namespace {

// Appends a built object under its new handle; false when the list cannot grow.
bool AppendOsdObject(std::vector<CBaseOsdObject*>& list, UINT_PTR* handle_variable,
                     CBaseOsdObject* object) {
    try {
        list.push_back(object);
    } catch (const std::bad_alloc&) {
        return false;
    }
    object->handle = NextOsdHandle();
    *handle_variable = object->handle;
    return true;
}

}  // namespace

HRESULT OverlayList::Add(UINT_PTR* handle_variable, CBaseOsdObject* object) {
    if (!handle_variable) {
        if (object) DestroyOsdObject(object);
        return E_INVALIDARG;
    }
    ScopedRendererLock hold(lock_);
    // The variable's old object goes whether the new one makes it in or not.
    if (*handle_variable) Delete(handle_variable);
    *handle_variable = 0;
    if (!object) return E_FAIL;
    const HRESULT built = object->status;
    if (built != S_OK) {
        DestroyOsdObject(object);
        return built;
    }
    if (!AppendOsdObject(osd_list, handle_variable, object)) {
        DestroyOsdObject(object);
        return E_FAIL;
    }
    CountOverlays();
    return S_OK;
}

HRESULT OverlayList::Delete(UINT_PTR* handle_variable) {
    if (!handle_variable || !*handle_variable) return E_INVALIDARG;
    ScopedRendererLock hold(lock_);
    auto& list = osd_list;
    const UINT_PTR handle = *handle_variable;
    const auto found = std::find_if(list.begin(), list.end(), [handle](CBaseOsdObject* o) {
        return o && o->handle == handle;
    });
    if (found == list.end()) return E_INVALIDARG;
    CBaseOsdObject* object = *found;
    list.erase(found);
    CountOverlays();
    DestroyOsdObject(object);
    *handle_variable = 0;
    return S_OK;
}

HRESULT OverlayList::Clear() {
    ScopedRendererLock hold(lock_);
    auto& list = osd_list;
    if (list.empty()) return E_INVALIDARG;
    while (!list.empty()) {
        CBaseOsdObject* first = list.front();
        DestroyOsdObject(first);
        list.erase(list.begin());
    }
    CountOverlays();
    return S_OK;
}

void OverlayList::KeepToGl11() {
    gl11_only_ = true;
    image_textures_.PadToPowersOfTwo();
    cover_textures_.PadToPowersOfTwo();
}

void OverlayList::DrawEach(const LayerKey& key, HGLRC own) {
    image_textures_.BeginPass(own);
    SetOverlayBlending(!gl11_only_);
    picture_space_.orientation = key.orientation;
    picture_space_.rect = key.picture;
    UprightPixelSize(key.picture, key.orientation, key.viewport.width, key.viewport.height, picture_space_.width,
                     picture_space_.height);
    // Placed on the picture rectangle and turned with the picture; the
    // viewport stays the video area, which clips them, bars included.
    const OsdPictureProjection placed(picture_space_.rect, picture_space_.orientation);
    for (CBaseOsdObject* object : osd_list) {
        if (object) object->Draw();
    }
}

OverlaysOnPicture OverlayList::PrepareLayer(LayerKey key, HGLRC own) {
    if (ButtonCount() > 0 && ButtonsChangedSinceDrawn(osd_list)) ++version_;
    key.list_version = version_;
    if (gl11_only_) return {};
    if (layer_.BeginRedraw(key, own)) {
        DrawEach(key, own);
        layer_.EndRedraw();
    }
    return layer_.Usable() ? layer_.OnPicture() : OverlaysOnPicture{};
}

void OverlayList::Draw(LayerKey key, HGLRC own) {
    if (PrepareLayer(key, own).texture)
        layer_.Composite();
    else
        DrawEach(key, own);
}

void OverlayList::DeleteGlObjects(HGLRC own) {
    image_textures_.DeleteAll(own);
    cover_textures_.DeleteAll(own);
    layer_.DeleteIn(own);
}

uint16_t OverlayList::CurrentDashMask() {
    ScopedRendererLock hold(lock_);
    return dash_mask;
}

void OverlayList::SetDashMask(uint16_t pattern) {
    ScopedRendererLock hold(lock_);
    dash_mask = pattern;
}

void OverlayList::SwapInDashMask(uint16_t own) {
    saved_dash_mask = dash_mask;
    dash_mask = own;
}

void OverlayList::RestoreDashMask() { dash_mask = saved_dash_mask; }

}  // namespace noxd
