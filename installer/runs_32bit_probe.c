// Ends at once with the exit code 32. The 64-bit installer starts the 32-bit build of this
// program to learn whether the system runs 32-bit programs: a Windows without its 32-bit
// subsystem cannot start it. Wine on a host that runs no 32-bit code reports such a start as
// a program that ended with 0, and starts its own system programs of either architecture as
// 64-bit ones, so only a program of our own with an exit code of its own can tell.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, PWSTR commandLine, int show)
{
    (void)instance;
    (void)previousInstance;
    (void)commandLine;
    (void)show;
    return 32;
}
