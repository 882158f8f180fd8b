// No system error boxes ("cannot find", "not a valid application") while it lasts: a skin
// library that is missing or broken, or whose start loads one that is, must show nothing.
#pragma once

#include <windows.h>

class QuietErrorMode {
public:
    QuietErrorMode() : previous(::SetErrorMode(static_cast<UINT>(-1))) {}
    ~QuietErrorMode() { ::SetErrorMode(previous); }
    QuietErrorMode(const QuietErrorMode&) = delete;
    QuietErrorMode& operator=(const QuietErrorMode&) = delete;

private:
    UINT previous;
};
