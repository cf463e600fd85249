// The renderer's ordered overlay list: drawn in insertion order every frame.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

class CBaseOsdObject;
struct CGLRenderer;

namespace noxd {

// The overlay group of the renderer object.
struct OsdState {
    std::vector<CBaseOsdObject*> osd_list;  // owns the objects; guarded by the renderer lock
    int32_t button_count = 0;
    uint16_t dash_mask = 0xE3F8;
    uint16_t saved_dash_mask = 0xE3F8;
};

// Draws every overlay in list order; caller holds the lock on the GL thread.
void DrawOsdObjects(CGLRenderer& renderer);

// Removes and frees every overlay; E_INVALIDARG when the list was empty.
HRESULT ClearOsdObjects(CGLRenderer& renderer);

}  // namespace noxd
