// The interaction group of the renderer object: the host's mouse callback, the
// zoom and the three editing tools.
//
// Lock rule of the interaction layer: the gesture steps run on the window's
// thread, the switch functions on any host thread, the per-frame steps on the
// GL thread under the renderer lock. Flags read across threads are atomic
// words; the drag records belong to the window's thread alone; zoom_window,
// the result rectangles and the band slots change only under the renderer
// lock. The window procedure waits for the lock only once the core's
// input_live is set. Host callbacks are called with no lock held.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "noxd.h"
#include "pointer_math.h"

namespace noxd {

// A left-button gesture in client pixels. The window's thread owns it; a
// switch function may end it from a host thread, hence the atomic flag.
struct DragRecord {
    std::atomic<bool> active{false};
    int start_x = 0, start_y = 0;
    int current_x = 0, current_y = 0;
};

constexpr RectF kUnsetRect = {-1.0f, 1.0f, 1.0f, -1.0f};

struct InteractionState {
    std::atomic<MouseCallback> mouse_callback{nullptr};

    // Digital zoom.
    DragRecord zoom_drag;
    std::atomic<int32_t> zoom_applied{0};
    std::atomic<int32_t> zoom_band_expired{1};
    std::atomic<int32_t> host_zoom_active{0};
    std::atomic<int32_t> digital_zoom_enabled{0};
    std::atomic<int32_t> static_zoom_enabled{0};
    UINT_PTR zoom_band_slot = 0;  // shared with the drag rectangle
    RectF zoom_window = kUnsetRect;
    // The part of the frame the last picture showed (the whole picture
    // unzoomed): the tools' rectangles are relative to it.
    RectF shown_zoom_window = kWholePicture;

    // Motion area.
    DragRecord motion_drag;
    std::atomic<int32_t> motion_edit_enabled{0};
    std::atomic<int32_t> motion_released{0};
    UINT_PTR motion_band_slot = 0;
    RectF motion_rect = kUnsetRect;

    // Privacy mask; also switches the mouse callback to the 0-10000 form.
    DragRecord privacy_drag;
    std::atomic<int32_t> privacy_edit_enabled{0};
    std::atomic<int32_t> privacy_released{0};
    UINT_PTR privacy_band_slot = 0;
    RectF privacy_rect = kUnsetRect;

    // Drag rectangle; its band and result are the zoom's slot and window.
    DragRecord rect_drag;
    std::atomic<int32_t> rect_released{0};
    std::atomic<int32_t> show_drag_rect{0};
};

}  // namespace noxd
