#include "button_hit_test.h"

#include <vector>

#include "osd/osd_button.h"
#include "renderer/gl_renderer.h"

namespace noxd {

namespace {

struct PendingCallback {
    OsdButtonCallback callback;
    UINT_PTR button;
};

bool Contains(const COsdButton& b, PointF p) {
    return b.x0 <= p.x && p.x <= b.x1 && b.y1 <= p.y && p.y <= b.y0;
}

// A pressed button stays pressed while the pointer moves over it.
void SetStateFor(COsdButton& b, UINT message) {
    switch (message) {
    case WM_LBUTTONUP: b.state = kButtonNormal; break;
    case WM_LBUTTONDOWN: b.state = kButtonPressed; break;
    case WM_MOUSEMOVE:
        if (b.state != kButtonPressed) b.state = kButtonHover;
        break;
    default: break;
    }
}

std::vector<PendingCallback> UpdateButtons(CGLRenderer& renderer, UINT message, PointF p) {
    std::vector<PendingCallback> calls;
    ScopedRendererLock hold(renderer.lock);
    if (renderer.osd.button_count <= 0) return calls;
    for (CBaseOsdObject* object : renderer.osd.osd_list) {
        if (!object || object->kind != kOsdButton) continue;
        auto& button = static_cast<COsdButton&>(*object);
        if (!Contains(button, p)) {
            button.state = kButtonNormal;
            continue;
        }
        SetStateFor(button, message);
        if (button.callback) calls.push_back({button.callback, button.handle});
    }
    return calls;
}

}  // namespace

void HitTestButtons(CGLRenderer& renderer, UINT message, PointF p) {
    for (const PendingCallback& call : UpdateButtons(renderer, message, p))
        call.callback(&renderer, call.button, message, p.x, p.y);
}

}  // namespace noxd
