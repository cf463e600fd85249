#include "stream_sink.h"

#include <cstdio>

#include "com_guard.h"

namespace viewer {

namespace {

constexpr DISPID kOnChannelNotify = 1;
constexpr DISPID kOnStreamData = 2;
constexpr LONG kConnected = 1;

// A VARIANT argument as given, or the one it refers to when passed by reference.
VARIANT* Unwrapped(VARIANT& arg) {
    return arg.vt == (VT_BYREF | VT_VARIANT) && arg.pvarVal ? arg.pvarVal : &arg;
}

LONG AsLong(VARIANT& arg) {
    VARIANT* v = Unwrapped(arg);
    return v->vt == VT_I4 ? v->lVal : 0;
}

}  // namespace

StreamSink::StreamSink(FrameMailbox& mailbox, HANDLE frame_ready) : mailbox_(&mailbox), frame_ready_(frame_ready) {}

void StreamSink::SetDecoder(INOXDecode* decoder, LONG channel) {
    std::lock_guard<std::mutex> hold(decoder_lock_);
    decoder_ = decoder;
    channel_ = channel;
}

void StreamSink::Detach() {
    {
        std::lock_guard<std::mutex> hold(decoder_lock_);
        decoder_.Reset();
    }
    std::lock_guard<std::mutex> hold(mailbox_lock_);
    mailbox_ = nullptr;
    frame_ready_ = nullptr;
}

HRESULT StreamSink::QueryInterface(REFIID iid, void** object) noexcept {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, DIID__INOXLiveControlEvents)) {
        *object = static_cast<IDispatch*>(this);
    } else if (IsEqualIID(iid, IID_INOXDecodeCallback)) {
        *object = static_cast<INOXDecodeCallback*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG StreamSink::AddRef() noexcept { return ++references_; }

ULONG StreamSink::Release() noexcept {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT StreamSink::GetTypeInfoCount(UINT* count) noexcept {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT StreamSink::GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept { return E_NOTIMPL; }

HRESULT StreamSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept { return E_NOTIMPL; }

// Arguments come last-first in rgvarg.
HRESULT StreamSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                           UINT*) noexcept {
    return noxd::GuardComMethod("StreamSink::Invoke", [&]() -> HRESULT {
        if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
        if (id == kOnChannelNotify && params->cArgs == 3)
            OnChannelNotify(AsLong(params->rgvarg[1]), AsLong(params->rgvarg[0]));
        else if (id == kOnStreamData && params->cArgs == 2)
            OnStreamData(Unwrapped(params->rgvarg[0]));
        return S_OK;
    });
}

void StreamSink::OnChannelNotify(LONG state, LONG reason) {
    if (state & kConnected) std::printf("camera: connected\n");
    else std::printf("camera: not connected (reason %ld)\n", static_cast<long>(reason));
    std::fflush(stdout);
}

// The decoder is called outside the lock: a copy of the reference keeps it alive.
void StreamSink::OnStreamData(VARIANT* frame) {
    Microsoft::WRL::ComPtr<INOXDecode> decoder;
    LONG channel;
    {
        std::lock_guard<std::mutex> hold(decoder_lock_);
        decoder = decoder_;
        channel = channel_;
    }
    LONG accepted = 0;
    if (decoder) decoder->PushEncodedData(channel, *frame, &accepted);
}

HRESULT StreamSink::OnDecodedFrame(LONG, LONG, LONG, BYTE* desc, LONG, LONG sample_aspect) noexcept {
    return noxd::GuardComMethod("StreamSink::OnDecodedFrame",
                                [&] { return TakeDecodedFrame(desc, nox::UnpackSampleAspect(sample_aspect)); });
}

HRESULT StreamSink::TakeDecodedFrame(const uint8_t* desc, nox::SampleAspect sample_aspect) {
    if (!desc) return S_FALSE;
    const nox::FrameDesc frame = nox::ReadDecodedFrameDesc(desc);
    std::lock_guard<std::mutex> hold(mailbox_lock_);
    if (!mailbox_) return S_FALSE;
    PlaneLayout layout;
    if (!LayoutOf(frame, &layout)) {
        ++rejected_;
        return S_FALSE;
    }
    Picture& picture = mailbox_->Fill();
    CopyPicture(frame, layout, picture.bytes);
    picture.layout = layout;
    picture.sequence = frame.sequence;
    picture.sample_aspect = sample_aspect;
    mailbox_->Publish();
    SetEvent(frame_ready_);
    return S_OK;
}

}  // namespace viewer
