#include <windows.h>

#include "render_window.h"

// The "CGLRenderer" class lives in this DLL's instance and points at a
// procedure in it: unregister it when the DLL is unloaded, so a later load
// registers it afresh instead of finding a class whose procedure is gone.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr)
        UnregisterClassW(L"CGLRenderer", noxd::RendererModule());
    return TRUE;
}
