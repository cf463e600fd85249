// Every export of noxd.dll called by a host through the header's prototypes,
// and both callbacks called back, checked by their arguments and by pixels.
// In the 32-bit build this is the calling-convention check: cdecl exports
// taking floats on the stack, CALLBACK (__stdcall) functions called from
// the DLL, and names exported undecorated.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "osd_view.h"

using namespace noxd_osd_test;
using noxd_test::mouse_calls;
using noxd_test::RecordMouseCall;
using noxd_test::SendMouse;

namespace {

struct ButtonCall {
    NOXD_RENDERER renderer;
    UINT_PTR button;
    UINT message;
    float x, y;
};
std::vector<ButtonCall> button_calls;
void CALLBACK OnButton(NOXD_RENDERER r, UINT_PTR button, UINT message, float x, float y) {
    button_calls.push_back({r, button, message, x, y});
}

// Every name the header declares, as the DLL must export it.
const char* const kExportNames[] = {
    "noxd_create_renderer",        "noxd_release_renderer",     "noxd_get_hwnd",
    "noxd_draw_frame",             "noxd_draw_planes",          "noxd_set_video_pos",        "noxd_set_mouse_callback",
    "noxd_clip_mouse",             "noxd_stop_win_callback",    "noxd_enable_digital_zoom",
    "noxd_set_zoom_rect",          "noxd_enable_digital_zoom_static", "noxd_digital_zoom_static",
    "noxd_show_drag_rect",         "noxd_set_privacy_mask_flag", "noxd_start_motion_edit",
    "noxd_add_osd_rectangle",      "noxd_add_osd_circle",       "noxd_add_osd_circle2",
    "noxd_add_osd_triangle",       "noxd_add_osd_line",         "noxd_add_osd_point",
    "noxd_add_osd_bitmap_file",    "noxd_add_osd_bitmap_data32", "noxd_add_osd_bitmap_handle",
    "noxd_add_osd_button",         "noxd_add_osd_text",         "noxd_delete_osd",
    "noxd_clear_osd",              "noxd_set_dash_mask",        "noxd_set_color_space",
    "noxd_get_stats",              "noxd_redraw",               "noxd_set_stale_timeout",
    "noxd_snapshot",               "noxd_snapshot_to_memory",   "noxd_set_aspect",
    "noxd_set_orientation",        "noxd_get_tool_rect",        "noxd_set_fallback",
};

// The loader finds each under its plain name, as a host using
// GetProcAddress asks for it (no _name@N decoration in 32-bit).
TEST(ExportsTest, EveryHeaderFunctionIsExportedUnderItsPlainName) {
    const HMODULE dll = GetModuleHandleW(L"noxd.dll");
    ASSERT_NE(dll, nullptr);
    for (const char* name : kExportNames) EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
}

// The fallback switch takes no renderer; where GL has shader programs a view
// takes them whatever it says.
TEST(ExportsTest, FallbackSwitchLeavesAGlWithShadersAlone) {
    EXPECT_EQ(noxd_set_fallback(2), E_INVALIDARG);
    ASSERT_EQ(noxd_set_fallback(NOXD_FALLBACK_CPU), S_OK);
    {
        OsdView v(64, 48);
        ASSERT_EQ(v.status(), S_OK);
        EXPECT_EQ(noxd_test::StatsOf(v.get()).path, static_cast<UINT>(NOXD_PATH_SHADERS));
        EXPECT_TRUE(Shows(v.Draw(), 32, 24, kGrey));
    }
    EXPECT_EQ(noxd_set_fallback(NOXD_FALLBACK_OFF), S_OK);
}

// A 2x2 24-bit bitmap file, bottom row first, all pixels blue.
std::wstring WriteBlueBitmapFile() {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("noxd_exports_" + std::to_string(GetCurrentProcessId()) + ".bmp");
    const int row = 8;  // 2 pixels of 3 bytes, padded to 4
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + 2 * row;
    info.biSize = sizeof info;
    info.biWidth = 2;
    info.biHeight = 2;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = 2 * row;
    std::vector<uint8_t> bytes(file.bfSize, 0);
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) bytes[file.bfOffBits + y * row + x * 3] = 255;
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (out) {
        fwrite(bytes.data(), 1, bytes.size(), out);
        fclose(out);
    }
    return path.wstring();
}

