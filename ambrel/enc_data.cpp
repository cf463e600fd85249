#include "enc_data.h"

#include <cinttypes>
#include <cstring>
#include <ctime>

#include "bmp.h"
#include "console_out.h"
#include "console_text.h"
#include "com_guard.h"
#include "nox_values.h"
#include "win32_owners.h"

using Microsoft::WRL::ComPtr;
using noxd::GuardComMethod;

namespace {

uintptr_t AddressOf(const void* p) {
    return reinterpret_cast<uintptr_t>(p);
}

// Writes one whole block; a block of 0 bytes counts as a failed write, so an
// empty frame is reported like a lost one.
bool WriteBlock(std::FILE* file, const uint8_t* data, uint32_t length) {
    return length != 0 && std::fwrite(data, 1, length, file) == length;
}

HRESULT AnswerInterface(void* found, void** ppv) {
    *ppv = found;
    if (!found) return E_NOINTERFACE;
    static_cast<IUnknown*>(found)->AddRef();
    return S_OK;
}

// The sink map of _INOXLiveControlEvents.
const SinkEntry kEncDataSinkMap[] = {
    {1, 3, {VT_I4, VT_I4, VT_I4}},  // OnChannelNotify
    {2, 2, {VT_I4, VT_VARIANT}},    // OnStreamData
};

}  // namespace

// --- CUnk -------------------------------------------------------------------

HRESULT CUnk::QueryInterface(REFIID riid, void** ppv) noexcept {
    if (!ppv) return E_POINTER;
    return AnswerInterface(FindInterface(riid), ppv);
}

void* CUnk::FindInterface(REFIID riid) {
    return IsEqualIID(riid, IID_IUnknown) ? static_cast<IUnknown*>(this) : nullptr;
}

ULONG CUnk::AddRef() noexcept {
    return static_cast<ULONG>(++m_cRef);
}

ULONG CUnk::Release() noexcept {
    const LONG count = --m_cRef;
    if (count != 0) return static_cast<ULONG>(count);
    // Back to 1 so that a reference taken and dropped by the destructor
    // cannot start the destruction again.
    m_cRef = 1;
    delete this;
    return 0;
}

// --- DispEventSink -----------------------------------------------------------

HRESULT DispEventSink::QueryInterface(REFIID riid, void** ppv) noexcept {
    if (!ppv) return E_POINTER;
    const bool answered = IsEqualIID(riid, DIID__INOXLiveControlEvents) ||
                          IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch);
    return AnswerInterface(answered ? static_cast<IDispatch*>(this) : nullptr, ppv);
}

ULONG DispEventSink::AddRef() noexcept {
    return OwnerUnknown()->AddRef();
}

ULONG DispEventSink::Release() noexcept {
    return OwnerUnknown()->Release();
}

HRESULT DispEventSink::GetTypeInfoCount(UINT* pctinfo) noexcept {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 1;
    return S_OK;
}

HRESULT DispEventSink::GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) noexcept {
    if (!ppTInfo) return E_POINTER;
    *ppTInfo = nullptr;
    if (iTInfo != 0) return DISP_E_BADINDEX;
    ComPtr<ITypeLib> library;
    const HRESULT hr = LoadRegTypeLib(LIBID_NOXLib, 1, 0, lcid, &library);
    if (FAILED(hr)) return hr;
    return library->GetTypeInfoOfGuid(DIID__INOXLiveControlEvents, ppTInfo);
}

HRESULT DispEventSink::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                     DISPID* rgDispId) noexcept {
    ComPtr<ITypeInfo> info;
    const HRESULT hr = GetTypeInfo(0, lcid, &info);
    if (FAILED(hr)) return hr;
    return DispGetIDsOfNames(info.Get(), rgszNames, cNames, rgDispId);
}

// The handlers run inside the guard: whatever they throw ends here.
HRESULT DispEventSink::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams,
                              VARIANT*, EXCEPINFO*, UINT* puArgErr) noexcept {
    return GuardComMethod("CEncData::Invoke", [&] { return DispatchEvent(dispIdMember, pDispParams, puArgErr); });
}

