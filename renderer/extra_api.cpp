// The exports beyond the first set: colour space, statistics, redraw, the
// "no video" picture and snapshots. Each one returns E_INVALIDARG for a null
// renderer, and nothing thrown inside it leaves it: Guarded turns any
// exception into E_UNEXPECTED.
#include <algorithm>
#include <cstring>
#include <utility>

#include "color_space.h"
#include "frame_extras.h"
#include "gl_renderer.h"
#include "include/noxd.h"

namespace noxd {

namespace {

template <typename Body>
HRESULT Guarded(NOXD_RENDERER renderer, Body&& body) noexcept {
    if (!renderer) return E_INVALIDARG;
    try {
        return std::forward<Body>(body)(*renderer);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

int FormatCodeOf(FormatClass cls) {
    switch (cls) {
    case FormatClass::Bgr24: return NOXD_FORMAT_BGR24;
    case FormatClass::Bgr32: return NOXD_FORMAT_BGR32;
    case FormatClass::Yuy2: return NOXD_FORMAT_YUY2;
    case FormatClass::I420: return NOXD_FORMAT_I420;
    case FormatClass::Uyvy: return NOXD_FORMAT_UYVY;
    }
    return 0;
}

NOXD_STATS CollectStats(CGLRenderer& renderer) {
    const FrameStatsSummary frames = ReadFrameStats(renderer);
    RECT client = {};
    GetClientRect(renderer.window, &client);
    NOXD_STATS s = {};
    s.frames_drawn = frames.frames_drawn;
    s.frames_last_second = frames.frames_last_second;
    s.average_draw_us = frames.average_draw_us;
    s.worst_draw_us = frames.worst_draw_us;
    s.ms_since_last_frame = frames.ms_since_last_frame;
    s.frame_width = renderer.frame_width;
    s.frame_height = renderer.frame_height;
    s.format = FormatCodeOf(renderer.format_class);
    s.client_width = client.right - client.left;
    s.client_height = client.bottom - client.top;
    s.overlays = static_cast<UINT>(renderer.osd.overlay_count.load());
    return s;
}

}  // namespace

}  // namespace noxd

using namespace noxd;

// Any thread: only the request is stored; the GL thread builds the program
// for it before the next picture it draws.
extern "C" HRESULT noxd_set_color_space(NOXD_RENDERER renderer, int matrix, int range) noexcept {
    return Guarded(renderer, [&](CGLRenderer& r) {
        const std::optional<ColorSpaceIndex> space = ColorSpaceOf(matrix, range);
        if (!space) return E_INVALIDARG;
        r.requested_color_space = *space;
        return S_OK;
    });
}

// Any thread: the counts come from under the statistics mutex, the rest from
// words written once at creation or atomically.
extern "C" HRESULT noxd_get_stats(NOXD_RENDERER renderer, NOXD_STATS* stats) noexcept {
    return Guarded(renderer, [&](CGLRenderer& r) {
        if (!stats || stats->size < sizeof(UINT)) return E_INVALIDARG;
        NOXD_STATS all = CollectStats(r);
        all.size = stats->size;
        // Whole fields only, and none past the caller's structure.
        const size_t fields_bytes = std::min<size_t>(stats->size, sizeof all) / sizeof(UINT) * sizeof(UINT);
        std::memcpy(stats, &all, fields_bytes);
        return S_OK;
    });
}

// GL thread only, like noxd_draw_frame.
extern "C" HRESULT noxd_redraw(NOXD_RENDERER renderer) noexcept {
    return Guarded(renderer, [](CGLRenderer& r) { return RedrawLastFrame(r); });
}

// Any thread: the text is rasterised on the calling thread, the GL thread
// draws it in the redraws that find the picture stale.
extern "C" HRESULT noxd_set_stale_timeout(NOXD_RENDERER renderer, int milliseconds,
                                          const wchar_t* text) noexcept {
    return Guarded(renderer, [&](CGLRenderer& r) { return SetStaleView(r, milliseconds, text); });
}
