// The event sink CEncData fed by hand-built DISPPARAMS and frame
// descriptors, with a fake decoder: independent of the stand-in component.
#include <gtest/gtest.h>
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <wrl/client.h>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "ambrel_process.h"
#include "enc_data.h"
#include "win32_owners.h"

namespace fs = std::filesystem;
using Microsoft::WRL::ComPtr;

namespace {

// Redirects standard output (file descriptor 1) into a binary file, so the
// bytes the sink printed come back unchanged.
class StdoutCapture {
public:
    StdoutCapture() {
        std::fflush(stdout);
        saved_ = _dup(1);
        file_ = std::tmpfile();
        _dup2(_fileno(file_), 1);
    }
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;
    ~StdoutCapture() { Stop(); }
    std::string Stop() {
        if (saved_ < 0) return text_;
        std::fflush(stdout);
        _dup2(saved_, 1);
        _close(saved_);
        saved_ = -1;
        std::rewind(file_);
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) text_.append(buffer, got);
        std::fclose(file_);
        return text_;
    }

private:
    int saved_ = -1;
    std::FILE* file_ = nullptr;
    std::string text_;
};

// A decoder that records what the sink pushes.
class FakeDecoder final : public INOXDecode {
public:
    struct Push {
        LONG channel;
        VARTYPE vt;
        void* byref;
    };
    std::vector<Push> pushes;
    std::atomic<ULONG> refs{1};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_INOXDecode)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Reserved07() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Open(VARIANT_BOOL, VARIANT_BOOL, IUnknown*, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved09() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PushEncodedData(LONG channel, VARIANT frame, LONG* result) override {
        pushes.push_back({channel, frame.vt, frame.byref});
        *result = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE StartDecoding(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE StopDecoding(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOutputFormat(LONG, LONG, LONG*) override { return E_NOTIMPL; }
};

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    std::memcpy(&bytes[offset], &value, sizeof value);
}

// An encoded frame as the component lays it out: 44-byte descriptor, payload.
std::vector<uint8_t> EncodedFrame(const std::string& payload, uint32_t size = 44) {
    std::vector<uint8_t> frame(44 + payload.size(), 0xEE);
    PutU32(frame, 0, size);
    PutU32(frame, 36, static_cast<uint32_t>(payload.size()));
    std::memcpy(frame.data() + 44, payload.data(), payload.size());
    return frame;
}

// A decoded frame's descriptor; the payload address is a native pointer.
std::vector<uint8_t> DecodedDesc(uint32_t mediaType, uint32_t stride, uint32_t length,
                                 const void* payload, uint32_t size = 44) {
    std::vector<uint8_t> desc(40 + sizeof(void*), 0xEE);
    PutU32(desc, 0, size);
    PutU32(desc, 8, mediaType);
    PutU32(desc, 32, stride);
    PutU32(desc, 36, length);
    std::memcpy(&desc[40], &payload, sizeof payload);
    return desc;
}

std::string Address(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%08" PRIxPTR, reinterpret_cast<uintptr_t>(p));
    return text;
}

VARIANT I4(LONG value) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT ByRef(std::vector<uint8_t>& frame) {
    VARIANT v;
    v.vt = VT_BYREF | VT_UI1;
    v.pbVal = frame.data();
    return v;
}

class AmbrelSink : public testing::Test {
protected:
    void TearDown() override {
        if (sink_) static_cast<CUnk*>(sink_)->Release();
    }
    IDispatch* Events() { return static_cast<DispEventSink*>(sink_); }
    // args in declaration order; Invoke gets them last-first.
    HRESULT Fire(DISPID id, std::vector<VARIANT> args, UINT* argErr = nullptr) {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        return Events()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, argErr);
    }
    HRESULT Decoded(std::vector<uint8_t>& desc) {
        return sink_->OnDecodedFrame(1, 0, 0, desc.data(), 0, 0);
    }

    FakeDecoder decoder_;  // outlives the sink, which may hold it
    CEncData* sink_ = new CEncData;
    ScratchFolder folder_;
};

TEST_F(AmbrelSink, ChannelNoticeArgumentsArriveLastFirst) {
    StdoutCapture out;
    EXPECT_EQ(Fire(1, {I4(99), I4(0), I4(12)}), S_OK);
    EXPECT_EQ(Fire(1, {I4(99), I4(3), I4(0)}), S_OK);
    EXPECT_EQ(out.Stop(),
              "OnChannelNotify: NOT CONNECTED:Password is incorrect)\r\n"
              "OnChannelNotify: CONNECTED\r\nOnChannelNotify: STREAMED\r\n");
}

TEST_F(AmbrelSink, ArgumentsAreCoercedToTheHandlersTypes) {
    VARIANT shortReason;
    shortReason.vt = VT_I2;
    shortReason.iVal = 14;
    LONG state = 0;
    VARIANT stateRef;
    stateRef.vt = VT_BYREF | VT_I4;
    stateRef.plVal = &state;
    StdoutCapture out;
    EXPECT_EQ(Fire(1, {I4(1), stateRef, shortReason}), S_OK);

    noxd::Bstr text(L"abc");
    VARIANT textState;
    textState.vt = VT_BSTR;
    textState.bstrVal = text;
    UINT argErr = 99;
    EXPECT_EQ(Fire(1, {I4(1), textState, I4(12)}, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 1u);  // position in rgvarg
    EXPECT_EQ(out.Stop(), "OnChannelNotify: NOT CONNECTED:Login ID doesn't exist)\r\n");
}

TEST_F(AmbrelSink, MalformedCallsAndUnknownEventsDoNothing) {
    StdoutCapture out;
    EXPECT_EQ(Fire(1, {I4(0), I4(3)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Fire(7, {I4(0), I4(3), I4(0)}), S_OK);
    VARIANT arg = I4(0);
    DISPID named = 0;
    DISPPARAMS params = {&arg, &named, 1, 1};
    EXPECT_EQ(Events()->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              DISP_E_NONAMEDARGS);
    EXPECT_EQ(Events()->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(out.Stop(), "");
}

TEST_F(AmbrelSink, EncodedFramesAreDumpedAndHandedToTheDecoder) {
    noxd::FileHandle enc = noxd::OpenFile((folder_ / "enc.bin").string().c_str(), "wb");
    FakeDecoder& decoder = decoder_;
    sink_->SetOutput(enc.get(), nullptr, 1, nullptr);
    sink_->SetDecoder(&decoder, 7);
    auto first = EncodedFrame("first-payload");
    auto second = EncodedFrame("2nd");
    StdoutCapture out;
    Fire(2, {I4(1), ByRef(first)});
    Fire(2, {I4(1), ByRef(second)});
    EXPECT_EQ(out.Stop(), "input encoded frames(0) ptr(" + Address(first.data()) + "), data(0x0000002c)\n" +
                              "input encoded frames(1) ptr(" + Address(second.data()) + "), data(0x0000002c)\n");
    enc.reset();
    EXPECT_EQ(ReadFileBytes(folder_ / "enc.bin"), "first-payload2nd");
    ASSERT_EQ(decoder.pushes.size(), 2u);
    EXPECT_EQ(decoder.pushes[0].channel, 7);
    EXPECT_EQ(decoder.pushes[0].vt, VT_BYREF | VT_UI1);
    EXPECT_EQ(decoder.pushes[0].byref, first.data());
    EXPECT_EQ(decoder.pushes[1].byref, second.data());
}

TEST_F(AmbrelSink, EncodedFrameFaults) {
    noxd::FileHandle enc = noxd::OpenFile((folder_ / "enc.bin").string().c_str(), "wb");
    FakeDecoder& decoder = decoder_;
    sink_->SetOutput(enc.get(), nullptr, 1, nullptr);
    sink_->SetDecoder(&decoder, 7);
    auto wrongSize = EncodedFrame("old", 40);
    auto empty = EncodedFrame("");
    auto good = EncodedFrame("ok");
    VARIANT nullRef;
    nullRef.vt = VT_BYREF | VT_UI1;
    nullRef.pbVal = nullptr;
    StdoutCapture out;
    Fire(2, {I4(1), I4(5)});        // no VT_BYREF: dropped silently
    Fire(2, {I4(1), nullRef});      // no pointer: dropped silently
    Fire(2, {I4(1), ByRef(wrongSize)});
    Fire(2, {I4(1), ByRef(empty)});
    Fire(2, {I4(1), ByRef(good)});
    EXPECT_EQ(out.Stop(), "nox version conflict1\n"
                          "err: enc can't write data\n"
                          "input encoded frames(0) ptr(" + Address(empty.data()) + "), data(0x0000002c)\n"
                          "input encoded frames(1) ptr(" + Address(good.data()) + "), data(0x0000002c)\n");
    enc.reset();
    EXPECT_EQ(ReadFileBytes(folder_ / "enc.bin"), "ok");
    ASSERT_EQ(decoder.pushes.size(), 2u);  // the empty frame is still handed on
    EXPECT_EQ(decoder.pushes[0].byref, empty.data());
}

TEST_F(AmbrelSink, RawDumpHoldsTheFirstAndEveryPeriodthFrame) {
    noxd::FileHandle dec = noxd::OpenFile((folder_ / "dec.bin").string().c_str(), "wb");
    sink_->SetOutput(nullptr, dec.get(), 3, nullptr);
    std::string expected;
    StdoutCapture out;
    for (int n = 1; n <= 7; ++n) {
        const std::string payload = "frame" + std::to_string(n) + ";";
        auto desc = DecodedDesc(33, 4, static_cast<uint32_t>(payload.size()), payload.data());
        EXPECT_EQ(Decoded(desc), S_OK);
        if (n == 1 || n % 3 == 0) expected += payload;
    }
    const std::string lines = out.Stop();
    EXPECT_EQ(CountOf(lines, "output decoded frames("), 7u);
    EXPECT_NE(lines.find("output decoded frames(6) ptr("), std::string::npos);
    dec.reset();
    EXPECT_EQ(ReadFileBytes(folder_ / "dec.bin"), expected);
}

TEST_F(AmbrelSink, RefusedDecodedFramesStillCount) {
    noxd::FileHandle dec = noxd::OpenFile((folder_ / "dec.bin").string().c_str(), "wb");
    sink_->SetOutput(nullptr, dec.get(), 1, nullptr);
    const std::string payload = "pixels";
    auto wrongSize = DecodedDesc(34, 6, 6, payload.data(), 40);
    auto noPayload = DecodedDesc(34, 6, 6, nullptr);
    auto empty = DecodedDesc(34, 6, 0, payload.data());
    auto good = DecodedDesc(34, 6, 6, payload.data());
    StdoutCapture out;
    EXPECT_EQ(sink_->OnDecodedFrame(1, 0, 0, nullptr, 0, 0), S_FALSE);
    EXPECT_EQ(Decoded(wrongSize), S_FALSE);
    EXPECT_EQ(Decoded(noPayload), S_FALSE);
    EXPECT_EQ(Decoded(empty), S_OK);
    EXPECT_EQ(Decoded(good), S_OK);
    EXPECT_EQ(out.Stop(),
              "output decoded frames(0) ptr(0x00000000), data(0x00000000)\n"
              "output decoded frames(1) ptr(" + Address(wrongSize.data()) + "), data(0x00000028)\n"
              "nox version conflict2\n"
              "output decoded frames(2) ptr(" + Address(noPayload.data()) + "), data(0x0000002c)\n"
              "err: no dec data\n"
              "output decoded frames(3) ptr(" + Address(empty.data()) + "), data(0x0000002c)\n"
              "err: dec can't write data\n"
              "output decoded frames(4) ptr(" + Address(good.data()) + "), data(0x0000002c)\n");
    dec.reset();
    EXPECT_EQ(ReadFileBytes(folder_ / "dec.bin"), "pixels");
}

// A 640x480 frame whose every row is distinct: row y holds bytes y*7+x.
std::vector<uint8_t> TestPicture(uint32_t stride, uint32_t rows) {
    std::vector<uint8_t> picture(static_cast<size_t>(stride) * rows);
    for (uint32_t y = 0; y < rows; ++y) {
        for (uint32_t x = 0; x < stride; ++x) picture[y * stride + x] = static_cast<uint8_t>(y * 7 + x);
    }
    return picture;
}

std::map<std::string, std::string> BitmapFiles(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".bmp") {
            files[entry.path().filename().string()] = ReadFileBytes(entry.path());
        }
    }
    return files;
}

TEST_F(AmbrelSink, BitmapsAreUprightAndNoneIsReplaced) {
    sink_->SetOutput(nullptr, nullptr, 1, (folder_ / "shot.rgb").string().c_str());
    const auto picture = TestPicture(2560, 480);
    auto desc = DecodedDesc(34, 2560, static_cast<uint32_t>(picture.size()), picture.data());
    for (int i = 0; i < 4; ++i) ASSERT_EQ(Decoded(desc), S_OK);

    const auto files = BitmapFiles(folder_.path());
    ASSERT_EQ(files.size(), 4u);
    std::map<std::string, int> perSecond;  // "shot_<seconds>" -> files
    for (const auto& [name, bytes] : files) {
        ASSERT_EQ(bytes.size(), 1228854u) << name;
        EXPECT_EQ(bytes.compare(0, 2, "BM"), 0);
        // The first row in the file is the picture's last.
        EXPECT_EQ(std::memcmp(bytes.data() + 54, &picture[479 * 2560], 2560), 0) << name;
        EXPECT_EQ(std::memcmp(bytes.data() + 54 + 479 * 2560, &picture[0], 2560), 0) << name;
        const std::string stem = name.substr(0, name.size() - 4);
        const size_t secondEnd = stem.find('_', 5);
        ++perSecond[stem.substr(0, secondEnd)];
    }
    // Within one second the names go shot_S.bmp, shot_S_1.bmp, shot_S_2.bmp...
    for (const auto& [prefix, count] : perSecond) {
        EXPECT_EQ(files.count(prefix + ".bmp"), 1u) << prefix;
        for (int k = 1; k < count; ++k) EXPECT_EQ(files.count(prefix + "_" + std::to_string(k) + ".bmp"), 1u);
    }
}

TEST_F(AmbrelSink, Rgb24BitmapAndFramesWithoutARow) {
    sink_->SetOutput(nullptr, nullptr, 1, (folder_ / "shot").string().c_str());
    const auto picture = TestPicture(1920, 480);
    auto zeroStride = DecodedDesc(35, 0, static_cast<uint32_t>(picture.size()), picture.data());
    auto shortPayload = DecodedDesc(35, 1920, 100, picture.data());
    auto good = DecodedDesc(35, 1920, static_cast<uint32_t>(picture.size()), picture.data());
    StdoutCapture out;
    EXPECT_EQ(Decoded(zeroStride), S_FALSE);
    EXPECT_EQ(Decoded(shortPayload), S_FALSE);
    EXPECT_EQ(Decoded(good), S_OK);
    const std::string lines = out.Stop();
    EXPECT_NE(lines.find("err: dec frame skipped: stride 0, length 921600\n"), std::string::npos);
    EXPECT_NE(lines.find("err: dec frame skipped: stride 1920, length 100\n"), std::string::npos);
    const auto files = BitmapFiles(folder_.path());
    ASSERT_EQ(files.size(), 1u);
    const std::string& bytes = files.begin()->second;
    ASSERT_EQ(bytes.size(), 54u + 921600u);
    int32_t width;
    uint16_t bits;
    std::memcpy(&width, bytes.data() + 18, 4);
    std::memcpy(&bits, bytes.data() + 28, 2);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(bits, 24);
}

TEST_F(AmbrelSink, NothingIsWrittenAfterDetaching) {
    noxd::FileHandle enc = noxd::OpenFile((folder_ / "enc.bin").string().c_str(), "wb");
    noxd::FileHandle dec = noxd::OpenFile((folder_ / "dec.bin").string().c_str(), "wb");
    sink_->SetOutput(enc.get(), dec.get(), 1, nullptr);
    auto frame = EncodedFrame("before");
    Fire(2, {I4(1), ByRef(frame)});
    const std::string pixels = "decoded";
    auto desc = DecodedDesc(33, 7, 7, pixels.data());
    Decoded(desc);
    sink_->DetachOutput();
    enc.reset();
    dec.reset();

    auto late = EncodedFrame("after");
    StdoutCapture out;
    Fire(2, {I4(1), ByRef(late)});
    EXPECT_EQ(Decoded(desc), S_OK);
    EXPECT_EQ(CountOf(out.Stop(), "frames(1)"), 2u);  // still reported
    EXPECT_EQ(ReadFileBytes(folder_ / "enc.bin"), "before");
    EXPECT_EQ(ReadFileBytes(folder_ / "dec.bin"), "decoded");
}

// Frames keep coming from another thread while the files are detached and
// closed: each frame is written whole or not at all, and no write reaches a
// closed file.
TEST_F(AmbrelSink, ClosingDoesNotRaceIncomingFrames) {
    noxd::FileHandle enc = noxd::OpenFile((folder_ / "enc.bin").string().c_str(), "wb");
    sink_->SetOutput(enc.get(), nullptr, 1, nullptr);
    const std::string block(4096, 'z');
    auto frame = EncodedFrame(block);
    std::atomic<int> sent{0};
    std::atomic<bool> stop{false};
    StdoutCapture out;
    // The component keeps firing until well after the detach, however the
    // threads are scheduled.
    std::thread component([&] {
        while (!stop) {
            Fire(2, {I4(1), ByRef(frame)});
            ++sent;
        }
    });
    while (sent < 100) std::this_thread::yield();
    sink_->DetachOutput();
    const size_t sent_at_detach = static_cast<size_t>(sent);
    enc.reset();
    while (static_cast<size_t>(sent) < sent_at_detach + 100) std::this_thread::yield();
    stop = true;
    component.join();
    out.Stop();
    const std::string dumped = ReadFileBytes(folder_ / "enc.bin");
    EXPECT_GE(dumped.size(), 100u * block.size());
    // At most the frame in flight at the detach got in after it.
    EXPECT_LE(dumped.size(), (sent_at_detach + 1) * block.size());
    EXPECT_EQ(dumped.size() % block.size(), 0u);
    EXPECT_EQ(dumped.find_first_not_of('z'), std::string::npos);
}

TEST_F(AmbrelSink, InterfacesShareOneIdentityCount) {
    INOXDecodeCallback* callback = sink_;
    IUnknown* unk = static_cast<CUnk*>(sink_);
    void* found = reinterpret_cast<void*>(1);
    EXPECT_EQ(callback->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(callback->QueryInterface(IID_IDispatch, &found), E_NOINTERFACE);
    EXPECT_EQ(found, nullptr);
    ASSERT_EQ(callback->QueryInterface(DIID__INOXLiveControlEvents, &found), S_OK);
    EXPECT_EQ(found, static_cast<void*>(Events()));
    ASSERT_EQ(unk->QueryInterface(IID_INOXDecodeCallback, &found), S_OK);
    EXPECT_EQ(found, static_cast<void*>(callback));
    ASSERT_EQ(Events()->QueryInterface(IID_IDispatch, &found), S_OK);
    EXPECT_EQ(found, static_cast<void*>(Events()));
    ASSERT_EQ(Events()->QueryInterface(IID_IUnknown, &found), S_OK);
    EXPECT_EQ(found, static_cast<void*>(Events()));
    EXPECT_EQ(Events()->QueryInterface(IID_INOXDecodeCallback, &found), E_NOINTERFACE);
    ASSERT_EQ(callback->QueryInterface(IID_IUnknown, &found), S_OK);
    EXPECT_EQ(found, static_cast<void*>(unk));
    // 1 own + 5 answered above: every part counts on the same number.
    EXPECT_EQ(Events()->AddRef(), 7u);
    EXPECT_EQ(callback->Release(), 6u);
    for (int i = 0; i < 5; ++i) unk->Release();

    // The last release destroys the sink, which gives back its decoder.
    sink_->SetDecoder(&decoder_, 1);
    EXPECT_EQ(decoder_.refs, 2u);
    EXPECT_EQ(unk->Release(), 0u);
    sink_ = nullptr;
    EXPECT_EQ(decoder_.refs, 1u);
}

// Z:\... for a path of the build machine, as Wine sees it.
std::wstring WinePath(const std::string& unixPath) {
    std::wstring path = L"Z:" + Widen(unixPath);
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

using RegisterFn = HRESULT(STDAPICALLTYPE*)();

// One case for everything that registers NOXLib, since cases run in
// parallel and share the registry: the library file itself, then the
// stand-in's DllRegisterServer.
TEST_F(AmbrelSink, TypeInformationComesFromTheRegisteredLibrary) {
    const SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
    UnRegisterTypeLib(LIBID_NOXLib, 1, 0, LOCALE_NEUTRAL, kind);
    UINT count = 0;
    EXPECT_EQ(Events()->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ComPtr<ITypeInfo> info;
    EXPECT_TRUE(FAILED(Events()->GetTypeInfo(0, 0, &info)));
    wchar_t streamData[] = L"OnStreamData";
    LPOLESTR name = streamData;
    DISPID id = 0;
    EXPECT_TRUE(FAILED(Events()->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)));
    {
        StdoutCapture out;  // dispatching needs no type library
        EXPECT_EQ(Fire(1, {I4(0), I4(1), I4(0)}), S_OK);
        EXPECT_EQ(out.Stop(), "OnChannelNotify: CONNECTED\r\n");
    }

    std::wstring tlb = WinePath(NOX_TLB_PATH);
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLibEx(tlb.c_str(), REGKIND_NONE, &library), S_OK);
    ASSERT_EQ(RegisterTypeLib(library.Get(), &tlb[0], nullptr), S_OK);
    EXPECT_EQ(Events()->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 2);
    wchar_t channelNotify[] = L"OnChannelNotify";
    LPOLESTR notify = channelNotify;
    EXPECT_EQ(Events()->GetIDsOfNames(IID_NULL, &notify, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 1);
    ASSERT_EQ(Events()->GetTypeInfo(0, 0, &info), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, DIID__INOXLiveControlEvents));
    EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
    info->ReleaseTypeAttr(attributes);
    info.Reset();
    ASSERT_EQ(UnRegisterTypeLib(LIBID_NOXLib, 1, 0, LOCALE_NEUTRAL, kind), S_OK);
    EXPECT_TRUE(FAILED(Events()->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)));

    // The stand-in registers the library it carries, and removes it again.
    const noxd::UniqueLibrary nox(LoadLibraryW((ProgramFolder() / "nox.dll").wstring().c_str()));
    ASSERT_NE(nox.get(), nullptr);
    const auto registerServer = reinterpret_cast<RegisterFn>(
        reinterpret_cast<void*>(GetProcAddress(nox.get(), "DllRegisterServer")));
    const auto unregisterServer = reinterpret_cast<RegisterFn>(
        reinterpret_cast<void*>(GetProcAddress(nox.get(), "DllUnregisterServer")));
    ASSERT_TRUE(registerServer && unregisterServer);
    ASSERT_EQ(registerServer(), S_OK);
    id = 0;
    EXPECT_EQ(Events()->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(unregisterServer(), S_OK);
    EXPECT_TRUE(FAILED(Events()->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)));
}

}  // namespace
