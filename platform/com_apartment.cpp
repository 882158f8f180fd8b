#include "platform/com_apartment.h"

#include <objbase.h>

namespace vantor {

void ComApartment::Enter()
{
    if (entered)
        return;
    // S_FALSE (entered already) needs balancing too; a failure does not.
    entered = SUCCEEDED(::CoInitialize(nullptr));
}

void ComApartment::Leave()
{
    if (entered)
        ::CoUninitialize();
    entered = false;
}

ComApartment& MainApartment()
{
    static ComApartment apartment;
    return apartment;
}

} // namespace vantor
