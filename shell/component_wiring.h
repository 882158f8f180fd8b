// What this program is made of: its identity, its components with their dependencies, and the
// init parameters that make the shared framework this program.
#pragma once

#include <windows.h>

#include "framework/query_interface.h"

// Registers the component set on the published program manager. Called once, before the run.
void RegisterComponents(HINSTANCE moduleInstance);

// Builds the components whose windows must belong to the main thread. Called on that thread
// once the start has passed the single-instance check, before any window of its own exists.
void BuildMainThreadComponents(IOxQueryInterface* registry);
