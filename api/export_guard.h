// The one guard of every noxd export. A null renderer handle gives the
// export's documented result at once; an exception that would leave the
// export gives its failure result instead and one line on the debugger
// output. Nothing throws across the C interface.
#pragma once

#include <cstdio>

#include "cgl_renderer.h"
#include "timing.h"

namespace noxd {

// What an export returns for a null renderer handle, and what it returns
// after an exception stopped it.
template <typename Result>
struct ExportResults {
    Result if_null;
    Result on_exception;
};

// The table, the same as in docs/api.md ("Null handles and exceptions"):
// - HRESULT exports: S_OK for a null handle, E_FAIL after an exception;
constexpr ExportResults<HRESULT> kStatusResults = {S_OK, E_FAIL};
// - noxd_release_renderer and noxd_draw_frame: E_INVALIDARG, E_FAIL;
constexpr ExportResults<HRESULT> kGlThreadResults = {E_INVALIDARG, E_FAIL};
// - the int exports (noxd_clip_mouse, noxd_stop_win_callback and the four
//   zoom calls): 0 and 0;
constexpr ExportResults<int> kIntResults = {0, 0};
// - noxd_get_hwnd: NULL and NULL;
constexpr ExportResults<HWND> kWindowResults = {nullptr, nullptr};
// - the view exports (noxd_set_color_space, noxd_get_stats, noxd_redraw,
//   noxd_set_stale_timeout, noxd_snapshot, noxd_snapshot_to_memory):
//   E_INVALIDARG and E_UNEXPECTED;
constexpr ExportResults<HRESULT> kCheckedResults = {E_INVALIDARG, E_UNEXPECTED};
// - noxd_create_renderer takes no handle: E_INVALIDARG for a null
//   out-pointer; E_FAIL, with NULL stored, after an exception.

// "MYDBG 0x<thread> <export>: stopped by an exception".
inline void ReportExportException(const char* export_name) noexcept {
    char message[128];
    std::snprintf(message, sizeof message, "%s: stopped by an exception", export_name);
    WriteDebugLine(message);
}

// Runs `body`; an exception becomes `on_exception` and one debugger line.
template <typename Result, typename Body>
Result RunGuarded(const char* export_name, Result on_exception, Body body) noexcept {
    try {
        return body();
    } catch (...) {
        ReportExportException(export_name);
        return on_exception;
    }
}

// Runs `body` on the renderer behind a non-null handle, guarded.
template <typename Result, typename Body>
Result GuardedExport(const char* export_name, NOXD_RENDERER renderer,
                     const ExportResults<Result>& results, Body body) noexcept {
    if (!renderer) return results.if_null;
    return RunGuarded(export_name, results.on_exception, [&] { return body(*renderer); });
}

}  // namespace noxd
