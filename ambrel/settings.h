// Run settings of ambrel and the command-line parser that fills them.
// Plain logic: no platform headers, so the parser is testable on its own.
#pragma once

#include <cstdint>
#include <ostream>

// Size of every text field: at most 99 characters and the terminating NUL.
constexpr int kFieldSize = 100;

// The settings part of the run record. Text is in the console's ANSI code
// page, as the command line delivers it.
struct Settings {
    char szAddr[kFieldSize] = {};
    char szLogin[kFieldSize] = {};
    char szPass[kFieldSize] = {};
    char szEncFile[kFieldSize] = {};
    int32_t format = 0;  // 0 YUY2, 1 RGB32, 2 RGB24; other values are kept
    char szDecFile[kFieldSize] = {};
    int32_t bmp = 0;     // 1 when "-bmp" was given
    int32_t period = 0;  // first and every period-th decoded frame is written
};

// Fills *pini from argv[1..argc-1], prints warnings and the chosen file names
// to out, and applies the defaults. Returns 0 when the run can go on, -1 when
// it cannot (no address, or a value too long for its field).
int ParseCommandLine(int argc, const char* const argv[], Settings* pini, std::ostream& out);

// The banner, the usage text and the closing prompt shown when the run
// cannot start.
void PrintUsage(std::ostream& out);
