// The object through which the nox component talks back to the viewer: the
// live object's dispatch events (connection notices, encoded frames, which
// it hands to the decoder) and the decoder's decoded frames, which it puts
// into the frame mailbox and signals to the drawing thread.
//
// Threads: the component calls it on threads of its own; the viewer's main
// thread calls SetDecoder and Detach. Neither lock is ever taken by the
// drawing thread, so the component never waits for a frame to be drawn.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <atomic>
#include <mutex>

#include "decoded_frame.h"
#include "frame_mailbox.h"
#include "nox.h"

namespace viewer {

class StreamSink final : public IDispatch, public INOXDecodeCallback {
public:
    // `frame_ready` is set after each picture published; both stay the caller's
    // and must outlive Detach.
    StreamSink(FrameMailbox& mailbox, HANDLE frame_ready);

    // Encoded frames go to this decoder channel from now on.
    void SetDecoder(INOXDecode* decoder, LONG channel);
    // After it returns no call of the component reaches the mailbox, the
    // event or the decoder any more.
    void Detach();
    // Decoded frames that were not whole pictures the renderer can show.
    uint64_t rejected() const { return rejected_.load(); }

    // IUnknown, shared by both interfaces. No COM method lets an exception
    // out: one whose work can throw returns noxd::kComMethodFailed instead.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;

    // IDispatch: only Invoke is used; the sink offers no type information.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) noexcept override;

    // INOXDecodeCallback
    HRESULT STDMETHODCALLTYPE OnDecodedFrame(LONG channel, LONG width, LONG height, BYTE* desc,
                                             LONG frame_number, LONG reserved) noexcept override;

private:
    ~StreamSink() = default;
    void OnChannelNotify(LONG state, LONG reason);
    void OnStreamData(VARIANT* frame);
    // The stand-in component tells the pixels' shape in the callback's last word.
    HRESULT TakeDecodedFrame(const uint8_t* desc, nox::SampleAspect sample_aspect);

    std::atomic<ULONG> references_{1};

    std::mutex decoder_lock_;  // guards decoder_ and channel_: stream thread, SetDecoder, Detach
    Microsoft::WRL::ComPtr<INOXDecode> decoder_;
    LONG channel_ = 0;

    std::mutex mailbox_lock_;  // guards the fields below: decoding thread and Detach
    FrameMailbox* mailbox_;
    HANDLE frame_ready_;

    std::atomic<uint64_t> rejected_{0};
};

}  // namespace viewer
