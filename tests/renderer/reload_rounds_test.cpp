// noxd.dll loaded and unloaded a hundred times, with and without a renderer
// made and released in between: no round hangs, and after a few warm-up
// rounds threads and private memory stay where they were and handles grow no
// more than any DLL of this toolchain makes them grow.
#include <gtest/gtest.h>
#include <windows.h>


#include "noxd.h"
#include "support/process_probe.h"
#include "support/rounds.h"

namespace {

// One load, an optional renderer on its own window, one unload; false when
// any step failed or the DLL stayed loaded.
bool LoadRound(const wchar_t* dll, bool with_renderer) {
    HMODULE module = LoadLibraryW(dll);
    if (!module) return false;
    bool ok = true;
    if (with_renderer) {
        auto create = reinterpret_cast<decltype(&noxd_create_renderer)>(
            reinterpret_cast<void*>(GetProcAddress(module, "noxd_create_renderer")));
        auto release = reinterpret_cast<decltype(&noxd_release_renderer)>(
            reinterpret_cast<void*>(GetProcAddress(module, "noxd_release_renderer")));
        NOXD_RENDERER renderer = nullptr;
        ok = create && release && create(nullptr, L"rounds", 64, 48, NOXD_FORMAT_BGR32, 16, 16, &renderer) == S_OK;
        if (renderer) release(renderer);
    }
    FreeLibrary(module);
    return ok && !GetModuleHandleW(dll);
}

struct Growth {
    int handles;
    int threads;
    long long private_bytes;
};

// What a hundred rounds add after a few warm-up rounds.
Growth GrowthOverRounds(const wchar_t* dll, bool with_renderer) {
    // Each load of a DLL of this toolchain takes a thread-local-storage index for good (its static
    // thread runtime's), and a process has about 1,088: three parts of 305
    // loads stay below that.
    const int kWarmUp = 5, kRounds = noxd_test::Rounds(100, 300);
    for (int i = 0; i < kWarmUp; ++i)
        if (!LoadRound(dll, with_renderer)) ADD_FAILURE() << "warm-up round " << i;
    const noxd_test::Holdings before = noxd_test::TakeHoldings();
    for (int i = 0; i < kRounds; ++i)
        if (!LoadRound(dll, with_renderer)) ADD_FAILURE() << "round " << i;
    const noxd_test::Holdings after = noxd_test::TakeHoldings();
    return {after.handles - before.handles, after.threads - before.threads, after.private_bytes - before.private_bytes};
}

TEST(ReloadRoundsTest, HundredRoundsWithAndWithoutARendererAddNothingOfTheRenderers) {
    // The system libraries noxd.dll imports stay loaded, as in any host that
    // draws: what their own loading costs is not the renderer's.
    for (const wchar_t* system : {L"opengl32.dll", L"glu32.dll", L"winmm.dll", L"gdi32.dll", L"user32.dll",
                                  L"ole32.dll", L"oleaut32.dll"})
        ASSERT_TRUE(LoadLibraryW(system));
    // Every load of a DLL built with this toolchain costs a few handles here
    // (its static thread runtime's), whatever the DLL does: the simulated
    // camera's nox.dll, built the same way and holding no renderer code, is
    // the yardstick.
    const Growth yardstick = GrowthOverRounds(L"nox.dll", false);
    // A leak of one renderer or one loaded image a round would add up to far
    // more than this; allocator slack stays below it.
    constexpr long long kMemorySlack = 2 << 20;
    for (bool with_renderer : {false, true}) {
        SCOPED_TRACE(with_renderer ? "with a renderer" : "without a renderer");
        const Growth noxd = GrowthOverRounds(L"noxd.dll", with_renderer);
        EXPECT_LE(noxd.handles, yardstick.handles);
        EXPECT_LE(noxd.threads, 0);
        EXPECT_LE(noxd.private_bytes, kMemorySlack);
    }
}

}  // namespace
