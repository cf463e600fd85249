#include "button_hit_test.h"

#include <vector>

#include "cgl_renderer.h"
#include "osd_button.h"

namespace noxd {

void HitTestButtons(CGLRenderer& renderer, UINT message, PointF p) {
    std::vector<ButtonHit> due;
    FollowPointerOverButtons(renderer, message, p, due);
    for (const ButtonHit& hit : due) hit.callback(&renderer, hit.button, message, p.x, p.y);
}

}  // namespace noxd
