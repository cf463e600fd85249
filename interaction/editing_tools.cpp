#include "editing_tools.h"

namespace noxd {

// No tool can be armed yet, so there is nothing to expire or clamp.
void RunEditingToolsFrameStep(CGLRenderer&) {}

}  // namespace noxd
