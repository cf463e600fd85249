// A picture the viewer holds, described to the renderer plane by plane as it
// lies in the viewer's buffer: nothing is copied or turned round to draw it.
#pragma once

#include "decoded_frame.h"
#include "frame_mailbox.h"
#include "noxd.h"

namespace viewer {

static_assert(kRendererYuy2 == NOXD_FORMAT_YUY2 && kRendererBgr32 == NOXD_FORMAT_BGR32 &&
                  kRendererBgr24 == NOXD_FORMAT_BGR24 && kRendererNv12 == NOXD_FORMAT_NV12,
              "renderer format codes");

// Valid while `picture` and its bytes are; planes the format does not use stay null.
inline NOXD_PLANES PlanesOf(const Picture& picture) {
    const PlaneLayout& layout = picture.layout;
    NOXD_PLANES planes = {};
    planes.size = sizeof planes;
    planes.format = layout.format;
    planes.width = static_cast<INT>(layout.width);
    planes.height = static_cast<INT>(layout.height);
    for (int i = 0; i < 3; ++i) {
        if (layout.pitch[i] == 0) continue;
        planes.data[i] = picture.bytes.data() + layout.offset[i];
        planes.pitch[i] = layout.pitch[i];
    }
    return planes;
}

}  // namespace viewer
