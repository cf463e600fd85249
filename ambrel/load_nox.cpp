#include "load_nox.h"

#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "win32_owners.h"

using Microsoft::WRL::ComPtr;

namespace {

const wchar_t kLiveClass[] = L"{575A6BF1-1460-4907-9157-BECB7DCAC655}";
const wchar_t kDecoderClass[] = L"{CA1B836A-156F-40bd-A2F5-F7AABEFAD692}";

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

void ShowError(const char* text) {
    MessageBoxA(nullptr, text, "Error", MB_OK);
}

// "<folder of the running executable>\nox.dll", or empty when the
// executable's path does not fit the buffer.
std::string ComponentPath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string folder(path, length);
    const size_t cut = folder.find_last_of('\\');
    folder.resize(cut == std::string::npos ? 0 : cut);
    return folder + "\\nox.dll";
}

HRESULT GetFactory(GetClassObjectFn getClassObject, const wchar_t* classText,
                   ComPtr<IClassFactory>& factory) {
    CLSID clsid;
    const HRESULT hr = CLSIDFromString(classText, &clsid);
    if (FAILED(hr)) return hr;
    return getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf()));
}

// True only for S_OK. A failed call leaves no pointer behind, whatever the
// component wrote, since the caller releases what it finds there.
bool CreateObject(IClassFactory* factory, REFIID iid, void** object) {
    const HRESULT hr = factory->CreateInstance(nullptr, iid, object);
    if (FAILED(hr)) *object = nullptr;
    return hr == S_OK;
}

}  // namespace

int LoadNOX(INOXLiveControl** ppLive, INOXDecode** ppDecode) {
    if (!ppLive || !ppDecode) return 0;
    const std::string path = ComponentPath();
    noxd::UniqueLibrary library(path.empty() ? nullptr : LoadLibraryA(path.c_str()));
    if (!library.get()) {
        ShowError("nox.dll is not found");
        return 0;
    }
    const auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "DllGetClassObject")));
    ComPtr<IClassFactory> factory;
    if (!getClassObject || GetFactory(getClassObject, kLiveClass, factory) != S_OK) {
        ShowError("nox.dll is not found");
        return 0;
    }
    // From here objects of the library may exist: it stays loaded.
    library.release();
    if (!CreateObject(factory.Get(), IID_INOXLiveControl, reinterpret_cast<void**>(ppLive))) {
        ShowError("nox.dll is invalid");
        return 0;
    }
    factory.Reset();
    if (GetFactory(getClassObject, kDecoderClass, factory) != S_OK) {
        ShowError("nox.dll is not found");
        return 0;
    }
    if (!CreateObject(factory.Get(), IID_INOXDecode, reinterpret_cast<void**>(ppDecode))) {
        ShowError("nox.dll is invalid");
        return 0;
    }
    return 1;
}
