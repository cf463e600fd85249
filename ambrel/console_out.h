// ambrel's console output. The decoder's thread, the stream thread and the
// main thread all report on standard output; each message goes out whole,
// so the lines of different threads never mix.
#pragma once

// printf-style; any thread.
void ConsolePrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
