// The entry points every library of the filter's COM server shares.
#include <objbase.h>

#include "class_factory.h"
#include "server_module.h"
#include "server_registration.h"

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

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    for (size_t i = 0; i < ServerClassCount; ++i) {
        if (classId == *ServerClasses[i].classId)
            return GetFactory(ServerClasses[i].create, iid, object);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllRegisterServer()
{
    return RegisterServerClasses(ServerClasses, ServerClassCount);
}

STDAPI DllUnregisterServer()
{
    return UnregisterServerClasses(ServerClasses, ServerClassCount);
}
