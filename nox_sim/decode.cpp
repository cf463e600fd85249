// The stand-in decoder: decodes the stand-in's encoded frames into the
// moving test pattern in the asked format (or NV12 with padded rows, when
// NOX_SIM_NV12 asks, as decoders of cameras commonly hand pictures over) at
// each frame's own size, and hands each picture to the callback given to Open
// with the pixels' shape NOX_SIM_SAR names.
//
// Threads: the methods run on the caller's threads (PushEncodedData on the
// live object's stream thread). Decoding runs on one thread of its own
// (multithreaded apartment) between StartDecoding and StopDecoding; frames
// wait for it in a short queue guarded by Channel::lock.
#include <windows.h>
#include <wrl/client.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "com_guard.h"
#include "sim.h"
#include "sim_media.h"

using Microsoft::WRL::ComPtr;
using noxd::GuardComMethod;

namespace noxsim {

namespace {

// Frames waiting beyond this many are dropped, as a real decoder that falls
// behind would drop them.
constexpr size_t kQueueLimit = 8;

// What the decoding thread shares with the object; a lingering decoder's
// thread keeps it alive.
struct Channel {
    std::mutex lock;  // guards queue, decoding, stopping and mediaType
    std::condition_variable wake;
    std::deque<EncodedFrame> queue;
    bool decoding = false;
    bool stopping = false;
    uint32_t mediaType = QZ_MTC_RAW_YUV422;
    ComPtr<INOXDecodeCallback> callback;  // set by Open before decoding starts
    LONG id = 0;
    uint32_t faults = 0;
    uint32_t nv12Alignment = 0;  // NOX_SIM_NV12: every picture NV12, whatever was asked
    int32_t sampleAspect = 0;    // NOX_SIM_SAR, packed as OnDecodedFrame's last word carries it

    void Deliver(const EncodedFrame& frame, uint32_t asked) {
        const uint32_t delivered = nv12Alignment ? nox::kMediaSimNv12 : asked;
        const uint32_t stride =
            nv12Alignment ? PaddedNv12Stride(frame.width, nv12Alignment) : StrideOf(delivered, frame.width);
        std::vector<uint8_t> picture = RenderPicture(frame.sequence, frame.width, frame.height, delivered, stride);
        const bool odd = frame.sequence % 2 == 1;
        nox::FrameDesc fields;
        fields.size = odd && (faults & kFaultBadDecSize) ? 40 : nox::kFrameDescSize;
        fields.sequence = frame.sequence;
        fields.media_type = delivered;
        fields.width = static_cast<uint32_t>(frame.width);
        fields.height = static_cast<uint32_t>(frame.height);
        fields.channel = static_cast<uint32_t>(id);
        fields.stride = odd && (faults & kFaultZeroStride) ? 0 : stride;
        fields.length = static_cast<uint32_t>(picture.size());
        fields.payload = odd && (faults & kFaultNullPayload) ? nullptr : picture.data();
        uint8_t desc[sizeof(nox::FrameDesc)];
        nox::WriteDecodedFrameDesc(fields, desc);
        callback->OnDecodedFrame(id, frame.width, frame.height, desc,
                                 static_cast<LONG>(frame.sequence), sampleAspect);
    }

