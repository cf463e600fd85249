#include "whole_file.h"

#include <atomic>

#include "win32_owners.h"

namespace noxd {

namespace {

// A reader that opened the old file without FILE_SHARE_DELETE blocks the
// rename until it closes it; readers of pictures hold files briefly.
constexpr int kRenameTries = 500;
constexpr DWORD kRenamePauseMs = 10;

std::atomic<unsigned> temporary_serial{0};

std::wstring TemporaryNameBeside(const std::wstring& path) {
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(temporary_serial++) + L".tmp";
}

HRESULT LastError() { return HRESULT_FROM_WIN32(GetLastError()); }

HRESULT WriteNewFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    const HANDLE raw = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return LastError();
    const UniqueKernelHandle file(raw);
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return LastError();
    return written == bytes.size() ? S_OK : HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
}

bool RenameBlockedByReader(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
}

}  // namespace

HRESULT WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    const std::wstring temporary = TemporaryNameBeside(path);
    const HRESULT written = WriteNewFile(temporary, bytes);
    if (written != S_OK) {
        DeleteFileW(temporary.c_str());
        return written;
    }
    DWORD error = ERROR_SUCCESS;
    for (int i = 0; i < kRenameTries; ++i) {
        if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return S_OK;
        error = GetLastError();
        if (!RenameBlockedByReader(error)) break;
        Sleep(kRenamePauseMs);
    }
    DeleteFileW(temporary.c_str());
    return HRESULT_FROM_WIN32(error);
}

}  // namespace noxd
