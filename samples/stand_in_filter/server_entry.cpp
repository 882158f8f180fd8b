// The entry points every library of the filter's COM server shares.
#include <objbase.h>

#include "server_module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        server_module::SetInstance(instance);
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllCanUnloadNow()
{
    return server_module::CanUnload() ? S_OK : S_FALSE;
}
