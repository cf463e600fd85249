#include "noxd_api.h"

#include "bench_stats.h"

namespace bench {

const NoxdApi& LinkedNoxd() {
    static const NoxdApi api = {noxd_create_renderer,   noxd_release_renderer,  noxd_get_hwnd,
                                noxd_draw_frame,        noxd_redraw,            noxd_add_osd_rectangle,
                                noxd_add_osd_circle,    noxd_add_osd_circle2,   noxd_add_osd_line,
                                noxd_add_osd_bitmap_data32, noxd_add_osd_text};
    return api;
}

namespace {

template <typename Function>
bool Find(HMODULE module, const char* name, Function& function, std::string& problem) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (!function) problem = Format("%s is missing", name);
    return function != nullptr;
}

}  // namespace

bool LoadOtherNoxd(const std::wstring& path, NoxdApi& api, std::string& problem) {
    // Deliberately never freed: renderers of it may live until the process ends.
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module) {
        problem = Format("cannot load it (error %lu)", GetLastError());
        return false;
    }
    return Find(module, "noxd_create_renderer", api.create_renderer, problem) &&
           Find(module, "noxd_release_renderer", api.release_renderer, problem) &&
           Find(module, "noxd_get_hwnd", api.get_hwnd, problem) &&
           Find(module, "noxd_draw_frame", api.draw_frame, problem) &&
           Find(module, "noxd_redraw", api.redraw, problem) &&
           Find(module, "noxd_add_osd_rectangle", api.add_osd_rectangle, problem) &&
           Find(module, "noxd_add_osd_circle", api.add_osd_circle, problem) &&
           Find(module, "noxd_add_osd_circle2", api.add_osd_circle2, problem) &&
           Find(module, "noxd_add_osd_line", api.add_osd_line, problem) &&
           Find(module, "noxd_add_osd_bitmap_data32", api.add_osd_bitmap_data32, problem) &&
           Find(module, "noxd_add_osd_text", api.add_osd_text, problem);
}

}  // namespace bench
