#include "process_probe.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <vector>

namespace noxd_test {

namespace {

struct HandleEntry {
    ULONG owner_pid;
    BYTE object_type;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};

constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

using QuerySystemInformation = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);

}  // namespace

int CountOwnHandles() {
    auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<BYTE> buffer(1 << 16);
    NTSTATUS status;
    while ((status = query(kSystemHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), nullptr)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status < 0) return -1;
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    const DWORD pid = GetCurrentProcessId();
    int count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].owner_pid == pid) ++count;
    return count;
}

int CountOwnThreads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL ok = Thread32First(snapshot, &entry); ok; ok = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

double ThreadCpuMs(DWORD thread_id) {
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, thread_id);
    FILETIME created, exited, kernel, user;
    double ms = -1;
    if (thread && GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
        auto to_ms = [](FILETIME t) {
            return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
        };
        ms = to_ms(kernel) + to_ms(user);
    }
    if (thread) CloseHandle(thread);
    return ms;
}

HWND WaitForWindow(const wchar_t* caption, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    do {
        if (HWND w = FindWindowW(nullptr, caption)) return w;
        Sleep(20);
    } while (GetTickCount() - start < timeout_ms);
    return nullptr;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[512] = {};
    // The message box keeps its text in the static control with id 0xFFFF.
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

}  // namespace noxd_test
