// A Win32 program that ends at once: the baseline a start of the program is measured against.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    return 0;
}
