// Internals of the stand-in nox.dll shared by its objects.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "nox.h"

namespace noxsim {

// The fault switches of NOX_SIM_FAULT, read when called.
uint32_t ActiveFaults();

// Appends one line to the call log named by NOX_SIM_LOG, if any. Any thread.
void LogCall(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The frame descriptor both kinds of frame carry (44 bytes, little-endian):
// 0 size (44), 4 sequence, 8 media type, 12 width, 16 height, 20 time stamp
// in milliseconds, 24 flags (1: key frame), 28 channel, 32 stride, 36 payload
// length, 40 payload address. An encoded payload follows the descriptor at
// 44 and its address field is 0. A decoded descriptor's address field is a
// native pointer, so in a 64-bit build that descriptor takes 48 bytes.
constexpr uint32_t kDescSize = 44;
constexpr size_t kPayloadAddressOffset = 40;
constexpr size_t kDecodedDescBytes = kPayloadAddressOffset + sizeof(void*);
struct FrameDescFields {
    uint32_t size = kDescSize;
    uint32_t sequence = 0;
    uint32_t mediaType = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t timestamp = 0;
    uint32_t flags = 0;
    uint32_t channel = 0;
    uint32_t stride = 0;
    uint32_t length = 0;
    const void* payload = nullptr;  // decoded frames only
};
// Writes the 44 bytes of an encoded frame's descriptor (address field 0).
void WriteFrameDesc(const FrameDescFields& fields, uint8_t* desc);
// Writes kDecodedDescBytes bytes: the descriptor with the payload address.
void WriteDecodedFrameDesc(const FrameDescFields& fields, uint8_t* desc);

// The reference count of a stand-in object and an IDispatch without type
// information: the stand-in is bound by its vtable only.
template <class Interface>
class DualObject : public Interface {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG count = --refs_;
        if (count == 0) delete this;
        return count;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

protected:
    virtual ~DualObject() = default;

private:
    std::atomic<ULONG> refs_{1};
};

HRESULT CreateLiveControl(REFIID iid, void** ppv);
HRESULT CreateDecoder(REFIID iid, void** ppv);

}  // namespace noxsim
