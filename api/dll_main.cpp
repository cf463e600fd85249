#include <windows.h>

// The "CGLRenderer" class lives in the executable's instance but points at a
// procedure in this DLL: unregister it when the DLL is unloaded, so a later
// load registers it afresh instead of finding a class whose procedure is gone.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr)
        UnregisterClassW(L"CGLRenderer", GetModuleHandleW(nullptr));
    return TRUE;
}
