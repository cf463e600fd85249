// The owners of every Win32, GDI, WGL and COM resource the toolkit's programs
// hold: one small type per kind of resource, each freeing what it holds
// exactly once, with the call that matches it, when it goes out of scope or
// is reset. Header-only, shared by noxd.dll, ambrel.exe, the stand-in nox.dll,
// the sample hosts and the tests.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <memory>
#include <utility>

namespace noxd {

// A move-only owner of one handle value; Traits says what "none" is, whether
// a value is held, and how to free it.
template <typename Traits>
class UniqueHandle {
public:
    using Value = typename Traits::Value;

    UniqueHandle() = default;
    explicit UniqueHandle(Value value) : value_(value) {}
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Value get() const { return value_; }
    explicit operator bool() const { return Traits::held(value_); }

    // Gives the value up without freeing it.
    Value release() { return std::exchange(value_, Traits::none()); }
    void reset(Value value = Traits::none()) {
        const Value old = std::exchange(value_, value);
        if (Traits::held(old)) Traits::close(old);
    }

private:
    Value value_ = Traits::none();
};

// Kernel objects: events, mutexes, threads, processes, files, pipe ends.
// Null and INVALID_HANDLE_VALUE both mean "none".
struct KernelHandleTraits {
    using Value = HANDLE;
    static Value none() { return nullptr; }
    static bool held(Value h) { return h && h != INVALID_HANDLE_VALUE; }
    static void close(Value h) { CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// A handle for which null means "none", freed by one call.
template <typename Handle, auto Close>
struct NullIsNoneTraits {
    using Value = Handle;
    static Value none() { return nullptr; }
    static bool held(Value h) { return h != nullptr; }
    static void close(Value h) { Close(h); }
};

// A GDI object made with Create* (brush, bitmap, font), typed as it was made.
using UniqueGdiObject = UniqueHandle<NullIsNoneTraits<HGDIOBJ, DeleteObject>>;
using UniqueBitmap = UniqueHandle<NullIsNoneTraits<HBITMAP, DeleteObject>>;
using UniqueFont = UniqueHandle<NullIsNoneTraits<HFONT, DeleteObject>>;

// A memory device context made with CreateCompatibleDC.
using UniqueMemoryDc = UniqueHandle<NullIsNoneTraits<HDC, DeleteDC>>;

// A window of the calling thread's; destroyed on that thread.
using UniqueWindow = UniqueHandle<NullIsNoneTraits<HWND, DestroyWindow>>;

// A loaded library; release() keeps it loaded for the rest of the process.
using UniqueLibrary = UniqueHandle<NullIsNoneTraits<HMODULE, FreeLibrary>>;

// A WGL rendering context; deleting it also makes it not current.
inline void DeleteGlContext(HGLRC context) {
    if (wglGetCurrentContext() == context) wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
}
using UniqueGlContext = UniqueHandle<NullIsNoneTraits<HGLRC, DeleteGlContext>>;

// A C runtime file.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

inline FileHandle OpenFile(const char* path, const char* mode) { return FileHandle(std::fopen(path, mode)); }

// A window's device context got with GetDC; it is released to its window.
class WindowDc {
public:
    WindowDc() = default;
    explicit WindowDc(HWND window) : window_(window), dc_(window ? GetDC(window) : nullptr) {}
    WindowDc(WindowDc&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&& other) noexcept {
        reset();
        window_ = std::exchange(other.window_, nullptr);
        dc_ = std::exchange(other.dc_, nullptr);
        return *this;
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() { reset(); }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void reset() {
        if (dc_) ReleaseDC(window_, dc_);
        dc_ = nullptr;
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// The screen's device context, got with GetDC(nullptr).
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Puts an object into a device context for one scope and puts the old one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A BSTR; never null once made from text (an empty text gives "").
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const wchar_t* text) : bstr_(SysAllocString(text)) {}
    Bstr(Bstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        std::swap(bstr_, other.bstr_);
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(bstr_); }

    // The ANSI text converted with the calling thread's code page.
    static Bstr FromAnsi(const char* text) {
        Bstr result;
        const int length = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
        if (length <= 0) return Bstr(L"");
        result.bstr_ = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
        if (result.bstr_) MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, result.bstr_, length);
        return result;
    }

    operator BSTR() const { return bstr_; }

private:
    BSTR bstr_ = nullptr;
};

// A VARIANT that is cleared when it goes.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&value_); }
    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }

private:
    VARIANT value_;
};

// One counted IUnknown reference that passes as a plain IUnknown*, for calls
// that take the object itself. Other interface references are held by
// Microsoft::WRL::ComPtr.
class UnknownRef {
public:
    UnknownRef() = default;
    UnknownRef(const UnknownRef&) = delete;
    UnknownRef& operator=(const UnknownRef&) = delete;
    ~UnknownRef() {
        if (p_) p_->Release();
    }
    operator IUnknown*() const { return p_; }
    // Where a QueryInterface stores the reference it gives.
    void** put() { return reinterpret_cast<void**>(&p_); }

private:
    IUnknown* p_ = nullptr;
};

// COM entered on the calling thread; left again when the owner goes, if
// entering succeeded. Every reference got in the apartment must be gone by then.
class ComApartment {
public:
    // Nothing entered yet: Adopt() takes the result of the caller's own entry.
    ComApartment() = default;
    explicit ComApartment(DWORD model) { Adopt(CoInitializeEx(nullptr, model)); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }

    void Adopt(HRESULT entered) { result_ = entered; }
    HRESULT result() const { return result_; }

private:
    HRESULT result_ = CO_E_NOTINITIALIZED;
};

}  // namespace noxd
