// The common controls, loaded when the program first needs them instead of imported: the
// library sets up the window system as it loads, which a start that only hands its command
// line to the running instance never needs.
#pragma once

#include <windows.h>

namespace vantor {

// Loads the common controls library once for the process (the version the manifest asks for)
// and registers the given control classes (ICC_* flags); false when either fails.
bool InitCommonControlClasses(DWORD classes);

} // namespace vantor
