// CEncData: the event sink through which the nox component talks back to
// ambrel. It prints a line for every notice and frame, appends encoded frames
// to the encoded dump, hands them to the decoder, and writes the first and
// every period-th decoded frame raw or as a bitmap file.
//
// Threads: the component calls OnChannelNotify, OnStreamData and
// OnDecodedFrame on threads of its own (multithreaded apartment), possibly
// at the same time. SetOutput and SetDecoder are called by the main thread
// before the sink is subscribed; DetachOutput by the main thread while frames
// may still arrive.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "nox.h"
#include "nox_values.h"

// The tool's minimal reference-counted base. Every interface of an object
// built on it shares this one count.
class CUnk : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;
    virtual ~CUnk() = default;

protected:
    // The interface pointer that answers riid, or null; the default answers
    // IID_IUnknown with this part.
    virtual void* FindInterface(REFIID riid);

private:
    std::atomic<LONG> m_cRef{1};
};

// One entry of a dispatch sink map: the handler's parameter types in
// declaration order.
struct SinkEntry {
    DISPID dispid;
    UINT paramCount;
    VARTYPE paramTypes[3];
};
constexpr UINT kMaxSinkParams = 3;

// The dispatch side of an event sink: Invoke converts the arguments as the
// sink map says and calls the handler; the type information comes from the
// registered type library and is needed only by clients that ask for it.
// Every COM method is noexcept; one that can throw returns
// noxd::kComMethodFailed instead (com_guard.h).
class DispEventSink : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) noexcept override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames,
                                            LCID lcid, DISPID* rgDispId) noexcept override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                     EXCEPINFO* pExcepInfo, UINT* puArgErr) noexcept override;
    // The sink map entry for dispid, or null for an event the sink ignores.
    virtual const SinkEntry* GetFuncInfo(DISPID dispid) = 0;

protected:
    // The object's shared reference count lives behind this IUnknown.
    virtual IUnknown* OwnerUnknown() = 0;
    // Calls the handler of entry with its arguments in declaration order.
    virtual void CallHandler(const SinkEntry& entry, VARIANT* const* args) = 0;

private:
    HRESULT DispatchEvent(DISPID dispIdMember, DISPPARAMS* pDispParams, UINT* puArgErr);
};

// INOXDecodeCallback whose IUnknown is the owner's.
class DecodeCallbackPart : public INOXDecodeCallback {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;

protected:
    virtual IUnknown* OwnerUnknown() = 0;
};

class CEncData : public DispEventSink, public DecodeCallbackPart, public CUnk {
public:
    CEncData() = default;

    // Event handlers of _INOXLiveControlEvents (DISPID 1 and 2).
    virtual void STDMETHODCALLTYPE OnChannelNotify(LONG lChID, LONG lState, LONG lReason);
    virtual void STDMETHODCALLTYPE OnStreamData(LONG lChID, VARIANT frame);

    HRESULT STDMETHODCALLTYPE OnDecodedFrame(LONG lChID, LONG lWidth, LONG lHeight,
                                             BYTE* pFrameDesc, LONG lFrameNo,
                                             LONG lReserved) noexcept override;

    const SinkEntry* GetFuncInfo(DISPID dispid) override;

    // The dump files (owned by the caller) and the frame period; a base name
    // selects bitmap files instead of the raw decoded dump.
    void SetOutput(std::FILE* fpEnc, std::FILE* fpDec, int32_t period, const char* base);
    void SetDecoder(INOXDecode* pDecode, LONG lChID_dec);
    // Signalled while no decoded frame is being written; owned by the caller.
    void SetWriteIdleEvent(HANDLE event) { hEvent = event; }
    // Forgets the dump files, waiting for a write in progress to finish:
    // afterwards the caller may close them, and the sink writes nothing more.
    void DetachOutput();

protected:
    IUnknown* OwnerUnknown() override { return static_cast<CUnk*>(this); }
    void* FindInterface(REFIID riid) override;
    void CallHandler(const SinkEntry& entry, VARIANT* const* args) override;

private:
    HRESULT TakeDecodedFrame(const uint8_t* bytes);
    void AppendEncoded(const nox::FrameDesc& desc);
    // Both false only for a frame that has no bitmap layout.
    bool WriteDecoded(int n, const nox::FrameDesc& desc);
    bool WriteBmpFile(const nox::FrameDesc& desc);

    // Guards the output fields below, pDecode, and every write to the files
    // they name, so DetachOutput never lets a file close under a write.
    std::mutex outputLock;
    Microsoft::WRL::ComPtr<INOXDecode> pDecode;
    LONG lChID_dec = 0;
    std::FILE* fpEnc = nullptr;
    std::FILE* fpDec = nullptr;
    int32_t period = 0;
    std::string szBmpName;
    int32_t lastBmpSecond = 0;
    int bmpInSecond = -1;  // bitmaps written in lastBmpSecond before the last; -1: none yet
    HANDLE hEvent = nullptr;
    std::atomic<int> encodedFrames{0};
    std::atomic<int> decodedFrames{0};
};
