// The object behind every noxd handle: the renderer core, its overlay list
// and its interaction state, each layer adding its part. The layers below see
// only theirs (RendererCore, OverlayRenderer); the top layer (api/) composes
// the sequences that use several of them.
#pragma once

#include "interaction_state.h"
#include "osd_list.h"

// Single inheritance puts the core at the object's own address,
// so the window's user data, which the core writes, holds the handle itself.
struct CGLRenderer : noxd::OverlayRenderer {
    noxd::InteractionState interaction;
};
