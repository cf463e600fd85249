// Overlay buttons: up to three images (normal, pressed, hover) and a host
// callback. The pointer over them (FollowPointerOverButtons, from the window
// procedure's hit-test) changes `state` and makes `callback` due with the
// button's `handle`; the draw pass shows the image of the current state.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "noxd.h"
#include "osd_object.h"
#include "osd_pixels.h"
#include "pointer_math.h"

enum ButtonState : uint32_t {
    kButtonNormal = 0,
    kButtonPressed = 1,
    kButtonHover = 2,
};

// Counts itself in the renderer's button_count from construction until
// FreeResources(). Each image keeps its own size, so pressed and hover images
// need not match the normal one.
class COsdButton : public CBaseOsdObject {
public:
    // A null normal image leaves status E_INVALIDARG; a pressed or hover
    // image that cannot be read is left out and the normal one shown instead.
    COsdButton(noxd::OverlayRenderer* owner, OsdButtonCallback callback, HBITMAP normal,
               HBITMAP pressed, HBITMAP hover, const noxd::ImageCorners& corners, int32_t anchor,
               uint32_t key_color, uint8_t key_alpha);
    HRESULT Draw() override;
    void FreeResources() override;

    // The image shown in `state`: the normal one where the other is missing.
    const noxd::PixelImage& ImageFor(ButtonState state) const;

    OsdButtonCallback callback;
    // Written by the hit-test on the window's thread, read by the draw pass.
    std::atomic<ButtonState> state{kButtonNormal};
    // The state the last draw pass showed. Draw pass only.
    ButtonState drawn_state = kButtonNormal;
    noxd::PixelImage normal_pixels;
    noxd::PixelImage pressed_pixels;
    noxd::PixelImage hover_pixels;
    // Hit-test bounds and drawing rectangle: (x0, y0) top-left, (x1, y1)
    // bottom-right, normalized video coordinates, y up.
    float x0, y0, x1, y1;
    uint32_t key_color;
    uint8_t key_alpha;
    int32_t anchor;

private:
    bool counted_ = false;  // whether button_count holds this button
};

namespace noxd {

// A button under the pointer whose callback is due.
struct ButtonHit {
    OsdButtonCallback callback;
    UINT_PTR button;
};

// Whether a button's state is not the one its image was last drawn in.
// Lock held.
bool ButtonsChangedSinceDrawn(const std::vector<CBaseOsdObject*>& overlays);

// Sets the state of every button for the mouse `message` at `p` (normalized
// video coordinates) and appends the callbacks of those under the pointer to
// `due`, which the caller calls once the lock is given back, so they may call
// any noxd function. Walks the list under the lock; does nothing while no
// button lives. A callback that cannot be recorded for want of memory is
// left out and said so on the debugger output.
void FollowPointerOverButtons(OverlayRenderer& renderer, UINT message, PointF p,
                              std::vector<ButtonHit>& due);

}  // namespace noxd
