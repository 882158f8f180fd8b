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


TestWindow::TestWindow(const RECT& rect, DWORD style)
    : window(::CreateWindowExW(0, L"STATIC", L"", style, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                               nullptr, nullptr, nullptr, nullptr))
{
}

TestWindow::~TestWindow()
{
    ::DestroyWindow(window);
}
