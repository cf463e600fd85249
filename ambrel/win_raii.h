// Owners for Win32 and OLE resources: each closes or frees what it holds
// exactly once, when it goes out of scope or is reset.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

inline FileHandle OpenFile(const char* path, const char* mode) {
    return FileHandle(std::fopen(path, mode));
}

// A kernel handle (event, thread, process, pipe end). Null and
// INVALID_HANDLE_VALUE both mean "none".
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE release() { return std::exchange(handle_, nullptr); }
    void reset(HANDLE handle = nullptr) {
        if (*this) CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
};

// A loaded library; release() keeps it loaded for the rest of the process.
class LoadedLibrary {
public:
    explicit LoadedLibrary(HMODULE module) : module_(module) {}
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    ~LoadedLibrary() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE get() const { return module_; }
    void release() { module_ = nullptr; }

private:
    HMODULE module_;
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

// Minimal wide/ANSI conversion for paths and messages built in tests and
// tools; uses the process's ANSI code page.
inline std::wstring Widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    return wide;
}
