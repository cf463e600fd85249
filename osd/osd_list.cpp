#include "osd_list.h"

#include <algorithm>

#include "osd_button.h"
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

namespace {

// The overlays are placed on the picture rectangle and turned with the
// picture, clipped to the video area. A framebuffer drawn with its rows
// from the top counts viewport and scissor rows from the top too.
class PictureSpaceState {
public:
    PictureSpaceState(const LayerKey& key, bool rows_from_top) : key_(key), rows_from_top_(rows_from_top) {
        const Viewport p = Rows(key.picture), clip = Rows(key.viewport);
        glViewport(p.x, p.y, p.width, p.height);
        glEnable(GL_SCISSOR_TEST);
        glScissor(clip.x, clip.y, clip.width, clip.height);
        float turn[16];
        OrientationMatrix(key.orientation, turn);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(turn);
        glMatrixMode(GL_MODELVIEW);
    }
    ~PictureSpaceState() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glDisable(GL_SCISSOR_TEST);
        const Viewport v = Rows(key_.viewport);
        glViewport(v.x, v.y, v.width, v.height);
    }
    PictureSpaceState(const PictureSpaceState&) = delete;
    PictureSpaceState& operator=(const PictureSpaceState&) = delete;

private:
    Viewport Rows(const Viewport& v) const {
        return rows_from_top_ ? Viewport{v.x, key_.client_height - v.y - v.height, v.width, v.height} : v;
    }
    const LayerKey& key_;
    const bool rows_from_top_;
};

}  // namespace

void OverlayList::DrawEach(const LayerKey& key, HGLRC own, bool rows_from_top) {
    image_textures_.BeginPass(own);
    picture_space_.orientation = key.orientation;
    UprightPixelSize(key.picture, key.orientation, picture_space_.width, picture_space_.height);
    PictureSpaceState placed(key, rows_from_top);
    for (CBaseOsdObject* object : osd_list) {
        if (object) object->Draw();
    }
}

OverlaysOnPicture OverlayList::PrepareLayer(LayerKey key, HGLRC own) {
    if (ButtonCount() > 0 && ButtonsChangedSinceDrawn(osd_list)) ++version_;
    key.list_version = version_;
    if (layer_.BeginRedraw(key, own)) {
        DrawEach(key, own, true);
        layer_.EndRedraw();
    }
    return layer_.Usable() ? layer_.OnPicture() : OverlaysOnPicture{};
}

void OverlayList::Draw(LayerKey key, HGLRC own) {
    if (PrepareLayer(key, own).texture)
        layer_.Composite();
    else
        DrawEach(key, own, false);
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