    void Run() {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        for (;;) {
            EncodedFrame frame;
            uint32_t type;
            {
                std::unique_lock<std::mutex> hold(lock);
                wake.wait(hold, [this] { return stopping || !queue.empty(); });
                if (stopping) break;
                frame = queue.front();
                queue.pop_front();
                type = mediaType;
            }
            Deliver(frame, type);
        }
        CoUninitialize();
    }
};

bool ReadEncodedFrame(const VARIANT& v, EncodedFrame* frame) {
    if (!(v.vt & VT_BYREF) || !v.byref) return false;
    const nox::FrameDesc desc = nox::ReadEncodedFrameHeader(static_cast<const uint8_t*>(v.byref));
    return desc.size == nox::kFrameDescSize && DecodePayload(desc.payload, desc.length, frame);
}

class Decoder final : public DualObject<INOXDecode> {
public:
    Decoder() : channel_(std::make_shared<Channel>()) {
        channel_->faults = ActiveFaults();
        channel_->nv12Alignment = Nv12Alignment();
        channel_->sampleAspect = nox::PackSampleAspect(SampleAspectOfPixels());
    }
    ~Decoder() override {
        LogCall("ReleaseDecode");
        Stop();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, IID_INOXDecode)) {
            *ppv = static_cast<INOXDecode*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT STDMETHODCALLTYPE Open(VARIANT_BOOL option1, VARIANT_BOOL option2, IUnknown* callback,
                                   LONG* channel) noexcept override {
        return GuardComMethod("INOXDecode::Open", [&]() -> HRESULT {
            LogCall("Open %d %d", option1, option2);
            if (!callback || !channel) return E_POINTER;
            if (channel_->faults & kFaultOpen) return E_FAIL;
            if (channel_->callback) return E_UNEXPECTED;
            HRESULT hr = callback->QueryInterface(IID_INOXDecodeCallback,
                                                  reinterpret_cast<void**>(channel_->callback.GetAddressOf()));
            if (FAILED(hr)) return hr;
            channel_->id = 1;
            *channel = channel_->id;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE SetOutputFormat(LONG channel, LONG mediaType, LONG* result) noexcept override {
        return GuardComMethod("INOXDecode::SetOutputFormat", [&]() -> HRESULT {
            LogCall("SetOutputFormat %ld %ld", static_cast<long>(channel), static_cast<long>(mediaType));
            if (!result) return E_POINTER;
            *result = 0;
            if (channel_->faults & kFaultSetOutputFormat) return E_FAIL;
            if (!IsOpen(channel) || !IsOutputFormat(static_cast<uint32_t>(mediaType))) return E_INVALIDARG;
            std::lock_guard<std::mutex> hold(channel_->lock);
            channel_->mediaType = static_cast<uint32_t>(mediaType);
            *result = 1;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE StartDecoding(LONG channel, LONG* result) noexcept override {
        return GuardComMethod("INOXDecode::StartDecoding", [&]() -> HRESULT {
            LogCall("StartDecoding %ld", static_cast<long>(channel));
            if (!result) return E_POINTER;
            *result = 0;
            if (channel_->faults & kFaultStartDecoding) return E_FAIL;
            if (!IsOpen(channel)) return E_INVALIDARG;
            if (thread_.joinable()) return S_FALSE;
            {
                std::lock_guard<std::mutex> hold(channel_->lock);
                channel_->decoding = true;
            }
            thread_ = std::thread([shared = channel_] { shared->Run(); });
            *result = 1;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE PushEncodedData(LONG channel, VARIANT frame, LONG* result) noexcept override {
        return GuardComMethod("INOXDecode::PushEncodedData", [&]() -> HRESULT {
            LogCall("PushEncodedData %ld", static_cast<long>(channel));
            if (!result) return E_POINTER;
            *result = 0;
            if (!IsOpen(channel)) return E_INVALIDARG;
            EncodedFrame decoded;
            if (!ReadEncodedFrame(frame, &decoded)) return E_INVALIDARG;
            std::lock_guard<std::mutex> hold(channel_->lock);
            if (!channel_->decoding || channel_->stopping || channel_->queue.size() >= kQueueLimit) {
                return S_FALSE;
            }
            channel_->queue.push_back(decoded);
            channel_->wake.notify_one();
            *result = 1;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE StopDecoding(LONG channel, LONG* result) noexcept override {
        return GuardComMethod("INOXDecode::StopDecoding", [&]() -> HRESULT {
            LogCall("StopDecoding %ld", static_cast<long>(channel));
            if (!result) return E_POINTER;
            *result = 0;
            if (!IsOpen(channel)) return E_INVALIDARG;
            Stop();
            *result = 1;
            return S_OK;
        });
    }

#define NOX_RESERVED(n) \
    HRESULT STDMETHODCALLTYPE Reserved##n() noexcept override { return E_NOTIMPL; }
    NOX_RESERVED(07) NOX_RESERVED(09)
#undef NOX_RESERVED

private:
    bool IsOpen(LONG channel) const { return channel_->id != 0 && channel == channel_->id; }

    // Ends the decoding thread; a lingering decoder keeps decoding.
    void Stop() {
        if (!thread_.joinable()) return;
        if (channel_->faults & kFaultLinger) {
            thread_.detach();
            return;
        }
        {
            std::lock_guard<std::mutex> hold(channel_->lock);
            channel_->stopping = true;
        }
        channel_->wake.notify_one();
        thread_.join();
    }

    std::shared_ptr<Channel> channel_;
    std::thread thread_;  // started, joined or detached by the caller's threads
};

}  // namespace

HRESULT CreateDecoder(REFIID iid, void** ppv) {
    auto* decoder = new Decoder;
    const HRESULT hr = decoder->QueryInterface(iid, ppv);
    decoder->Release();
    return hr;
}

}  // namespace noxsim
