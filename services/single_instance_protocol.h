// What a running instance and a later start of the program agree on: the named mutex the
// running instance holds (local kernel-object namespace), the class of its window that takes
// forwarded command lines, and the WM_COPYDATA tag of a forwarded command line. Programs that
// talk to a running instance from outside use the same names.
#pragma once

#include <windows.h>

inline constexpr wchar_t SingleInstanceMutexName[] = L"OXWARE-34E58F5A-138A-4a76-9C19-7F6D26E9C530";
inline constexpr wchar_t DispatchWindowClassName[] = L"ZELK Vantor Source Dispatch";
inline constexpr ULONG_PTR ForwardedCommandLineTag = 0x890DF6AE;
