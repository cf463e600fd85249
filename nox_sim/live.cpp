// The stand-in live object: accepts a connection by the login rule of
// sim_media.h and, once asked, streams encoded frames of the moving test
// pattern to its subscribers at 25 frames a second, at 640 x 480 or in turn
// at the sizes NOX_SIM_SIZES names (a camera whose resolution is changed).
//
// Threads: the methods run on the caller's thread. The stream runs on one
// thread of its own per object (multithreaded apartment) that calls the
// subscribers; subscribers are added and removed under Stream::lock.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "sim.h"
#include "sim_media.h"
#include "com_guard.h"
#include "win32_owners.h"

using Microsoft::WRL::ComPtr;
using noxd::GuardComMethod;

namespace noxsim {

namespace {

constexpr LONG kNotifyChannel = 1;
constexpr LONG kStreamData = 2;

std::string Narrow(BSTR text) {
    if (!text) return {};
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(length > 0 ? length - 1 : 0, '\0');
    if (length > 1) WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    return narrow;
}

HRESULT ConnectFailure(int32_t reason) {
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x200 + reason);
}

// What the stream thread shares with the object; kept alive by both, so a
// lingering stream survives the object.
struct Stream {
    std::mutex lock;  // guards subscribers and nextCookie
    std::vector<std::pair<DWORD, ComPtr<IDispatch>>> subscribers;
    DWORD nextCookie = 1;
    noxd::UniqueKernelHandle stopEvent{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    LONG channel = 0;
    uint32_t faults = 0;
    std::vector<PictureSize> sizes;  // NOX_SIM_SIZES: the camera switches its picture size
    uint32_t framesPerSize = kDefaultFramesPerSize;

    std::vector<ComPtr<IDispatch>> Subscribers() {
        std::lock_guard<std::mutex> hold(lock);
        std::vector<ComPtr<IDispatch>> copy;
        for (const auto& entry : subscribers) copy.push_back(entry.second);
        return copy;
    }

    // args are last-first, as IDispatch::Invoke takes them.
    void Fire(DISPID event, VARIANT* args, UINT count) {
        DISPPARAMS params = {args, nullptr, count, 0};
        for (const auto& sink : Subscribers()) {
            sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                         nullptr, nullptr);
        }
    }

    void NotifyChannel(LONG state, LONG reason) {
        VARIANT args[3];
        for (VARIANT& arg : args) arg.vt = VT_I4;
        args[2].lVal = channel;
        args[1].lVal = state;
        args[0].lVal = reason;
        Fire(kNotifyChannel, args, 3);
    }

    void SendFrame(uint32_t sequence, uint32_t milliseconds) {
        const bool odd = sequence % 2 == 1;
        const PictureSize size = SizeOfFrame(sizes, framesPerSize, sequence);
        const std::vector<uint8_t> payload = EncodePayload(sequence, size.width, size.height);
        std::vector<uint8_t> frame(nox::kFrameDescSize + payload.size());
        std::copy(payload.begin(), payload.end(), frame.begin() + nox::kFrameDescSize);
        nox::FrameDesc desc;
        desc.size = odd && (faults & kFaultBadEncSize) ? 40 : nox::kFrameDescSize;
        desc.sequence = sequence;
        desc.media_type = kEncodedMediaType;
        desc.width = static_cast<uint32_t>(size.width);
        desc.height = static_cast<uint32_t>(size.height);
        desc.timestamp = milliseconds;
        desc.flags = sequence % kFramesPerSecond == 0 ? 1 : 0;
        desc.channel = static_cast<uint32_t>(channel);
        desc.length = odd && (faults & kFaultEmptyEnc) ? 0 : static_cast<uint32_t>(payload.size());
        nox::WriteEncodedFrameHeader(desc, frame.data());

        VARIANT args[2];
        args[1].vt = VT_I4;
        args[1].lVal = channel;
        if (odd && (faults & kFaultNoByref)) {
            args[0].vt = VT_I4;
            args[0].lVal = static_cast<LONG>(sequence);
        } else {
            args[0].vt = VT_BYREF | VT_UI1;
            args[0].pbVal = frame.data();
        }
        Fire(kStreamData, args, 2);
    }

