#include "test_support.h"

bool PumpOneMessage()
{
    MSG message;
    if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    return true;
}

int PumpMessages()
{
    int count = 0;
    while (PumpOneMessage())
        ++count;
    return count;
}

