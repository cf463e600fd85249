// Counts what the process holds, to show that a renderer leaves nothing behind.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace noxd_test {

// Kernel handles open in this process (GetProcessHandleCount is 0 on Wine,
// so the system handle table is read instead).
int CountOwnHandles();

// Threads of this process.
int CountOwnThreads();

// GDI objects of this process (GetGuiResources is 0 on Wine, so there the
// process's GDI handle table is read instead).
int CountOwnGdiObjects();

// USER objects of this process; on Wine, where GetGuiResources is 0, its
// windows: top-level, message-only and their children.
int CountOwnUserObjects();

// What the process holds, to compare before and after many cycles.
struct Holdings {
    int handles;
    int gdi_objects;
    int user_objects;
    int threads;
    long long private_bytes;
};
Holdings TakeHoldings();

// Ends the process with a message on stderr when `progress` has not moved
// for `idle_ms`: a hung case fails at once, naming itself, instead of at
// ctest's timeout.
class Watchdog {
public:
    Watchdog(const char* what, const std::atomic<long>& progress, DWORD idle_ms);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    void Watch(const char* what, const std::atomic<long>& progress, DWORD idle_ms);
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// CPU time (user + kernel) a thread has used so far, in milliseconds.
double ThreadCpuMs(DWORD thread_id);

// Finds a top-level window by caption within `timeout_ms`, or null.
HWND WaitForWindow(const wchar_t* caption, DWORD timeout_ms);

// The text of the static control of a message box.
std::wstring MessageBoxText(HWND box);

}  // namespace noxd_test
