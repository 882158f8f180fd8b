// The run of the program between start-up and shutdown.
#pragma once

#include <windows.h>

// Runs the program on the published program manager and returns its exit code. None of the
// arguments is read: the command line comes from GetCommandLineW.
int Run(HINSTANCE moduleInstance, LPWSTR commandLine, int showCommand);

// The end of every run once its message loop is over: starts the program anew when that was
// asked, and answers the stored exit code if one was stored, else exitCode.
int FinishRun(int exitCode);
