#include <cstdlib>

#include "benches.h"
#include "floor_pipeline.h"

namespace bench {

namespace {

std::string LoadedNoxd() {
    HMODULE module = GetModuleHandleW(L"noxd.dll");
    char path[MAX_PATH] = {};
    if (!module || !GetModuleFileNameA(module, path, MAX_PATH)) return "noxd.dll not loaded";
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    SYSTEMTIME written = {};
    if (GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        FileTimeToSystemTime(&data.ftLastWriteTime, &written);
    return Format("%s (%lu bytes, written %04u-%02u-%02u %02u:%02u:%02u UTC)", path,
                  static_cast<unsigned long>(data.nFileSizeLow), written.wYear, written.wMonth,
                  written.wDay, written.wHour, written.wMinute, written.wSecond);
}

std::string WineVersion() {
    using GetVersion = const char*(__cdecl*)();
    auto get = reinterpret_cast<GetVersion>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
    return get ? get() : "not Wine";
}

std::string FloorGl() {
    Worker worker;
    std::string gl = "no GL context";
    worker.Run([&] {
        FloorPipeline floor;
        if (floor.Open({8, 64, 64, 0, 0, 64, 64})) gl = CurrentGlDescription();
    });
    return gl;
}

// The value of an environment variable, or `fallback` when it is not set.
std::string Environment(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value ? value : fallback;
}

}  // namespace

std::string BuildDescription() {
    SYSTEM_INFO system = {};
    GetNativeSystemInfo(&system);
    // ./run bench names the display with its X server's screen; Wine passes
    // the Unix environment on, the display and the prefix with it.
    const std::string screen = Environment("NOXD_BENCH_SCREEN", Environment("DISPLAY", "no display").c_str());
    return Format("build:  %s bench (%s), built " __DATE__ " " __TIME__ ", source %s\n"
                  "noxd:   %s\n"
                  "wine:   %s, prefix %s\n"
                  "GL:     %s\n"
                  "screen: X display %s; %dx%d and %lu processors seen by Windows\n",
                  sizeof(void*) == 8 ? "x86_64" : "i686", NOXD_BENCH_BUILD_TYPE,
                  Environment("NOXD_BENCH_SOURCE", "unknown").c_str(), LoadedNoxd().c_str(),
                  WineVersion().c_str(), Environment("WINEPREFIX", "unknown").c_str(), FloorGl().c_str(),
                  screen.c_str(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                  static_cast<unsigned long>(system.dwNumberOfProcessors));
}

}  // namespace bench
