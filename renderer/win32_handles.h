// Owners for the Win32 objects the renderer makes: one small type per handle
// kind, each freeing its handle exactly once with the call that matches it.
#pragma once

#include <windows.h>

#include <utility>

namespace noxd {

// A move-only owner of one handle value; Traits says what "empty" is and how to free it.
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
    explicit operator bool() const { return value_ != Traits::empty(); }

    Value release() { return std::exchange(value_, Traits::empty()); }
    void reset(Value value = Traits::empty()) {
        Value old = std::exchange(value_, value);
        if (old != Traits::empty()) Traits::close(old);
    }

private:
    Value value_ = Traits::empty();
};

// Kernel objects: events, mutexes, threads.
struct KernelHandleTraits {
    using Value = HANDLE;
    static Value empty() { return nullptr; }
    static void close(Value h) { CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// A GDI object made with Create* (brush, bitmap, font).
struct GdiObjectTraits {
    using Value = HGDIOBJ;
    static Value empty() { return nullptr; }
    static void close(Value h) { DeleteObject(h); }
};
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;

// A memory device context made with CreateCompatibleDC.
struct MemoryDcTraits {
    using Value = HDC;
    static Value empty() { return nullptr; }
    static void close(Value h) { DeleteDC(h); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

// A WGL rendering context; deleting it also makes it not current.
struct GlContextTraits {
    using Value = HGLRC;
    static Value empty() { return nullptr; }
    static void close(Value h) {
        if (wglGetCurrentContext() == h) wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(h);
    }
};
using UniqueGlContext = UniqueHandle<GlContextTraits>;

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

}  // namespace noxd
