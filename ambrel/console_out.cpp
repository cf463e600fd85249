#include "console_out.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

#include "slim_lock.h"

namespace {

// Held for one message's single write to standard output. A slim lock, which
// has no destructor: a component that goes on calling back while the
// process exits still finds it working.
noxd::SlimLock console_lock;

}  // namespace

void ConsolePrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        std::string text(static_cast<size_t>(length) + 1, '\0');
        std::vsnprintf(&text[0], text.size(), format, again);
        std::lock_guard<noxd::SlimLock> writing(console_lock);
        std::fwrite(text.data(), 1, static_cast<size_t>(length), stdout);
        std::fflush(stdout);
    }
    va_end(again);
}
