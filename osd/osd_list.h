// The renderer's ordered overlay list: drawn in insertion order every frame.
//
// Threads: the add, delete and clear operations may run on any thread; they
// change the list only under the renderer lock. DrawOsdObjects runs in the
// frame sequence on the GL thread with the lock already held. Objects are
// built completely, outside the lock, before they are added.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

class CBaseOsdObject;
struct CGLRenderer;

namespace noxd {

// The overlay group of the renderer object.
struct OsdState {
    std::vector<CBaseOsdObject*> osd_list;  // owns the objects; guarded by the renderer lock
    // The list's length, written under the lock at every change, for readers
    // that must not wait for a frame to end (noxd_get_stats).
    std::atomic<int32_t> overlay_count{0};
    // Live buttons; changed by button construction and removal on any thread,
    // read by the window procedure without the lock.
    std::atomic<int32_t> button_count{0};
    // Pattern that new outline objects capture, and the slot that keeps it
    // while a drawing object or the rubber band swaps its own in. Both under
    // the renderer lock.
    uint16_t dash_mask = 0xE3F8;
    uint16_t saved_dash_mask = 0xE3F8;
};

// Puts `object` into the list and its new handle into *handle_variable,
// deleting the object the variable named before. When the object is null
// (allocation failed: E_FAIL) or was not built (its status), it is discarded,
// the old object is deleted all the same and the variable is left 0. A null
// handle_variable: E_INVALIDARG, the object is discarded, nothing else
// changes. Takes the renderer lock; may be called with it held.
HRESULT AddOsdObject(CGLRenderer& renderer, UINT_PTR* handle_variable, CBaseOsdObject* object);

// Removes the object that *handle_variable names and sets the variable to 0.
// E_INVALIDARG, changing nothing, for a null variable, a 0 handle or a handle
// not in the list. Takes the renderer lock; may be called with it held.
HRESULT DeleteOsdObject(CGLRenderer& renderer, UINT_PTR* handle_variable);

// Removes and frees every overlay; E_INVALIDARG when the list was empty.
// Handle variables are not touched. Takes the renderer lock.
HRESULT ClearOsdObjects(CGLRenderer& renderer);

// Draws every overlay in list order; caller holds the lock on the GL thread.
void DrawOsdObjects(CGLRenderer& renderer);

// The pattern an outline object captures when it is built. Takes the lock,
// so it never sees a pattern that a drawing object or the rubber band has
// swapped in for a moment.
uint16_t CurrentDashMask(CGLRenderer& renderer);

// Sets the pattern for objects built from now on; waits for a draw pass in
// progress, which would otherwise put its saved pattern back over it.
void SetDashMask(CGLRenderer& renderer, uint16_t pattern);

}  // namespace noxd
