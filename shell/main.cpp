// ZELK Vantor Source Filter Settings: shows the settings of the ZELK Vantor Source filter.

#include "shell/program_entry.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
{
    return RunProgram(instance, commandLine, showCommand);
}
