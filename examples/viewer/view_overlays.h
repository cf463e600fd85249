// The overlays the viewer keeps up itself on the main thread: the caption
// (camera name and clock, renewed every second), the logo and the
// recording dot. The overlays the user changes are the controls'.
#pragma once

#include <windows.h>

#include <string>

#include "noxd.h"

namespace viewer {

class StaticOverlays {
public:
    StaticOverlays(NOXD_RENDERER renderer, std::string camera_name)
        : renderer_(renderer), camera_name_(std::move(camera_name)) {}

    // Logo and recording dot; false with a message when the logo cannot be shown.
    bool AddLogoAndDot(const std::wstring& logo_path);
    // Renews the caption when the second has changed since the last call.
    void UpdateCaption(const SYSTEMTIME& now);
    // Shows the statistics line under the caption, renewed when the second
    // has changed; null takes it away.
    void UpdateStats(const NOXD_STATS* stats, const SYSTEMTIME& now);

private:
    HRESULT AddText(UINT_PTR* handle, const std::wstring& text, float left, float top, int font_height,
                    unsigned colour);

    NOXD_RENDERER renderer_;
    std::string camera_name_;
    UINT_PTR caption_handle_ = 0;  // the same variable for every renewal: each replaces the last
    UINT_PTR logo_handle_ = 0;
    UINT_PTR dot_handle_ = 0;
    UINT_PTR dot_label_handle_ = 0;
    int shown_second_ = -1;
    UINT_PTR stats_handle_ = 0;
    int stats_second_ = -1;  // -1 while the line is not shown
};

}  // namespace viewer
