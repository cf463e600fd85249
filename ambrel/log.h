// ambrel's timestamped log. Called from the main thread only: the state is
// not locked.
#pragma once

// Output modes: 1 writes nowhere, 2 to the debugger, anything else to
// standard output. A log file, when opened, gets every line as well.
constexpr int kLogSilent = 1;
constexpr int kLogDebugger = 2;
constexpr int kLogConsole = 3;

// Sets the level threshold and the mode; a non-empty path (re)opens the log
// file, emptying it.
void LogInit(int level, const char* path, int mode);

// Writes "nox HH:MM:SS <message>\n" when level is not above the threshold.
void LogMessage(int level, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
