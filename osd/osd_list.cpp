#include "osd_list.h"

#include <algorithm>

#include "osd_handle.h"
#include "osd_object.h"
#include "renderer/gl_renderer.h"

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
bool AppendOsdObject(OsdState& osd, UINT_PTR* handle_variable, CBaseOsdObject* object) {
    try {
        osd.osd_list.push_back(object);
    } catch (const std::bad_alloc&) {
        return false;
    }
    object->handle = NextOsdHandle();
    *handle_variable = object->handle;
    osd.overlay_count = static_cast<int32_t>(osd.osd_list.size());
    return true;
}

}  // namespace

HRESULT AddOsdObject(CGLRenderer& renderer, UINT_PTR* handle_variable, CBaseOsdObject* object) {
    if (!handle_variable) {
        if (object) DestroyOsdObject(object);
        return E_INVALIDARG;
    }
    ScopedRendererLock hold(renderer.lock);
    // The variable's old object goes whether the new one makes it in or not.
    if (*handle_variable) DeleteOsdObject(renderer, handle_variable);
    *handle_variable = 0;
    if (!object) return E_FAIL;
    const HRESULT built = object->status;
    if (built != S_OK) {
        DestroyOsdObject(object);
        return built;
    }
    if (!AppendOsdObject(renderer.osd, handle_variable, object)) {
        DestroyOsdObject(object);
        return E_FAIL;
    }
    return S_OK;
}

HRESULT DeleteOsdObject(CGLRenderer& renderer, UINT_PTR* handle_variable) {
    if (!handle_variable || !*handle_variable) return E_INVALIDARG;
    ScopedRendererLock hold(renderer.lock);
    auto& list = renderer.osd.osd_list;
    const UINT_PTR handle = *handle_variable;
    const auto found = std::find_if(list.begin(), list.end(), [handle](CBaseOsdObject* o) {
        return o && o->handle == handle;
    });
    if (found == list.end()) return E_INVALIDARG;
    CBaseOsdObject* object = *found;
    list.erase(found);
    renderer.osd.overlay_count = static_cast<int32_t>(list.size());
    DestroyOsdObject(object);
    *handle_variable = 0;
    return S_OK;
}

HRESULT ClearOsdObjects(CGLRenderer& renderer) {
    ScopedRendererLock hold(renderer.lock);
    auto& list = renderer.osd.osd_list;
    if (list.empty()) return E_INVALIDARG;
    while (!list.empty()) {
        CBaseOsdObject* first = list.front();
        DestroyOsdObject(first);
        list.erase(list.begin());
    }
    renderer.osd.overlay_count = 0;
    return S_OK;
}

void DrawOsdObjects(CGLRenderer& renderer) {
    for (CBaseOsdObject* object : renderer.osd.osd_list) {
        if (object) object->Draw();
    }
}

uint16_t CurrentDashMask(CGLRenderer& renderer) {
    ScopedRendererLock hold(renderer.lock);
    return renderer.osd.dash_mask;
}

void SetDashMask(CGLRenderer& renderer, uint16_t pattern) {
    ScopedRendererLock hold(renderer.lock);
    renderer.osd.dash_mask = pattern;
}

}  // namespace noxd
