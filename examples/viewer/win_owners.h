// One owner for each Win32 and COM resource the viewer holds: each frees what
// it holds exactly once, when it goes out of scope.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <memory>
#include <string>
#include <type_traits>

namespace viewer {

struct KernelHandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// An event or thread handle; null means none.
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, KernelHandleCloser>;

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
// A window of the calling thread's; destroyed on that thread.
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// A device context of a window (GetDC), given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context until the scope ends.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    ~Selected() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A BSTR copied from UTF-8 text; never null (empty text gives "").
class Bstr {
public:
    explicit Bstr(const std::string& text);
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(bstr_); }
    operator BSTR() const { return bstr_; }

private:
    BSTR bstr_;
};

// COM on the calling thread for the scope, in the multithreaded apartment:
// the component calls back on threads of its own.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    HRESULT result() const { return result_; }

private:
    HRESULT result_;
};

// UTF-8 to UTF-16 and back, for command-line text and paths.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();

}  // namespace viewer
