#include "view_overlays.h"

#include <cstdio>

#include "view_layout.h"
#include "view_math.h"
#include "win32_owners.h"
#include "win_text.h"

namespace viewer {

namespace {

constexpr wchar_t kFace[] = L"Arial";
constexpr int kWeight = FW_BOLD;

// The text's extent in the font the renderer will draw it with.
SIZE TextExtent(const std::wstring& text, int font_height) {
    SIZE extent = {0, 0};
    const noxd::ScreenDc screen;
    const noxd::UniqueFont font(CreateFontW(font_height, 0, 0, 0, kWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                            OUT_CHARACTER_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                            DEFAULT_PITCH | FF_DONTCARE, kFace));
    if (!screen.get() || !font) return extent;
    const noxd::SelectedObject in_dc(screen.get(), font.get());
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

}  // namespace

HRESULT StaticOverlays::AddText(UINT_PTR* handle, const std::wstring& text, float left, float top,
                                int font_height, unsigned colour) {
    const SIZE extent = TextExtent(text, font_height);
    const Corners c = NaturalTextCorners(left, top, extent.cx, extent.cy);
    return noxd_add_osd_text(renderer_, handle, text.c_str(), font_height, kFace, kWeight, c.left, c.top,
                             c.right, c.bottom, 1, colour, kCaptionBackground, kCaptionOutline, 1);
}

bool StaticOverlays::AddLogoAndDot(const std::wstring& logo_path) {
    const Corners& l = layout::kLogo;
    const HRESULT logo = noxd_add_osd_bitmap_file(renderer_, &logo_handle_, logo_path.c_str(), l.left, l.top,
                                                  l.right, l.bottom, 0, 0, 0);
    noxd_add_osd_circle(renderer_, &dot_handle_, layout::kRecX, layout::kRecY, layout::kRecRadius, 1,
                        kRecColour, 0, 1);
    AddText(&dot_label_handle_, L"REC", layout::kRecLabelLeft, layout::kRecLabelTop,
            layout::kCaptionFontHeight, kRecColour);
    if (logo != S_OK) {
        std::printf("cannot show the logo %s: 0x%08lX\n", Narrow(logo_path).c_str(),
                    static_cast<unsigned long>(logo));
        return false;
    }
    return true;
}

void StaticOverlays::UpdateCaption(const SYSTEMTIME& now) {
    if (now.wSecond == shown_second_) return;
    shown_second_ = now.wSecond;
    const ClockTime t = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    AddText(&caption_handle_, Widen(CaptionText(camera_name_, t)), layout::kCaptionLeft, layout::kCaptionTop,
            layout::kCaptionFontHeight, kCaptionTextColour);
}

void StaticOverlays::UpdateStats(const NOXD_STATS* stats, const SYSTEMTIME& now) {
    if (!stats) {
        if (stats_handle_) noxd_delete_osd(renderer_, &stats_handle_);
        stats_second_ = -1;
        return;
    }
    if (now.wSecond == stats_second_) return;
    stats_second_ = now.wSecond;
    const std::string line = StatsText(stats->frames_last_second, stats->average_draw_us,
                                       stats->worst_draw_us, stats->frames_drawn);
    AddText(&stats_handle_, Widen(line), layout::kCaptionLeft, layout::kStatsTop, layout::kStatsFontHeight,
            kCaptionTextColour);
}

}  // namespace viewer
