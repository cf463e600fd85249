// The noxd functions the benchmarks call, as a table: the noxd.dll the bench
// is linked against, or another build of it loaded from a file, so that two
// builds can take turns in one process.
#pragma once

#include <string>

#include "noxd.h"

namespace bench {

struct NoxdApi {
    decltype(&noxd_create_renderer) create_renderer;
    decltype(&noxd_release_renderer) release_renderer;
    decltype(&noxd_get_hwnd) get_hwnd;
    decltype(&noxd_draw_frame) draw_frame;
    decltype(&noxd_redraw) redraw;
    decltype(&noxd_add_osd_rectangle) add_osd_rectangle;
    decltype(&noxd_add_osd_circle) add_osd_circle;
    decltype(&noxd_add_osd_circle2) add_osd_circle2;
    decltype(&noxd_add_osd_line) add_osd_line;
    decltype(&noxd_add_osd_bitmap_data32) add_osd_bitmap_data32;
    decltype(&noxd_add_osd_text) add_osd_text;
};

// The noxd.dll this program is linked against.
const NoxdApi& LinkedNoxd();

// Another build of noxd.dll, loaded from `path` (under a name of its own, so
// it does not alias the linked one) and kept for the life of the process;
// false with `problem` set when it cannot be loaded or lacks a function.
bool LoadOtherNoxd(const std::wstring& path, NoxdApi& api, std::string& problem);

}  // namespace bench
