#include "platform/common_controls.h"

#include <commctrl.h>

#include "platform/scoped_resource.h"

namespace vantor {

bool InitCommonControlClasses(DWORD classes)
{
    // Kept until the process ends: windows of its classes may live until then.
    static const ScopedLibrary library(::LoadLibraryW(L"comctl32.dll"));
    typedef BOOL(WINAPI * InitFunction)(const INITCOMMONCONTROLSEX*);
    const InitFunction init =
        reinterpret_cast<InitFunction>(reinterpret_cast<void*>(::GetProcAddress(library.Get(), "InitCommonControlsEx")));
    const INITCOMMONCONTROLSEX controls = {sizeof(controls), classes};
    return init != nullptr && init(&controls) != FALSE;
}

} // namespace vantor
