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
        if (floor.Open({8, 64, 64, 0, 0, 64, 64})) gl = floor.GlDescription();
    });
    return gl;
}

}  // namespace

std::string BuildDescription() {
    SYSTEM_INFO system = {};
    GetNativeSystemInfo(&system);
    const char* source = std::getenv("NOXD_BENCH_SOURCE");
    return Format("build:  %s bench (%s), built " __DATE__ " " __TIME__ ", source %s\n"
                  "noxd:   %s\n"
                  "wine:   %s\n"
                  "GL:     %s\n"
                  "screen: %dx%d, %lu processors seen by Windows\n",
                  sizeof(void*) == 8 ? "x86_64" : "i686", NOXD_BENCH_BUILD_TYPE,
                  source ? source : "unknown", LoadedNoxd().c_str(), WineVersion().c_str(),
                  FloorGl().c_str(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                  static_cast<unsigned long>(system.dwNumberOfProcessors));
}

}  // namespace bench
