// What this program is made of: its identity, its components with their dependencies, and the
// init parameters that make the shared framework this program.
#pragma once

#include <windows.h>

// Registers the component set on the published program manager. Called once, before the run.
void RegisterComponents(HINSTANCE moduleInstance);
