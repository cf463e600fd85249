// Overlay handles: the values a host keeps in its handle variables.
#pragma once

#include <cstdint>

namespace noxd {

// A new handle, non-zero and never handed out before in this process, so a
// handle kept after its object was removed can never name a later object.
// Any thread.
uintptr_t NextOsdHandle();

}  // namespace noxd
