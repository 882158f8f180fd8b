// The classes the stand-in filter's COM server serves.
#include <new>

#include "class_factory.h"
#include "server_registration.h"
#include "stream_source_page.h"

namespace {

HRESULT CreateFilter(REFIID iid, void** object)
{
    return HandOut(new (std::nothrow) StreamSourceFilter(L"ZELK Vantor Source", CLSID_StreamSourcePage), iid, object);
}

HRESULT CreatePage(REFIID iid, void** object)
{
    return HandOut(new (std::nothrow) StreamSourcePage, iid, object);
}

} // namespace

const ServerClass ServerClasses[] = {
    {&CLSID_VantorSourceFilter, L"ZELK Vantor Source", CreateFilter},
    {&CLSID_StreamSourcePage, L"ZELK Vantor Source Stream Page", CreatePage},
};
const size_t ServerClassCount = sizeof(ServerClasses) / sizeof(ServerClasses[0]);
