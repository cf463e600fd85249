// The overlay exports. Every add builds its object on the calling thread
// without the lock and hands it to the overlay list; a null renderer returns
// 0 and does nothing, a null handle variable E_INVALIDARG.
#include "export_guard.h"
#include "osd_button.h"
#include "osd_geometry.h"
#include "osd_image.h"
#include "osd_text.h"

using namespace noxd;

namespace {

bool IsSet(UINT flag) { return (flag & 0xFF) != 0; }
uint8_t LowByte(UINT value) { return static_cast<uint8_t>(value & 0xFF); }

template <typename T, typename... Args>
HRESULT AddNew(const char* export_name, NOXD_RENDERER renderer, UINT_PTR* handle_variable,
               Args&&... args) noexcept {
    return GuardedExport(export_name, renderer, kStatusResults, [&](CGLRenderer& r) {
        if (!handle_variable) return E_INVALIDARG;
        return r.osd.Add(handle_variable, NewOsdObject<T>(&r, std::forward<Args>(args)...));
    });
}

}  // namespace

extern "C" HRESULT noxd_add_osd_rectangle(NOXD_RENDERER renderer, UINT_PTR* handle_variable,
                                          float x0, float y0, float x1, float y1, UINT line_width,
                                          UINT color, UINT dashed, UINT filled) noexcept {
    return AddNew<COsdRectangle>(__func__, renderer, handle_variable, x0, y0, x1, y1, IsSet(filled),
                                 color, line_width, IsSet(dashed));
}

extern "C" HRESULT noxd_add_osd_circle(NOXD_RENDERER renderer, UINT_PTR* handle_variable, float cx,
                                       float cy, float radius, UINT line_width, UINT color,
                                       UINT /*unused*/, UINT filled) noexcept {
    return AddNew<COsdEllipse>(__func__, renderer, handle_variable, cx, cy,
                               static_cast<double>(radius), IsSet(filled), color, line_width);
}

extern "C" HRESULT noxd_add_osd_circle2(NOXD_RENDERER renderer, UINT_PTR* handle_variable, float cx,
                                        float cy, float radius_x, float radius_y, UINT rotation,
                                        UINT line_width, UINT color, UINT /*unused*/,
                                        UINT filled) noexcept {
    return AddNew<COsdEllipse2>(__func__, renderer, handle_variable, cx, cy,
                                static_cast<double>(radius_x), static_cast<double>(radius_y),
                                rotation, IsSet(filled), color, line_width);
}

extern "C" HRESULT noxd_add_osd_triangle(NOXD_RENDERER renderer, UINT_PTR* handle_variable,
                                         float x0, float y0, float x1, float y1, float x2, float y2,
                                         UINT line_width, UINT color, UINT dashed,
                                         UINT filled) noexcept {
    const float vertices[6] = {x0, y0, x1, y1, x2, y2};
    return AddNew<COsdTriangle>(__func__, renderer, handle_variable, vertices, IsSet(filled), color,
                                line_width, IsSet(dashed));
}

extern "C" HRESULT noxd_add_osd_line(NOXD_RENDERER renderer, UINT_PTR* handle_variable, float x0,
                                     float y0, float x1, float y1, UINT line_width, UINT color,
                                     UINT dashed) noexcept {
    return AddNew<COsdLine>(__func__, renderer, handle_variable, x0, y0, x1, y1, color, line_width,
                            IsSet(dashed));
}

extern "C" HRESULT noxd_add_osd_point(NOXD_RENDERER renderer, UINT_PTR* handle_variable, float x,
                                      float y, UINT point_size, UINT color) noexcept {
    return AddNew<COsdPoint>(__func__, renderer, handle_variable, x, y, color, point_size);
}

