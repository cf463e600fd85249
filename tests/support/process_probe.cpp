#include "process_probe.h"

#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
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

namespace {

bool RunsOnWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// One slot of Wine's GDI handle table, the same on both architectures; the
// table belongs to the process and a used slot has a type.
#pragma pack(push, 1)
struct WineGdiSlot {
    uint64_t object;
    uint16_t owner_pid;
    uint16_t count;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t user_pointer;
};
#pragma pack(pop)
static_assert(sizeof(WineGdiSlot) == 24, "Wine's GDI handle slot");
constexpr int kWineGdiSlots = 0x10000;
// Where the process environment block keeps the table's address.
constexpr size_t kPebGdiTableOffset = sizeof(void*) == 4 ? 0x94 : 0xF8;

using QueryProcessInformation = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

int CountWineGdiObjects() {
    auto query = reinterpret_cast<QueryProcessInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    if (query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) < 0) return -1;
    const auto* peb = reinterpret_cast<const char*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const WineGdiSlot* const*>(peb + kPebGdiTableOffset);
    if (!table) return -1;
    int count = 0;
    for (int i = 0; i < kWineGdiSlots; ++i)
        if (table[i].type) ++count;
    return count;
}

BOOL CALLBACK CountWindowAndChildren(HWND window, LPARAM count) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(window, CountWindowAndChildren, count);
    return TRUE;
}

int CountWineWindows() {
    int count = 0;
    EnumWindows(CountWindowAndChildren, reinterpret_cast<LPARAM>(&count));
    for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
        CountWindowAndChildren(w, reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace

int CountOwnGdiObjects() {
    return RunsOnWine() ? CountWineGdiObjects()
                        : static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

int CountOwnUserObjects() {
    return RunsOnWine() ? CountWineWindows()
                        : static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
}

Holdings TakeHoldings() {
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    return {CountOwnHandles(), CountOwnGdiObjects(), CountOwnUserObjects(), CountOwnThreads(),
            static_cast<long long>(memory.PrivateUsage)};
}

Watchdog::Watchdog(const char* what, const std::atomic<long>& progress, DWORD idle_ms)
    : thread_([=, &progress] { Watch(what, progress, idle_ms); }) {}

Watchdog::~Watchdog() {
    done_ = true;
    thread_.join();
}

void Watchdog::Watch(const char* what, const std::atomic<long>& progress, DWORD idle_ms) {
    long last = progress.load();
    DWORD still_since = GetTickCount();
    for (; !done_; Sleep(100)) {
        const long now = progress.load();
        if (now != last) {
            last = now;
            still_since = GetTickCount();
        } else if (GetTickCount() - still_since >= idle_ms) {
            std::fprintf(stderr, "%s: no progress for %lu ms, a hang\n", what, idle_ms);
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
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