HRESULT DispEventSink::DispatchEvent(DISPID dispIdMember, DISPPARAMS* pDispParams, UINT* puArgErr) {
    const SinkEntry* entry = GetFuncInfo(dispIdMember);
    if (!entry) return S_OK;
    if (!pDispParams || (pDispParams->cArgs && !pDispParams->rgvarg)) return E_INVALIDARG;
    if (pDispParams->cNamedArgs) return DISP_E_NONAMEDARGS;
    if (pDispParams->cArgs != entry->paramCount) return DISP_E_BADPARAMCOUNT;

    // rgvarg holds the arguments last-first.
    noxd::Variant converted[kMaxSinkParams];
    VARIANT* args[kMaxSinkParams] = {};
    for (UINT i = 0; i < entry->paramCount; ++i) {
        const UINT position = entry->paramCount - 1 - i;
        VARIANT* given = &pDispParams->rgvarg[position];
        if (entry->paramTypes[i] == VT_VARIANT) {
            const bool byRefVariant = given->vt == (VT_BYREF | VT_VARIANT) && given->pvarVal;
            args[i] = byRefVariant ? given->pvarVal : given;
            continue;
        }
        if (FAILED(VariantChangeType(converted[i].get(), given, 0, entry->paramTypes[i]))) {
            if (puArgErr) *puArgErr = position;
            return DISP_E_TYPEMISMATCH;
        }
        args[i] = converted[i].get();
    }
    CallHandler(*entry, args);
    return S_OK;
}

// --- DecodeCallbackPart -----------------------------------------------------

HRESULT DecodeCallbackPart::QueryInterface(REFIID riid, void** ppv) noexcept {
    return OwnerUnknown()->QueryInterface(riid, ppv);
}

ULONG DecodeCallbackPart::AddRef() noexcept {
    return OwnerUnknown()->AddRef();
}

ULONG DecodeCallbackPart::Release() noexcept {
    return OwnerUnknown()->Release();
}

