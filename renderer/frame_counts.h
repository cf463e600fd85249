// The frames a view has shown: counted on the GL thread as each is shown,
// read on any thread. Only the statistics mutex is taken, and only for one
// record or one read.
#pragma once

#include <cstdint>

#include "frame_layout.h"
#include "frame_stats.h"

namespace noxd {

struct RendererCore;

uint64_t SteadyMicroseconds();

// A frame shown whose call began at `start_us`. GL thread, no lock needed.
void CountFrame(RendererCore& renderer, uint64_t start_us);

// The statistics as of now. Any thread.
FrameStatsSummary ReadFrameStats(RendererCore& renderer);

// The size and format of the frames shown now (before the first frame, the
// creation's). Any thread.
FrameGeometry ReportedGeometry(RendererCore& renderer);

// Whether a frame has been shown yet. Any thread.
bool HasShownAFrame(RendererCore& renderer);

// Whether no frame has come for the "no video" timeout. Any thread.
bool PictureIsStale(RendererCore& renderer);

}  // namespace noxd
