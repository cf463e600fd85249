#include "osd_list.h"

#include "osd_object.h"
#include "renderer/gl_renderer.h"

void DestroyOsdObject(CBaseOsdObject* object) {
    object->FreeResources();
    ::operator delete(static_cast<void*>(object));
}

namespace noxd {

void DrawOsdObjects(CGLRenderer& renderer) {
    for (CBaseOsdObject* object : renderer.osd.osd_list) {
        if (object) object->Draw();
    }
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
    return S_OK;
}

}  // namespace noxd
