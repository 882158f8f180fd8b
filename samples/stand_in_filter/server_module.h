// Process-wide state of the filter's COM server: its module and the count of live objects and
// server locks that decides whether the library may be unloaded.
#pragma once

#include <windows.h>

namespace server_module {

HINSTANCE Instance();
void SetInstance(HINSTANCE instance);

void AddReference();
void ReleaseReference();
bool CanUnload();

} // namespace server_module
