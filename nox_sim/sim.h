// Internals of the stand-in nox.dll shared by its objects.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "nox.h"
#include "nox_values.h"
#include "sim_media.h"

namespace noxsim {

// The fault switches of NOX_SIM_FAULT, read when called.
uint32_t ActiveFaults();
// The row alignment of NV12 pictures that NOX_SIM_NV12 asks for; 0 when it
// asks for none. Read when called.
uint32_t Nv12Alignment();
// The stream's picture sizes of NOX_SIM_SIZES (empty: the default size) and
// the frames each lasts, NOX_SIM_SIZE_FRAMES. Read when called.
std::vector<PictureSize> StreamSizes();
uint32_t FramesPerSize();
// The pixels' shape NOX_SIM_SAR names; square when it names none. Read when called.
nox::SampleAspect SampleAspectOfPixels();

// Appends one line to the call log named by NOX_SIM_LOG, if any. Any thread.
void LogCall(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The reference count of a stand-in object and an IDispatch without type
// information: the stand-in is bound by its vtable only. Every COM method of
// the stand-in is noexcept; one whose work can throw runs it through
// noxd::GuardComMethod and then returns noxd::kComMethodFailed.
template <class Interface>
class DualObject : public Interface {
public:
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const ULONG count = --refs_;
        if (count == 0) delete this;
        return count;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) noexcept override {
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