namespace {

// A bitmap appears under its name only once it is whole: it is written under
// a partial name and renamed when closed, so a run stopped at any moment
// leaves no half-written file that looks finished.
bool WriteWholeFile(const std::string& name, const BmpLayout& layout, const uint8_t* payload) {
    const std::string partial = PartialBmpName(name);
    bool written;
    {
        const noxd::FileHandle file = noxd::OpenFile(partial.c_str(), "wb");
        if (!file) return true;  // an unwritable folder is not reported per frame
        written = WriteBmp(file.get(), layout, payload) && std::fflush(file.get()) == 0;
    }
    if (written && MoveFileExA(partial.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileA(partial.c_str());
    return false;
}

}  // namespace

// --- CEncData ---------------------------------------------------------------

void* CEncData::FindInterface(REFIID riid) {
    if (IsEqualIID(riid, DIID__INOXLiveControlEvents)) return static_cast<DispEventSink*>(this);
    if (IsEqualIID(riid, IID_INOXDecodeCallback)) return static_cast<INOXDecodeCallback*>(this);
    if (IsEqualIID(riid, IID_IUnknown)) return static_cast<CUnk*>(this);
    return nullptr;
}

const SinkEntry* CEncData::GetFuncInfo(DISPID dispid) {
    for (const SinkEntry& entry : kEncDataSinkMap) {
        if (entry.dispid == dispid) return &entry;
    }
    return nullptr;
}

void CEncData::CallHandler(const SinkEntry& entry, VARIANT* const* args) {
    if (entry.dispid == 1) OnChannelNotify(args[0]->lVal, args[1]->lVal, args[2]->lVal);
    if (entry.dispid == 2) OnStreamData(args[0]->lVal, *args[1]);
}

void CEncData::SetOutput(std::FILE* fpEnc, std::FILE* fpDec, int32_t period, const char* base) {
    std::lock_guard<std::mutex> lock(outputLock);
    this->fpEnc = fpEnc;
    this->fpDec = fpDec;
    this->period = period > 0 ? period : 1;
    szBmpName = base ? RemoveExtension(base) : std::string();
}

void CEncData::SetDecoder(INOXDecode* pDecode, LONG lChID_dec) {
    std::lock_guard<std::mutex> lock(outputLock);
    this->pDecode = pDecode;
    this->lChID_dec = lChID_dec;
}

void CEncData::DetachOutput() {
    std::lock_guard<std::mutex> lock(outputLock);
    fpEnc = nullptr;
    fpDec = nullptr;
    szBmpName.clear();
}

void CEncData::OnChannelNotify(LONG, LONG lState, LONG lReason) {
    ConsolePrintf("%s", ChannelNoticeText(lState, lReason).c_str());
}

void CEncData::OnStreamData(LONG, VARIANT frame) {
    if (!(frame.vt & VT_BYREF) || !frame.byref) return;
    const auto* bytes = static_cast<const uint8_t*>(frame.byref);
    const nox::FrameDesc desc = nox::ReadEncodedFrameHeader(bytes);
    if (desc.size != nox::kFrameDescSize) {
        ConsolePrintf("nox version conflict1\n");
        return;
    }
    ComPtr<INOXDecode> decoder;
    LONG channel;
    {
        std::lock_guard<std::mutex> lock(outputLock);
        AppendEncoded(desc);
        decoder = pDecode;
        channel = lChID_dec;
    }
    // Outside the lock: a decoder may deliver the decoded frame from within
    // this call.
    if (decoder) {
        LONG bRet = 0;
        decoder->PushEncodedData(channel, frame, &bRet);
    }
    ConsolePrintf("input encoded frames(%i) ptr(0x%08" PRIxPTR "), data(0x%08x)\n", encodedFrames++,
                AddressOf(bytes), desc.size);
}

void CEncData::AppendEncoded(const nox::FrameDesc& desc) {
    if (!fpEnc) return;
    if (!WriteBlock(fpEnc, desc.payload, desc.length)) {
        ConsolePrintf("err: enc can't write data\n");
    }
}

HRESULT CEncData::OnDecodedFrame(LONG, LONG, LONG, BYTE* pFrameDesc, LONG, LONG) noexcept {
    return GuardComMethod("CEncData::OnDecodedFrame", [&] { return TakeDecodedFrame(pFrameDesc); });
}

HRESULT CEncData::TakeDecodedFrame(const uint8_t* bytes) {
    const int counter = decodedFrames++;
    ConsolePrintf("output decoded frames(%i) ptr(0x%08" PRIxPTR "), data(0x%08x)\n", counter,
                AddressOf(bytes), bytes ? nox::ReadEncodedFrameHeader(bytes).size : 0);
    if (!bytes) return S_FALSE;
    const nox::FrameDesc desc = nox::ReadDecodedFrameDesc(bytes);
    if (desc.size != nox::kFrameDescSize) {
        ConsolePrintf("nox version conflict2\n");
        return S_FALSE;
    }
    if (!desc.payload) {
        ConsolePrintf("err: no dec data\n");
        return S_FALSE;
    }
    if (hEvent) ResetEvent(hEvent);
    const bool handled = WriteDecoded(counter + 1, desc);
    if (hEvent) ::SetEvent(hEvent);
    return handled ? S_OK : S_FALSE;
}

bool CEncData::WriteDecoded(int n, const nox::FrameDesc& desc) {
    std::lock_guard<std::mutex> lock(outputLock);
    if (n != 1 && n % period != 0) return true;
    if (!szBmpName.empty()) return WriteBmpFile(desc);
    if (fpDec) {
        if (!WriteBlock(fpDec, desc.payload, desc.length)) {
            ConsolePrintf("err: dec can't write data\n");
        }
    }
    return true;
}

bool CEncData::WriteBmpFile(const nox::FrameDesc& desc) {
    const uint32_t stride = desc.stride;
    const uint32_t length = desc.length;
    BmpLayout layout;
    if (!ComputeBmpLayout(desc.media_type, stride, length, &layout)) {
        ConsolePrintf("err: dec frame skipped: stride %u, length %u\n", stride, length);
        return false;
    }
    const auto second = static_cast<int32_t>(std::time(nullptr));
    bmpInSecond = (bmpInSecond >= 0 && second == lastBmpSecond) ? bmpInSecond + 1 : 0;
    lastBmpSecond = second;
    const std::string name = BmpFileName(szBmpName, second, bmpInSecond);
    if (!WriteWholeFile(name, layout, desc.payload))
        ConsolePrintf("err: dec can't write data\n");
    return true;
}
