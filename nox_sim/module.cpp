// Entry points of the stand-in nox.dll: class factories, registration, and
// the environment switches shared by its objects.
#include <windows.h>
#include <olectl.h>
#include <wrl/client.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "sim.h"
#include "sim_media.h"
#include "com_guard.h"
#include "win32_owners.h"

using Microsoft::WRL::ComPtr;
using noxd::GuardComMethod;

namespace noxsim {

namespace {

HMODULE g_module = nullptr;
constexpr uint32_t kMaxNv12Alignment = 4096;
constexpr uint32_t kMaxFramesPerSize = 1000000;
// Serialises call-log lines from the caller's and the stream threads.
std::mutex g_logLock;

std::string EnvironmentText(const char* name) {
    char value[1024];
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

using Creator = HRESULT (*)(REFIID, void**);

// A class factory with the lifetime of the module: its count is not kept.
class ClassFactory : public IClassFactory {
public:
    ClassFactory(Creator create, uint32_t createFault) : create_(create), createFault_(createFault) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 2; }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) noexcept override {
        return GuardComMethod("IClassFactory::CreateInstance", [&]() -> HRESULT {
            if (!ppv) return E_POINTER;
            *ppv = nullptr;
            if (outer) return CLASS_E_NOAGGREGATION;
            if (ActiveFaults() & createFault_) return E_UNEXPECTED;
            return create_(riid, ppv);
        });
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) noexcept override { return S_OK; }

private:
    Creator create_;
    uint32_t createFault_;
};

ClassFactory g_liveFactory(CreateLiveControl, kFaultCreateLive);
ClassFactory g_decodeFactory(CreateDecoder, kFaultCreateDecode);

const wchar_t* const kClassKeys[] = {
    L"CLSID\\{575A6BF1-1460-4907-9157-BECB7DCAC655}",
    L"CLSID\\{CA1B836A-156F-40bd-A2F5-F7AABEFAD692}",
};

std::wstring ModulePath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

HRESULT RegisterClassKey(const wchar_t* key, const std::wstring& path) {
    const std::wstring server = std::wstring(key) + L"\\InprocServer32";
    const auto bytes = [](const std::wstring& s) { return static_cast<DWORD>((s.size() + 1) * sizeof(wchar_t)); };
    const std::wstring model = L"Both";
    LSTATUS status = RegSetKeyValueW(HKEY_CLASSES_ROOT, server.c_str(), nullptr, REG_SZ,
                                     path.c_str(), bytes(path));
    if (status == ERROR_SUCCESS) {
        status = RegSetKeyValueW(HKEY_CLASSES_ROOT, server.c_str(), L"ThreadingModel", REG_SZ,
                                 model.c_str(), bytes(model));
    }
    return status == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

}  // namespace

uint32_t ActiveFaults() {
    return ParseFaults(EnvironmentText("NOX_SIM_FAULT"));
}

uint32_t Nv12Alignment() { return ParseCount(EnvironmentText("NOX_SIM_NV12"), 1, kMaxNv12Alignment); }

std::vector<PictureSize> StreamSizes() { return ParseSizes(EnvironmentText("NOX_SIM_SIZES")); }

nox::SampleAspect SampleAspectOfPixels() { return ParseSampleAspect(EnvironmentText("NOX_SIM_SAR")); }

uint32_t FramesPerSize() {
    const uint32_t frames = ParseCount(EnvironmentText("NOX_SIM_SIZE_FRAMES"), 1, kMaxFramesPerSize);
    return frames ? frames : kDefaultFramesPerSize;
}

void LogCall(const char* format, ...) {
    const std::string path = EnvironmentText("NOX_SIM_LOG");
    if (path.empty()) return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::lock_guard<std::mutex> lock(g_logLock);
    const noxd::FileHandle file = noxd::OpenFile(path.c_str(), "ab");
    if (file) std::fprintf(file.get(), "%s\n", line);
}

}  // namespace noxsim

using namespace noxsim;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

// The exports are declared by the system's headers without noexcept; the
// guard keeps every exception inside them all the same.
STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** ppv) {
    return GuardComMethod("DllGetClassObject", [&]() -> HRESULT {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        const uint32_t faults = ActiveFaults();
        if (IsEqualCLSID(clsid, CLSID_NOXLiveControl) && !(faults & kFaultLiveFactory)) {
            return g_liveFactory.QueryInterface(iid, ppv);
        }
        if (IsEqualCLSID(clsid, CLSID_NOXDecode) && !(faults & kFaultDecodeFactory)) {
            return g_decodeFactory.QueryInterface(iid, ppv);
        }
        return CLASS_E_CLASSNOTAVAILABLE;
    });
}

// Streaming threads may outlive every object (see "linger"): never unload.
STDAPI DllCanUnloadNow() {
    return S_FALSE;
}

// Registers the two classes and the NOXLib type library carried as
// resource TYPELIB 1.
STDAPI DllRegisterServer() {
    return GuardComMethod("DllRegisterServer", []() -> HRESULT {
        const std::wstring path = ModulePath();
        if (path.empty()) return SELFREG_E_CLASS;
        ComPtr<ITypeLib> library;
        HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, &library);
        if (FAILED(hr)) return SELFREG_E_TYPELIB;
        for (const wchar_t* key : kClassKeys) {
            hr = RegisterClassKey(key, path);
            if (FAILED(hr)) return hr;
        }
        return S_OK;
    });
}

STDAPI DllUnregisterServer() {
    const HRESULT hr = UnRegisterTypeLib(LIBID_NOXLib, 1, 0, LOCALE_NEUTRAL,
                                         sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    for (const wchar_t* key : kClassKeys) RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    return FAILED(hr) && hr != TYPE_E_REGISTRYACCESS ? SELFREG_E_TYPELIB : S_OK;
}
