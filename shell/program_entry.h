// The whole life of the program, from the entry point on.
#pragma once

#include <windows.h>

class IOxQueryInterface;

// Sets up COM, the common controls and the application module, builds and publishes the
// program manager, registers the components (then lets adjust change the wiring, when given),
// runs, and tears everything down again; returns the exit code.
int RunProgram(HINSTANCE instance, LPWSTR commandLine, int showCommand, void (*adjust)(IOxQueryInterface*) = nullptr);
