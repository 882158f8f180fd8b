// Shows the property pages of a DirectShow filter or pin in the system's modal property frame.
#pragma once

#include <ole2.h>

// Shows the pages of object (a filter or a pin) captioned with its name, owned by owner, and
// returns when the frame has closed. Objects without pages show nothing.
void ShowPropertyPages(IUnknown* object, HWND owner);

// OleCreatePropertyFrame under a guard that tells the user when a page causes an access
// violation. The guard never handles the exception: it goes on to the outer handlers.
HRESULT GuardedPropertyFrame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG objectCount, LPUNKNOWN* objects,
                             ULONG pageCount, LPCLSID pageIds, LCID locale, DWORD reserved, LPVOID reservedPointer);

// The guard's filter: reports an access violation and always answers "continue search" (0).
int PageFaultFilter(DWORD exceptionCode);
