// Counts what the process holds, to show that a renderer leaves nothing behind.
#pragma once

#include <windows.h>

#include <string>

namespace noxd_test {

// Kernel handles open in this process (GetProcessHandleCount is 0 on Wine,
// so the system handle table is read instead).
int CountOwnHandles();

// Threads of this process.
int CountOwnThreads();

// CPU time (user + kernel) a thread has used so far, in milliseconds.
double ThreadCpuMs(DWORD thread_id);

// Finds a top-level window by caption within `timeout_ms`, or null.
HWND WaitForWindow(const wchar_t* caption, DWORD timeout_ms);

// The text of the static control of a message box.
std::wstring MessageBoxText(HWND box);

}  // namespace noxd_test
