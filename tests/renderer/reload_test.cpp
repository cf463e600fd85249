// noxd.dll loaded, used, unloaded and loaded again by a host: the window
// class registered by the first load must not outlive its procedure.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "noxd.h"

namespace {

using CreateFn = decltype(&noxd_create_renderer);
using ReleaseFn = decltype(&noxd_release_renderer);

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool ClassRegistered(HINSTANCE module) {
    WNDCLASSEXW info = {};
    info.cbSize = sizeof info;
    return GetClassInfoExW(module, L"CGLRenderer", &info) != 0;
}

struct LoadRound {
    HRESULT created = E_FAIL;
    HMODULE module = nullptr;       // where the DLL was loaded this time
    bool class_while_loaded = false;  // the class was registered under it
};

// Creates and releases one renderer on its own window through a fresh load.
LoadRound CreateAndReleaseOnce() {
    LoadRound round;
    HMODULE noxd = LoadLibraryW(L"noxd.dll");
    if (!noxd) return round;
    round.module = noxd;
    auto create = Export<CreateFn>(noxd, "noxd_create_renderer");
    auto release = Export<ReleaseFn>(noxd, "noxd_release_renderer");
    NOXD_RENDERER renderer = nullptr;
    round.created = create(nullptr, L"reload", 200, 100, 12, 64, 64, &renderer);
    round.class_while_loaded = ClassRegistered(noxd);
    if (renderer) release(renderer);
    FreeLibrary(noxd);
    return round;
}

// A copy of noxd.dll under another name, so that it loads as a module of its own.
class DllCopy {
public:
    explicit DllCopy(const wchar_t* name) {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        path_ = std::wstring(folder) + name;
        wchar_t original[MAX_PATH];
        GetModuleFileNameW(nullptr, original, MAX_PATH);
        std::wstring dll(original);
        dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"noxd.dll";
        copied_ = CopyFileW(dll.c_str(), path_.c_str(), FALSE) != 0;
    }
    ~DllCopy() { DeleteFileW(path_.c_str()); }
    DllCopy(const DllCopy&) = delete;
    DllCopy& operator=(const DllCopy&) = delete;
    bool copied() const { return copied_; }
    const wchar_t* path() const { return path_.c_str(); }

private:
    std::wstring path_;
    bool copied_ = false;
};

TEST(ReloadTest, UnloadingTakesTheWindowClassAlongAndAReloadWorks) {
    const LoadRound first = CreateAndReleaseOnce();
    ASSERT_EQ(first.created, S_OK);
    EXPECT_TRUE(first.class_while_loaded);
    ASSERT_EQ(GetModuleHandleW(L"noxd.dll"), nullptr);
    EXPECT_FALSE(ClassRegistered(first.module));
    EXPECT_EQ(CreateAndReleaseOnce().created, S_OK);
}

// The module whose code a window's messages go to.
HMODULE ModuleOfProcedure(HWND window) {
    HMODULE module = nullptr;
    const auto procedure = reinterpret_cast<LPCWSTR>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       procedure, &module);
    return module;
}

// Two copies of noxd.dll in one process (a host comparing two builds, a
// plug-in bringing its own): each one's windows go to its own procedure,
// which knows its own renderer objects.
TEST(ReloadTest, TwoDllsInOneProcessEachKeepTheirOwnWindowProcedure) {
    const DllCopy first_copy(L"noxd_reload_first.dll"), second_copy(L"noxd_reload_second.dll");
    ASSERT_TRUE(first_copy.copied() && second_copy.copied());
    HMODULE first = LoadLibraryW(first_copy.path());
    HMODULE second = LoadLibraryW(second_copy.path());
    ASSERT_TRUE(first && second && first != second);
    NOXD_RENDERER a = nullptr, b = nullptr;
    ASSERT_EQ(Export<CreateFn>(first, "noxd_create_renderer")(nullptr, L"first", 200, 100, 12, 64, 64, &a), S_OK);
    ASSERT_EQ(Export<CreateFn>(second, "noxd_create_renderer")(nullptr, L"second", 200, 100, 12, 64, 64, &b), S_OK);
    using WindowFn = decltype(&noxd_get_hwnd);
    EXPECT_EQ(ModuleOfProcedure(Export<WindowFn>(first, "noxd_get_hwnd")(a)), first);
    EXPECT_EQ(ModuleOfProcedure(Export<WindowFn>(second, "noxd_get_hwnd")(b)), second);
    Export<ReleaseFn>(first, "noxd_release_renderer")(a);
    Export<ReleaseFn>(second, "noxd_release_renderer")(b);
    FreeLibrary(first);
    FreeLibrary(second);
}

}  // namespace
