#include "camera_session.h"

#include <cstdio>

#include "win32_owners.h"
#include "win_text.h"

using Microsoft::WRL::ComPtr;

namespace viewer {

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

std::string Failure(const char* step, HRESULT hr) {
    char text[128];
    std::snprintf(text, sizeof text, "%s failed: 0x%08lX", step, static_cast<unsigned long>(hr));
    return text;
}

template <class Interface>
HRESULT CreateFromFactory(GetClassObjectFn get_class_object, REFCLSID clsid, REFIID iid,
                          ComPtr<Interface>& object) {
    ComPtr<IClassFactory> factory;
    HRESULT hr = get_class_object(clsid, IID_IClassFactory,
                                  reinterpret_cast<void**>(factory.GetAddressOf()));
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(nullptr, iid, reinterpret_cast<void**>(object.ReleaseAndGetAddressOf()));
}

}  // namespace

// The component is taken from beside the viewer, not from the registry, so
// the viewer runs the component it was shipped with. The library stays
// loaded for the life of the process: its threads may outlive its objects.
std::string CameraSession::LoadComponent() {
    const std::wstring path = ProgramFolder() + L"nox.dll";
    HMODULE library = LoadLibraryW(path.c_str());
    if (!library) return "cannot load " + Narrow(path);
    const auto get_class_object = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    if (!get_class_object) return Narrow(path) + " has no DllGetClassObject";
    HRESULT hr = CreateFromFactory(get_class_object, CLSID_NOXLiveControl, IID_INOXLiveControl, live_);
    if (FAILED(hr)) return Failure("creating the live object", hr);
    hr = CreateFromFactory(get_class_object, CLSID_NOXDecode, IID_INOXDecode, decoder_);
    if (FAILED(hr)) return Failure("creating the decoder", hr);
    return {};
}

std::string CameraSession::Subscribe() {
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = live_.As(&container);
    if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(DIID__INOXLiveControlEvents, &events_);
    if (SUCCEEDED(hr)) hr = events_->Advise(static_cast<IDispatch*>(sink_.Get()), &cookie_);
    if (FAILED(hr)) {
        events_.Reset();
        return Failure("subscribing to the live events", hr);
    }
    return {};
}

std::string CameraSession::Start(const Options& options, FrameMailbox& mailbox, HANDLE frame_ready) {
    std::string error = LoadComponent();
    if (!error.empty()) return error;
    const noxd::Bstr address(Widen(options.address).c_str()), login(Widen(options.login).c_str()),
        password(Widen(options.password).c_str());
    HRESULT hr = live_->Connect(address, login, password, &live_channel_);
    if (FAILED(hr)) return Failure(("connecting to " + options.address).c_str(), hr);

    sink_.Attach(new StreamSink(mailbox, frame_ready));
    hr = decoder_->Open(VARIANT_FALSE, VARIANT_FALSE, static_cast<IDispatch*>(sink_.Get()), &decoder_channel_);
    if (FAILED(hr)) return Failure("opening the decoder", hr);
    LONG done = 0;
    hr = decoder_->SetOutputFormat(decoder_channel_, static_cast<LONG>(MediaTypeOf(options.format)), &done);
    if (FAILED(hr)) return Failure("setting the decoder's output format", hr);
    hr = decoder_->StartDecoding(decoder_channel_, &done);
    if (FAILED(hr)) return Failure("starting the decoder", hr);
    decoding_ = true;
    sink_->SetDecoder(decoder_.Get(), decoder_channel_);

    error = Subscribe();
    if (!error.empty()) return error;
    hr = live_->StartStreamDataEvent(live_channel_, 0);
    if (FAILED(hr)) return Failure("starting the stream", hr);
    return {};
}

// The sink lets go first, so a component that keeps calling while it
// closes reaches nothing of the viewer's.
void CameraSession::Stop() {
    if (sink_) sink_->Detach();
    LONG done = 0;
    if (decoding_) decoder_->StopDecoding(decoder_channel_, &done);
    decoding_ = false;
    if (events_) events_->Unadvise(cookie_);
    events_.Reset();
    live_.Reset();
    decoder_.Reset();
}

}  // namespace viewer
