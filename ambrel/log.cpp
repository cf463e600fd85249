#include "log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "console_out.h"
#include "console_text.h"
#include "win32_owners.h"

namespace {

int g_threshold = 0;
int g_mode = kLogSilent;
noxd::FileHandle g_file;

}  // namespace

void LogInit(int level, const char* path, int mode) {
    g_threshold = level;
    g_mode = mode;
    if (path && path[0]) g_file = noxd::OpenFile(path, "w+b");
}

void LogMessage(int level, const char* format, ...) {
    if (g_mode == kLogSilent || level > g_threshold) return;
    char message[kMaxLogLine + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);

    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    const std::string line = FormatLogLine(local->tm_hour, local->tm_min, local->tm_sec, message);
    if (g_mode == kLogDebugger) {
        OutputDebugStringA(line.c_str());
    } else {
        ConsolePrintf("%s", line.c_str());
    }
    if (g_file) {
        std::fseek(g_file.get(), 0, SEEK_END);
        std::fputs(line.c_str(), g_file.get());
        std::fflush(g_file.get());
    }
}