    // Waits for the next frame time; false once asked to stop (never for a
    // lingering stream).
    bool WaitForFrame(std::chrono::steady_clock::time_point due) {
        if (faults & kFaultFlood) return (faults & kFaultLinger) || WaitForSingleObject(stopEvent.get(), 0) != WAIT_OBJECT_0;
        const auto now = std::chrono::steady_clock::now();
        const auto wait = due > now ? std::chrono::duration_cast<std::chrono::milliseconds>(due - now).count() : 0;
        if (faults & kFaultLinger) {
            Sleep(static_cast<DWORD>(wait));
            return true;
        }
        return WaitForSingleObject(stopEvent.get(), static_cast<DWORD>(wait)) != WAIT_OBJECT_0;
    }

    void Run() {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        NotifyChannel(QZ_CS_CONNECTED | QZ_CS_STREAMED, 0);
        auto start = std::chrono::steady_clock::now();
        const auto period = std::chrono::microseconds(1000000 / kFramesPerSecond);
        for (uint32_t sequence = 0;; ++sequence) {
            if ((faults & kFaultPause) && sequence > 0 && sequence % kFramesBetweenPauses == 0) {
                if (WaitForSingleObject(stopEvent.get(), kPauseMs) == WAIT_OBJECT_0) break;
                start += std::chrono::milliseconds(kPauseMs);
            }
            const auto due = start + period * sequence;
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(due - start);
            SendFrame(sequence, static_cast<uint32_t>(elapsed.count()));
            if (!WaitForFrame(due + period)) break;
        }
        CoUninitialize();
    }
};

class LiveControl final : public DualObject<INOXLiveControl>, public IConnectionPointContainer,
                          public IConnectionPoint {
public:
    LiveControl() : stream_(std::make_shared<Stream>()) {
        stream_->faults = ActiveFaults();
        stream_->sizes = StreamSizes();
        stream_->framesPerSize = FramesPerSize();
    }
    ~LiveControl() override {
        LogCall("ReleaseLive");
        if (!thread_.joinable()) return;
        if (stream_->faults & kFaultLinger) {
            thread_.detach();
            return;
        }
        SetEvent(stream_->stopEvent.get());
        thread_.join();
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, IID_INOXLiveControl)) {
            *ppv = static_cast<INOXLiveControl*>(this);
        } else if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
            *ppv = static_cast<IConnectionPointContainer*>(this);
        } else if (IsEqualIID(riid, IID_IConnectionPoint)) {
            *ppv = static_cast<IConnectionPoint*>(this);
        } else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    // One count for all three interfaces.
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return DualObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return DualObject::Release(); }

    // INOXLiveControl
    HRESULT STDMETHODCALLTYPE SetOption(LONG option, VARIANT value) noexcept override {
        return GuardComMethod("INOXLiveControl::SetOption", [&]() -> HRESULT {
            LogCall("SetOption %ld vt=%u %ld", static_cast<long>(option), value.vt,
                    value.vt == VT_I4 ? static_cast<long>(value.lVal) : 0L);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Connect(BSTR addr, BSTR login, BSTR pass, LONG* channel) noexcept override {
        return GuardComMethod("INOXLiveControl::Connect", [&]() -> HRESULT {
            const std::string address = Narrow(addr);
            LogCall("Connect %s %s %s", address.c_str(), Narrow(login).c_str(), Narrow(pass).c_str());
            if (!channel) return E_POINTER;
            if (address.empty()) return E_INVALIDARG;
            if (stream_->faults & kFaultConnect) return E_FAIL;
            const int32_t refusal = ConnectRefusal(address, Narrow(login), Narrow(pass));
            if (refusal) {
                stream_->NotifyChannel(0, refusal);
                return ConnectFailure(refusal);
            }
            stream_->channel = 1;
            *channel = stream_->channel;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE StartStreamDataEvent(LONG channel, LONG flags) noexcept override {
        return GuardComMethod("INOXLiveControl::StartStreamDataEvent", [&]() -> HRESULT {
            LogCall("StartStreamDataEvent %ld %ld", static_cast<long>(channel), static_cast<long>(flags));
            if (stream_->faults & kFaultStartStream) return E_FAIL;
            if (stream_->channel == 0 || channel != stream_->channel) return E_INVALIDARG;
            if (thread_.joinable()) return S_FALSE;
            thread_ = std::thread([stream = stream_] { stream->Run(); });
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE SetChannelOption(LONG channel, LONG option) noexcept override {
        return GuardComMethod("INOXLiveControl::SetChannelOption", [&]() -> HRESULT {
            LogCall("SetChannelOption %ld %ld", static_cast<long>(channel), static_cast<long>(option));
            return S_OK;
        });
    }

#define NOX_RESERVED(n) \
    HRESULT STDMETHODCALLTYPE Reserved##n() noexcept override { return E_NOTIMPL; }
    NOX_RESERVED(07) NOX_RESERVED(08) NOX_RESERVED(10) NOX_RESERVED(11) NOX_RESERVED(12)
    NOX_RESERVED(13) NOX_RESERVED(14) NOX_RESERVED(15) NOX_RESERVED(16) NOX_RESERVED(17)
    NOX_RESERVED(18) NOX_RESERVED(19) NOX_RESERVED(20) NOX_RESERVED(21) NOX_RESERVED(22)
    NOX_RESERVED(23) NOX_RESERVED(24) NOX_RESERVED(25) NOX_RESERVED(26) NOX_RESERVED(27)
    NOX_RESERVED(29) NOX_RESERVED(30) NOX_RESERVED(31) NOX_RESERVED(32) NOX_RESERVED(33)
    NOX_RESERVED(34) NOX_RESERVED(35) NOX_RESERVED(36) NOX_RESERVED(38) NOX_RESERVED(39)
    NOX_RESERVED(40) NOX_RESERVED(41) NOX_RESERVED(42) NOX_RESERVED(43) NOX_RESERVED(44)
    NOX_RESERVED(45) NOX_RESERVED(46) NOX_RESERVED(47) NOX_RESERVED(48) NOX_RESERVED(49)
    NOX_RESERVED(50) NOX_RESERVED(51) NOX_RESERVED(52) NOX_RESERVED(53) NOX_RESERVED(54)
    NOX_RESERVED(55) NOX_RESERVED(56) NOX_RESERVED(57) NOX_RESERVED(58) NOX_RESERVED(59)
    NOX_RESERVED(60)
#undef NOX_RESERVED

    // IConnectionPointContainer: one point, for _INOXLiveControlEvents.
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) noexcept override {
        if (!point) return E_POINTER;
        *point = nullptr;
        if (!IsEqualIID(riid, DIID__INOXLiveControlEvents)) return CONNECT_E_NOCONNECTION;
        *point = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }

    // IConnectionPoint
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) noexcept override {
        if (!iid) return E_POINTER;
        *iid = DIID__INOXLiveControlEvents;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) noexcept override {
        if (!container) return E_POINTER;
        *container = static_cast<IConnectionPointContainer*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) noexcept override {
        return GuardComMethod("INOXLiveControl::Advise", [&]() -> HRESULT {
            LogCall("Advise");
            if (!sink || !cookie) return E_POINTER;
            if (stream_->faults & kFaultAdvise) return E_FAIL;
            ComPtr<IDispatch> events;
            if (FAILED(sink->QueryInterface(DIID__INOXLiveControlEvents, reinterpret_cast<void**>(events.GetAddressOf())))) {
                return CONNECT_E_CANNOTCONNECT;
            }
            std::lock_guard<std::mutex> hold(stream_->lock);
            *cookie = stream_->nextCookie++;
            stream_->subscribers.emplace_back(*cookie, events);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) noexcept override {
        return GuardComMethod("INOXLiveControl::Unadvise", [&]() -> HRESULT {
            LogCall("Unadvise %lu", static_cast<unsigned long>(cookie));
            std::lock_guard<std::mutex> hold(stream_->lock);
            auto& subscribers = stream_->subscribers;
            for (auto it = subscribers.begin(); it != subscribers.end(); ++it) {
                if (it->first == cookie) {
                    subscribers.erase(it);
                    return S_OK;
                }
            }
            return CONNECT_E_NOCONNECTION;
        });
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) noexcept override { return E_NOTIMPL; }

private:
    std::shared_ptr<Stream> stream_;
    std::thread thread_;  // started and joined or detached by the caller's thread
};

}  // namespace

HRESULT CreateLiveControl(REFIID iid, void** ppv) {
    auto* live = new LiveControl;
    const HRESULT hr = live->QueryInterface(iid, ppv);
    live->Release();
    return hr;
}

}  // namespace noxsim
