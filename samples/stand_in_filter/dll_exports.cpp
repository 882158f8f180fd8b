// The entry points of the stand-in filter's COM server.
#include <new>

#include "class_factory.h"
#include "server_registration.h"
#include "stream_source_page.h"

namespace {

const ServerClass ServerClasses[] = {
    {&CLSID_VantorSourceFilter, L"ZELK Vantor Source"},
    {&CLSID_StreamSourcePage, L"ZELK Vantor Source Stream Page"},
};

HRESULT CreateFilter(REFIID iid, void** object)
{
    return HandOut(new (std::nothrow) StreamSourceFilter(L"ZELK Vantor Source", CLSID_StreamSourcePage), iid, object);
}

HRESULT CreatePage(REFIID iid, void** object)
{
    return HandOut(new (std::nothrow) StreamSourcePage, iid, object);
}

} // namespace

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (classId == CLSID_VantorSourceFilter)
        return GetFactory(CreateFilter, iid, object);
    if (classId == CLSID_StreamSourcePage)
        return GetFactory(CreatePage, iid, object);
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllRegisterServer()
{
    return RegisterServerClasses(ServerClasses, sizeof(ServerClasses) / sizeof(ServerClasses[0]));
}

STDAPI DllUnregisterServer()
{
    return UnregisterServerClasses(ServerClasses, sizeof(ServerClasses) / sizeof(ServerClasses[0]));
}