// One renderer through every call a host makes, in the order a host would;
// each result is the documented one, shapes land where their float
// coordinates say and the callbacks get their arguments in their order.
TEST(ExportsTest, AHostCallsEveryExportAndGetsBothCallbacks) {
    mouse_calls.clear();
    button_calls.clear();
    OsdView v(320, 240);
    ASSERT_EQ(v.status(), S_OK);
    NOXD_RENDERER r = v.get();
    const HWND window = noxd_get_hwnd(r);
    ASSERT_NE(window, nullptr);

    // Video and mouse.
    EXPECT_EQ(noxd_set_video_pos(r, 0.0f, 1.0f, 1.0f, 0.0f), S_OK);
    EXPECT_EQ(noxd_set_mouse_callback(r, RecordMouseCall), S_OK);
    SendMouse(window, WM_MOUSEMOVE, 80, 180, MK_SHIFT);
    ASSERT_EQ(mouse_calls.size(), 1u);
    EXPECT_EQ(mouse_calls[0].renderer, r);
    EXPECT_EQ(mouse_calls[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(mouse_calls[0].lparam, MAKELPARAM(80, 180));
    EXPECT_EQ(mouse_calls[0].wparam, static_cast<WPARAM>(MK_SHIFT));
    EXPECT_FLOAT_EQ(mouse_calls[0].x, 0.25f);
    EXPECT_FLOAT_EQ(mouse_calls[0].y, 0.25f);
    EXPECT_EQ(noxd_clip_mouse(r, TRUE), 1);
    EXPECT_EQ(noxd_clip_mouse(r, FALSE), 1);
    EXPECT_EQ(noxd_stop_win_callback(r, 7), 1);

    // Zoom and editing switches, each on and off again.
    EXPECT_EQ(noxd_enable_digital_zoom(r, TRUE), 0);
    EXPECT_EQ(noxd_set_zoom_rect(r, 0.0f, 1.0f, 1.0f, 0.0f), 0);
    EXPECT_EQ(noxd_enable_digital_zoom(r, FALSE), 0);
    EXPECT_EQ(noxd_digital_zoom_static(r, 0.0f, 1.0f, 1.0f, 0.0f), 1);
    EXPECT_EQ(noxd_enable_digital_zoom_static(r, 1), 1);
    EXPECT_EQ(noxd_enable_digital_zoom_static(r, 0), 1);
    EXPECT_EQ(noxd_show_drag_rect(r, TRUE), S_OK);
    EXPECT_EQ(noxd_show_drag_rect(r, FALSE), S_OK);
    EXPECT_EQ(noxd_set_privacy_mask_flag(r, TRUE), S_OK);
    EXPECT_EQ(noxd_set_privacy_mask_flag(r, FALSE), S_OK);
    EXPECT_EQ(noxd_start_motion_edit(r, TRUE), S_OK);
    EXPECT_EQ(noxd_start_motion_edit(r, FALSE), S_OK);
    EXPECT_EQ(noxd_set_mouse_callback(r, nullptr), S_OK);

    // Every kind of overlay, each in a quarter of its own.
    EXPECT_EQ(noxd_set_dash_mask(r, 0xFFFF), S_OK);
    UINT_PTR rect = 0, circle = 0, ellipse = 0, triangle = 0, line = 0, point = 0;
    UINT_PTR file = 0, data = 0, handle = 0, button = 0, text = 0;
    EXPECT_EQ(noxd_add_osd_rectangle(r, &rect, 0.0f, 1.0f, 0.25f, 0.75f, 1, kOsdRed, 0, 1), S_OK);
    EXPECT_EQ(noxd_add_osd_circle(r, &circle, 0.375f, 0.875f, 0.1f, 1, kOsdGreen, 0, 1), S_OK);
    EXPECT_EQ(noxd_add_osd_circle2(r, &ellipse, 0.625f, 0.875f, 20.0f, 10.0f, 0, 2, kOsdBlue, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_triangle(r, &triangle, 0.75f, 0.75f, 1.0f, 0.75f, 0.875f, 1.0f, 1, kOsdBlue, 0, 1),
              S_OK);
    EXPECT_EQ(noxd_add_osd_line(r, &line, 0.0f, 0.625f, 1.0f, 0.625f, 5, kOsdGreen, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_point(r, &point, 0.5f, 0.5f, 9, kOsdRed), S_OK);
    const std::wstring bmp = WriteBlueBitmapFile();
    EXPECT_EQ(noxd_add_osd_bitmap_file(r, &file, bmp.c_str(), 0.0f, 0.25f, 0.25f, 0.0f, 0, 0, 0), S_OK);
    const std::vector<uint32_t> green(4, 0xFF00FF00);
    EXPECT_EQ(noxd_add_osd_bitmap_data32(r, &data, green.data(), 2, 2, 0.25f, 0.25f, 0.5f, 0.0f, 0, 0, 0), S_OK);
    HBITMAP red = Bitmap32(2, 2, {0x00FF0000, 0x00FF0000, 0x00FF0000, 0x00FF0000});
    EXPECT_EQ(noxd_add_osd_bitmap_handle(r, &handle, red, 0.5f, 0.25f, 0.75f, 0.0f, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_button(r, &button, OnButton, red, red, red, 0.75f, 0.25f, 1.0f, 0.0f, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_text(r, &text, L"noxd", 16, L"Arial", FW_BOLD, 0.3f, 0.45f, 0.7f, 0.3f, 0,
                                0xFFFFFFFF, 0, 0xFF000000, 1),
              S_OK);
    DeleteObject(red);
    for (UINT_PTR h : {rect, circle, ellipse, triangle, line, point, file, data, handle, button, text})
        EXPECT_NE(h, 0u);

    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 40, 30, kRed));     // rectangle, top-left quarter of the top band
    EXPECT_TRUE(Shows(shot, 120, 30, kGreen));  // filled circle's centre
    EXPECT_TRUE(Shows(shot, 280, 50, kBlue));   // triangle
    EXPECT_TRUE(Shows(shot, 40, 90, kGreen));   // line across at y 0.625
    EXPECT_TRUE(Shows(shot, 160, 120, kRed));   // point in the middle
    EXPECT_TRUE(Shows(shot, 40, 210, kBlue));   // bitmap file
    EXPECT_TRUE(Shows(shot, 120, 210, kGreen)); // raw pixels
    EXPECT_TRUE(Shows(shot, 200, 210, kRed));   // bitmap handle
    EXPECT_TRUE(Shows(shot, 280, 210, kRed));   // button
    EXPECT_TRUE(Shows(shot, 200, 100, kGrey));  // nothing there

    // The button calls back with its handle and the pointer.
    SendMouse(window, WM_LBUTTONDOWN, 280, 210);
    SendMouse(window, WM_LBUTTONUP, 280, 210);
    ASSERT_EQ(button_calls.size(), 2u);
    EXPECT_EQ(button_calls[0].renderer, r);
    EXPECT_EQ(button_calls[0].button, button);
    EXPECT_EQ(button_calls[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_FLOAT_EQ(button_calls[0].x, 0.875f);
    EXPECT_FLOAT_EQ(button_calls[0].y, 0.125f);
    EXPECT_EQ(button_calls[1].message, static_cast<UINT>(WM_LBUTTONUP));

    EXPECT_EQ(noxd_delete_osd(r, &point), S_OK);
    EXPECT_EQ(point, 0u);
    EXPECT_EQ(noxd_clear_osd(r), S_OK);
    EXPECT_TRUE(Shows(v.Draw(), 40, 30, kGrey));
    _wremove(bmp.c_str());
}

// A NULL renderer gives each export the result of the table in docs/api.md
// and changes nothing; an out-pointer given to creation is not needed for it.
TEST(ExportsTest, NullRendererGivesEachExportsDocumentedResult) {
    const NOXD_RENDERER n = nullptr;
    UINT_PTR h = 0;
    const uint32_t pixel = 0;
    NOXD_STATS stats = {};
    stats.size = sizeof stats;
    int w = 0, ht = 0;
    EXPECT_EQ(noxd_create_renderer(nullptr, L"", 8, 8, NOXD_FORMAT_BGR24, 8, 8, nullptr), E_INVALIDARG);
    EXPECT_EQ(noxd_release_renderer(n), E_INVALIDARG);
    EXPECT_EQ(noxd_get_hwnd(n), nullptr);
    EXPECT_EQ(noxd_draw_frame(n, &pixel), E_INVALIDARG);
    const NOXD_PLANES planes = {sizeof planes, NOXD_FORMAT_BGR32, 1, 1, {&pixel}, {4}};
    EXPECT_EQ(noxd_draw_planes(n, &planes), E_INVALIDARG);
    EXPECT_EQ(noxd_set_video_pos(n, 0, 1, 1, 0), S_OK);
    EXPECT_EQ(noxd_set_mouse_callback(n, RecordMouseCall), S_OK);
    EXPECT_EQ(noxd_clip_mouse(n, TRUE), 0);
    EXPECT_EQ(noxd_stop_win_callback(n, 1), 0);
    EXPECT_EQ(noxd_enable_digital_zoom(n, TRUE), 0);
    EXPECT_EQ(noxd_set_zoom_rect(n, 0, 1, 1, 0), 0);
    EXPECT_EQ(noxd_enable_digital_zoom_static(n, 1), 0);
    EXPECT_EQ(noxd_digital_zoom_static(n, 0, 1, 1, 0), 0);
    EXPECT_EQ(noxd_show_drag_rect(n, TRUE), S_OK);
    EXPECT_EQ(noxd_set_privacy_mask_flag(n, TRUE), S_OK);
    EXPECT_EQ(noxd_start_motion_edit(n, TRUE), S_OK);
    EXPECT_EQ(noxd_add_osd_rectangle(n, &h, 0, 1, 1, 0, 1, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_circle(n, &h, 0.5f, 0.5f, 0.1f, 1, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_circle2(n, &h, 0.5f, 0.5f, 4, 2, 0, 1, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_triangle(n, &h, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_line(n, &h, 0, 0, 1, 1, 1, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_point(n, &h, 0.5f, 0.5f, 3, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_bitmap_file(n, &h, L"none.bmp", 0, 1, 1, 0, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_bitmap_data32(n, &h, &pixel, 1, 1, 0, 1, 1, 0, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_bitmap_handle(n, &h, nullptr, 0, 1, 1, 0, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_button(n, &h, OnButton, nullptr, nullptr, nullptr, 0, 1, 1, 0, 0, 0, 0),
              S_OK);
    EXPECT_EQ(noxd_add_osd_text(n, &h, L"t", 12, nullptr, 400, 0, 1, 1, 0, 0, 0, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_delete_osd(n, &h), S_OK);
    EXPECT_EQ(noxd_clear_osd(n), S_OK);
    EXPECT_EQ(noxd_set_dash_mask(n, 0xFF00), S_OK);
    EXPECT_EQ(noxd_set_color_space(n, NOXD_COLOR_BT709, NOXD_RANGE_FULL), E_INVALIDARG);
    EXPECT_EQ(noxd_set_aspect(n, NOXD_ASPECT_FIT, 12, 11), E_INVALIDARG);
    EXPECT_EQ(noxd_set_orientation(n, 90, 1), E_INVALIDARG);
    float tool_rect[4] = {};
    EXPECT_EQ(noxd_get_tool_rect(n, NOXD_TOOL_PRIVACY, tool_rect), E_INVALIDARG);
    EXPECT_EQ(noxd_get_stats(n, &stats), E_INVALIDARG);
    EXPECT_EQ(noxd_redraw(n), E_INVALIDARG);
    EXPECT_EQ(noxd_set_stale_timeout(n, 100, L"no video"), E_INVALIDARG);
    EXPECT_EQ(noxd_snapshot(n, L"none.bmp", 0), E_INVALIDARG);
    EXPECT_EQ(noxd_snapshot_to_memory(n, 0, nullptr, 0, &w, &ht), E_INVALIDARG);
    EXPECT_EQ(h, 0u);
    EXPECT_EQ(stats.frames_drawn, 0u);
}

// Creation and release straight through the header, with a frame drawn.
TEST(ExportsTest, CreateDrawRelease) {
    NOXD_RENDERER r = nullptr;
    ASSERT_EQ(noxd_create_renderer(nullptr, L"exports", 64, 48, NOXD_FORMAT_BGR24, 8, 8, &r), S_OK);
    ASSERT_NE(r, nullptr);
    const std::vector<uint8_t> frame(8 * 8 * 3, 0x40);
    EXPECT_EQ(noxd_draw_frame(r, frame.data()), S_OK);
    EXPECT_EQ(noxd_release_renderer(r), S_OK);
}

}  // namespace