// A bitmap built and then loaded by `load`, which sets its status.
template <typename Load>
HRESULT AddBitmap(const char* export_name, NOXD_RENDERER renderer, UINT_PTR* handle_variable,
                  const ImageCorners& corners, int anchor, UINT key_color, UINT key_alpha,
                  Load load) noexcept {
    return GuardedExport(export_name, renderer, kStatusResults, [&](CGLRenderer& r) {
        if (!handle_variable) return E_INVALIDARG;
        auto* bitmap = NewOsdObject<COsdBitmap>(&r, corners, anchor, key_color, LowByte(key_alpha));
        if (bitmap) load(*bitmap);
        return r.osd.Add(handle_variable, bitmap);
    });
}

extern "C" HRESULT noxd_add_osd_bitmap_file(NOXD_RENDERER renderer, UINT_PTR* handle_variable,
                                            const wchar_t* path, float x0, float y0, float x1,
                                            float y1, int anchor, UINT key_color,
                                            UINT key_alpha) noexcept {
    return AddBitmap(__func__, renderer, handle_variable, {x0, y0, x1, y1}, anchor, key_color,
                     key_alpha, [&](COsdBitmap& b) { b.LoadFile(path); });
}

extern "C" HRESULT noxd_add_osd_bitmap_data32(NOXD_RENDERER renderer, UINT_PTR* handle_variable,
                                              const void* data, int width, int height, float x0,
                                              float y0, float x1, float y1, int anchor,
                                              UINT key_color, UINT key_alpha) noexcept {
    return AddBitmap(__func__, renderer, handle_variable, {x0, y0, x1, y1}, anchor, key_color,
                     key_alpha, [&](COsdBitmap& b) { b.LoadData32(data, width, height); });
}

extern "C" HRESULT noxd_add_osd_bitmap_handle(NOXD_RENDERER renderer, UINT_PTR* handle_variable,
                                              HBITMAP bitmap, float x0, float y0, float x1,
                                              float y1, int anchor, UINT key_color,
                                              UINT key_alpha) noexcept {
    return AddBitmap(__func__, renderer, handle_variable, {x0, y0, x1, y1}, anchor, key_color,
                     key_alpha, [&](COsdBitmap& b) { b.LoadHandle(bitmap); });
}

extern "C" HRESULT noxd_add_osd_button(NOXD_RENDERER renderer, UINT_PTR* handle_variable,
                                       OsdButtonCallback callback, HBITMAP normal, HBITMAP pressed,
                                       HBITMAP hover, float x0, float y0, float x1, float y1,
                                       int anchor, UINT key_color, UINT key_alpha) noexcept {
    return AddNew<COsdButton>(__func__, renderer, handle_variable, callback, normal, pressed, hover,
                              ImageCorners{x0, y0, x1, y1}, anchor, key_color, LowByte(key_alpha));
}

extern "C" HRESULT noxd_add_osd_text(NOXD_RENDERER renderer, UINT_PTR* handle_variable,
                                     const wchar_t* text, int font_height, const wchar_t* face_name,
                                     int weight, float x0, float y0, float x1, float y1, int anchor,
                                     UINT text_color, UINT background_color, UINT outline_color,
                                     UINT outline_width) noexcept {
    const TextStyle style = {
        font_height,           face_name, weight, text_color, background_color, outline_color,
        LowByte(outline_width)};
    return AddNew<COsdText>(__func__, renderer, handle_variable, text, style,
                            ImageCorners{x0, y0, x1, y1}, anchor);
}

extern "C" HRESULT noxd_delete_osd(NOXD_RENDERER renderer, UINT_PTR* handle_variable) noexcept {
    return GuardedExport(__func__, renderer, kStatusResults,
                         [&](CGLRenderer& r) { return r.osd.Delete(handle_variable); });
}

extern "C" HRESULT noxd_clear_osd(NOXD_RENDERER renderer) noexcept {
    return GuardedExport(__func__, renderer, kStatusResults,
                         [](CGLRenderer& r) { return r.osd.Clear(); });
}

extern "C" HRESULT noxd_set_dash_mask(NOXD_RENDERER renderer, UINT pattern) noexcept {
    return GuardedExport(__func__, renderer, kStatusResults, [&](CGLRenderer& r) {
        r.osd.SetDashMask(static_cast<uint16_t>(pattern & 0xFFFF));
        return S_OK;
    });
}
