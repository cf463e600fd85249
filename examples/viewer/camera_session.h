// One live view of a camera through the nox component: nox.dll loaded from
// the viewer's own folder, the live and decoder objects made through its
// class factories, connected, decoding into the frame mailbox.
//
// Threads: made, stopped and destroyed on the viewer's main thread, inside a
// COM multithreaded apartment; the component's own threads call the sink.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <string>

#include "frame_mailbox.h"
#include "nox.h"
#include "stream_sink.h"
#include "viewer_options.h"

namespace viewer {

class CameraSession {
public:
    CameraSession() = default;
    CameraSession(const CameraSession&) = delete;
    CameraSession& operator=(const CameraSession&) = delete;
    ~CameraSession() { Stop(); }

    // Loads, connects and starts the stream; the error text when a step
    // failed, empty when frames are on their way. Pictures go into
    // `mailbox` and `frame_ready` is set after each.
    std::string Start(const Options& options, FrameMailbox& mailbox, HANDLE frame_ready);

    // Stops the stream; from its return on the mailbox and the event are no
    // longer touched. Safe to call twice.
    void Stop();

    uint64_t rejected() const { return sink_ ? sink_->rejected() : 0; }

private:
    std::string LoadComponent();
    std::string Subscribe();

    Microsoft::WRL::ComPtr<INOXLiveControl> live_;
    Microsoft::WRL::ComPtr<INOXDecode> decoder_;
    Microsoft::WRL::ComPtr<StreamSink> sink_;
    Microsoft::WRL::ComPtr<IConnectionPoint> events_;
    DWORD cookie_ = 0;
    LONG live_channel_ = 0;
    LONG decoder_channel_ = 0;
    bool decoding_ = false;
};

}  // namespace viewer
