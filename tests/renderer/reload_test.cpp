// noxd.dll loaded, used, unloaded and loaded again by a host: the window
// class registered by the first load must not outlive its procedure.
#include <gtest/gtest.h>
#include <windows.h>

#include "noxd.h"

namespace {

using CreateFn = decltype(&noxd_create_renderer);
using ReleaseFn = decltype(&noxd_release_renderer);

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Creates and releases one renderer on its own window through a fresh load.
HRESULT CreateAndReleaseOnce() {
    HMODULE noxd = LoadLibraryW(L"noxd.dll");
    if (!noxd) return E_FAIL;
    auto create = Export<CreateFn>(noxd, "noxd_create_renderer");
    auto release = Export<ReleaseFn>(noxd, "noxd_release_renderer");
    NOXD_RENDERER renderer = nullptr;
    const HRESULT hr = create(nullptr, L"reload", 200, 100, 12, 64, 64, &renderer);
    if (renderer) release(renderer);
    FreeLibrary(noxd);
    return hr;
}

bool ClassRegistered() {
    WNDCLASSEXW info = {};
    info.cbSize = sizeof info;
    return GetClassInfoExW(GetModuleHandleW(nullptr), L"CGLRenderer", &info) != 0;
}

TEST(ReloadTest, UnloadingTakesTheWindowClassAlongAndAReloadWorks) {
    ASSERT_EQ(CreateAndReleaseOnce(), S_OK);
    ASSERT_EQ(GetModuleHandleW(L"noxd.dll"), nullptr);
    EXPECT_FALSE(ClassRegistered());
    EXPECT_EQ(CreateAndReleaseOnce(), S_OK);
}

}  // namespace
