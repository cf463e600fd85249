#include "view_controls.h"

#include <cstdio>
#include <string>

#include "view_layout.h"
#include "view_math.h"
#include "win32_owners.h"

namespace viewer {

namespace {

// The callbacks carry no context of the host's: they reach the one view of
// this program through this pointer, set while its renderer calls back.
std::atomic<ViewControls*> active_view{nullptr};

void CALLBACK MouseCallbackEntry(NOXD_RENDERER, UINT message, LPARAM, WPARAM wparam, float x, float y) {
    if (ViewControls* view = active_view.load()) view->OnMouse(message, wparam, x, y);
}

void CALLBACK ButtonCallbackEntry(NOXD_RENDERER, UINT_PTR, UINT message, float, float) {
    if (ViewControls* view = active_view.load()) view->OnButton(message);
}

void SayLine(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

noxd::UniqueBitmap ButtonBitmap(bool zoom_on, bool pressed) {
    const std::vector<uint8_t> pixels = ZoomButtonPixels(zoom_on, pressed);
    return noxd::UniqueBitmap(CreateBitmap(layout::kButtonSize, layout::kButtonSize, 1, 32, pixels.data()));
}

}  // namespace

void ViewControls::Connect(NOXD_RENDERER renderer) {
    renderer_ = renderer;
    active_view = this;
    noxd_set_mouse_callback(renderer_, MouseCallbackEntry);
    ApplyMouseTools();
    ShowButton();
    std::lock_guard<std::mutex> hold(shape_lock_);
    ApplyAspect();
    ApplyOrientation();
}

void ViewControls::Disconnect() {
    if (active_view.load() != this) return;
    noxd_set_mouse_callback(renderer_, nullptr);
    active_view = nullptr;
}

void ViewControls::OnMouse(UINT message, WPARAM wparam, float x, float y) {
    if (verbose_) {
        std::printf("%s\n", MouseLine(message, x, y, wparam).c_str());
        std::fflush(stdout);
    }
    if (!privacy_on_) return;
    // The tool reports the client area on a 0..10000 scale here.
    if (message == WM_LBUTTONDOWN) {
        privacy_pressed_ = true;
        press_x_ = x;
        press_y_ = y;
    } else if (message == WM_LBUTTONUP && privacy_pressed_) {
        privacy_pressed_ = false;
        if (x == press_x_ || y == press_y_) return;
        const Corners mask = PrivacyCorners(press_x_, press_y_, x, y);
        noxd_add_osd_rectangle(renderer_, &privacy_handle_, mask.left, mask.top, mask.right, mask.bottom, 1,
                               kPrivacyColour, 0, 1);
        std::printf("privacy mask: left %.3f top %.3f right %.3f bottom %.3f\n", mask.left, mask.top,
                    mask.right, mask.bottom);
        std::fflush(stdout);
    }
}

// The renderer shows the pressed picture itself while the button is down.
void ViewControls::OnButton(UINT message) {
    if (message == WM_LBUTTONUP) ToggleZoom();
}

void ViewControls::OnKey(WPARAM key) {
    if (key == 'Z') ToggleZoom();
    else if (key == 'P') TogglePrivacyTool();
    else if (key == 'S') snapshot_requested_ = true;
    else if (key == VK_F1) stats_shown_ = !stats_shown_;
    else if (key == 'A') CycleAspect();
    else if (key == 'R') Turn();
    else if (key == 'M') ToggleMirror();
    else if (key == VK_ESCAPE) RequestQuit();
}

void ViewControls::ToggleZoom() {
    zoom_on_ = !zoom_on_;
    ApplyMouseTools();
    ShowButton();
    std::printf("digital zoom %s\n", zoom_on_ ? "on" : "off");
    std::fflush(stdout);
}

void ViewControls::TogglePrivacyTool() {
    privacy_on_ = !privacy_on_;
    privacy_pressed_ = false;
    noxd_set_privacy_mask_flag(renderer_, privacy_on_);
    ApplyMouseTools();
    std::printf("privacy tool %s\n", privacy_on_ ? "on" : "off");
    std::fflush(stdout);
}

void ViewControls::ApplyMouseTools() { noxd_enable_digital_zoom(renderer_, zoom_on_ && !privacy_on_); }

// The button is added again under the same handle variable, which replaces
// the one shown; the renderer copies the images, so they go at once.
void ViewControls::ShowButton() {
    const noxd::UniqueBitmap normal = ButtonBitmap(zoom_on_, false);
    const noxd::UniqueBitmap down = ButtonBitmap(zoom_on_, true);
    const Corners& c = layout::kZoomButton;
    noxd_add_osd_button(renderer_, &button_handle_, ButtonCallbackEntry, normal.get(), down.get(), nullptr,
                        c.left, c.top, c.right, c.bottom, 0, 0, 0);
}

void ViewControls::SetSampleAspect(nox::SampleAspect sample_aspect) {
    std::lock_guard<std::mutex> hold(shape_lock_);
    if (sample_aspect.num == sample_aspect_.num && sample_aspect.den == sample_aspect_.den) return;
    sample_aspect_ = sample_aspect;
    ApplyAspect();
    SayLine(SampleAspectLine(sample_aspect));
}

void ViewControls::CycleAspect() {
    std::lock_guard<std::mutex> hold(shape_lock_);
    shape_.aspect = NextAspectMode(shape_.aspect);
    ApplyAspect();
    SayLine(AspectLine(shape_.aspect));
}

void ViewControls::Turn() {
    std::lock_guard<std::mutex> hold(shape_lock_);
    shape_.degrees = QuarterTurnFrom(shape_.degrees);
    ApplyOrientation();
    SayLine(RotationLine(shape_.degrees));
}

void ViewControls::ToggleMirror() {
    std::lock_guard<std::mutex> hold(shape_lock_);
    shape_.mirror = !shape_.mirror;
    ApplyOrientation();
    SayLine(MirrorLine(shape_.mirror));
}

void ViewControls::ApplyAspect() {
    noxd_set_aspect(renderer_, static_cast<int>(shape_.aspect), static_cast<int>(sample_aspect_.num),
                    static_cast<int>(sample_aspect_.den));
}

void ViewControls::ApplyOrientation() { noxd_set_orientation(renderer_, shape_.degrees, shape_.mirror ? 1 : 0); }

}  // namespace viewer
