// What a view shows beyond its frames: colour space, statistics, redraw, the
// "no video" picture and snapshots. Each one returns E_INVALIDARG for a null
// renderer and E_UNEXPECTED after an exception (kCheckedResults).
#include <algorithm>
#include <cstring>

#include "color_space.h"
#include "export_guard.h"
#include "frame_counts.h"
#include "frame_sequence.h"
#include "image_files.h"
#include "snapshot.h"
#include "stale_view.h"
#include "whole_file.h"

namespace noxd {

namespace {

NOXD_STATS CollectStats(CGLRenderer& renderer) {
    const FrameStatsSummary frames = ReadFrameStats(renderer);
    const FrameGeometry shown = ReportedGeometry(renderer);
    RECT client = {};
    GetClientRect(renderer.window, &client);
    NOXD_STATS s = {};
    s.frames_drawn = frames.frames_drawn;
    s.frames_last_second = frames.frames_last_second;
    s.average_draw_us = frames.average_draw_us;
    s.worst_draw_us = frames.worst_draw_us;
    s.ms_since_last_frame = frames.ms_since_last_frame;
    s.frame_width = shown.width;
    s.frame_height = shown.height;
    s.format = FormatCodeOf(shown.cls);
    s.client_width = client.right - client.left;
    s.client_height = client.bottom - client.top;
    s.overlays = static_cast<UINT>(renderer.osd.Count());
    s.path = static_cast<UINT>(renderer.picture_path);
    return s;
}

}  // namespace

}  // namespace noxd

using namespace noxd;

// Any thread: only the request is stored; the GL thread builds the program
// for it before the next picture it draws.
extern "C" HRESULT noxd_set_color_space(NOXD_RENDERER renderer, int matrix, int range) noexcept {
    return GuardedExport(__func__, renderer, kCheckedResults, [&](CGLRenderer& r) {
        const std::optional<ColorSpaceIndex> space = ColorSpaceOf(matrix, range);
        if (!space) return E_INVALIDARG;
        r.requested_color_space = *space;
        return S_OK;
    });
}

// Any thread: stored under the lock; the next picture drawn is shaped by it.
extern "C" HRESULT noxd_set_aspect(NOXD_RENDERER renderer, int mode, int sar_num, int sar_den) noexcept {
    return GuardedExport(__func__, renderer, kCheckedResults, [&](CGLRenderer& r) {
        const std::optional<AspectMode> aspect = AspectModeOf(mode);
        if (!aspect || sar_num < 0 || sar_den < 0) return E_INVALIDARG;
        ScopedRendererLock hold(r.lock);
        r.aspect_mode = *aspect;
        r.sample_aspect = {static_cast<uint32_t>(sar_num), static_cast<uint32_t>(sar_den)};
        return S_OK;
    });
}

// Any thread, as noxd_set_aspect.
extern "C" HRESULT noxd_set_orientation(NOXD_RENDERER renderer, int degrees, int mirror) noexcept {
    return GuardedExport(__func__, renderer, kCheckedResults, [&](CGLRenderer& r) {
        const std::optional<Orientation> orientation = OrientationOf(degrees, mirror);
        if (!orientation) return E_INVALIDARG;
        ScopedRendererLock hold(r.lock);
        r.orientation = *orientation;
        return S_OK;
    });
}

// Any thread: the counts come from under the statistics mutex, the rest from
// words written once at creation or atomically.
extern "C" HRESULT noxd_get_stats(NOXD_RENDERER renderer, NOXD_STATS* stats) noexcept {
    return GuardedExport(__func__, renderer, kCheckedResults, [&](CGLRenderer& r) {
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
    return GuardedExport(__func__, renderer, kCheckedResults,
                         [](CGLRenderer& r) { return RedrawView(r); });
}

// Any thread: the text is rasterised on the calling thread, the GL thread
// draws it in the redraws that find the picture stale.
extern "C" HRESULT noxd_set_stale_timeout(NOXD_RENDERER renderer, int milliseconds,
                                          const wchar_t* text) noexcept {
    return GuardedExport(__func__, renderer, kCheckedResults,
                         [&](CGLRenderer& r) { return SetStaleView(r, milliseconds, text); });
}

// GL thread only: the snapshot is drawn with the renderer's context; the
// file is encoded and written after the renderer lock is given back.
extern "C" HRESULT noxd_snapshot(NOXD_RENDERER renderer, const wchar_t* path, int what) noexcept {
    return GuardedExport(__func__, renderer, kCheckedResults, [&](CGLRenderer& r) {
        if (!path || !*path || !IsSnapshotKind(what)) return E_INVALIDARG;
        Picture picture;
        const HRESULT taken = TakeSnapshot(r, what, picture);
        if (taken != S_OK) return taken;
        const std::wstring name(path);
        const std::vector<uint8_t> bytes = NamesPngFile(name) ? EncodePng(picture) : EncodeBmp(picture);
        if (bytes.empty()) return E_FAIL;
        return WriteWholeFile(name, bytes);
    });
}

// GL thread only, except the size query, which any thread may make.
extern "C" HRESULT noxd_snapshot_to_memory(NOXD_RENDERER renderer, int what, void* buffer,
                                           UINT buffer_bytes, int* width, int* height) noexcept {
    return GuardedExport(__func__, renderer, kCheckedResults, [&](CGLRenderer& r) {
        if (!width || !height || !IsSnapshotKind(what)) return E_INVALIDARG;
        if (!buffer) {
            int32_t w = 0, h = 0;
            SnapshotSize(r, what, w, h);
            *width = w;
            *height = h;
            return S_OK;
        }
        Picture picture;
        const HRESULT taken = TakeSnapshot(r, what, picture);
        if (taken != S_OK) return taken;
        *width = picture.width;
        *height = picture.height;
        const size_t bytes = picture.pixels.size() * sizeof(uint32_t);
        if (buffer_bytes < bytes) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
        std::memcpy(buffer, picture.pixels.data(), bytes);
        return S_OK;
    });
}
