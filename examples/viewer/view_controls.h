// What the user does with the view: the mouse callback (verbose lines, the
// privacy-mask gesture), the zoom button, the keys, and the overlays those
// change.
//
// Threads: made and connected on the main thread; once the renderer's
// callbacks point at it, every method but quit_requested() runs on the window's
// thread (the renderer's own thread for its own window, the main thread for
// the host window), so its state needs no lock; only the picture's shape,
// which the camera's pixel shape from the main thread joins, has one.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>

#include "noxd.h"
#include "nox_values.h"
#include "view_shape.h"

namespace viewer {

class ViewControls {
public:
    ViewControls(bool verbose, const PictureShape& shape) : verbose_(verbose), shape_(shape) {}
    ViewControls(const ViewControls&) = delete;
    ViewControls& operator=(const ViewControls&) = delete;
    // Points the renderer's callbacks at this object and shows the button;
    // `Disconnect` (or the destructor) points them away again.
    void Connect(NOXD_RENDERER renderer);
    void Disconnect();
    ~ViewControls() { Disconnect(); }

    void OnMouse(UINT message, WPARAM wparam, float x, float y);
    void OnButton(UINT message);
    void OnKey(WPARAM key);
    void RequestQuit() { quit_requested_ = true; }
    // Any thread: the camera's pixel shape, applied with the aspect mode
    // from the next picture on and said on the console when it changes.
    void SetSampleAspect(nox::SampleAspect sample_aspect);

    // Any thread.
    bool quit_requested() const { return quit_requested_.load(); }
    // Whether S was pressed since the last call; the main thread, which
    // draws, takes the snapshot.
    bool TakeSnapshotRequest() { return snapshot_requested_.exchange(false); }
    bool stats_shown() const { return stats_shown_.load(); }
    void ShowStats(bool on) { stats_shown_ = on; }

private:
    void ToggleZoom();
    void TogglePrivacyTool();
    // Mouse zoom is off while the privacy tool is on, so that one drag does one thing.
    void ApplyMouseTools();
    void ShowButton();
    void CycleAspect();
    void Turn();
    void ToggleMirror();
    // Callers hold shape_lock_, so that the renderer ends with the newest values.
    void ApplyAspect();
    void ApplyOrientation();

    NOXD_RENDERER renderer_ = nullptr;
    const bool verbose_;
    bool zoom_on_ = true;
    bool privacy_on_ = false;
    bool privacy_pressed_ = false;
    float press_x_ = 0, press_y_ = 0;
    UINT_PTR button_handle_ = 0;
    UINT_PTR privacy_handle_ = 0;
    std::atomic<bool> quit_requested_{false};
    std::atomic<bool> snapshot_requested_{false};
    std::atomic<bool> stats_shown_{false};
    std::mutex shape_lock_;  // guards shape_ and sample_aspect_
    PictureShape shape_;
    nox::SampleAspect sample_aspect_;
};

}  // namespace viewer
