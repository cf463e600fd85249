#include "digital_zoom.h"

namespace noxd {

// No zoom can be applied yet: the whole picture is shown.
void ApplyZoomStep(CGLRenderer&, VideoQuad&) {}

}  // namespace noxd
