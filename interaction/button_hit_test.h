// Overlay buttons under the pointer: their states and callbacks.
#pragma once

#include <windows.h>

#include "pointer_math.h"

struct CGLRenderer;

namespace noxd {

// Sets the state of every button for the message at point `p` (normalized
// video coordinates) and calls the callbacks of those under the pointer.
// The list is walked under the renderer lock; the callbacks run after it is
// given back, so they may call any noxd function.
void HitTestButtons(CGLRenderer& renderer, UINT message, PointF p);

}  // namespace noxd
