#include "test_support.h"

namespace {

const wchar_t HandlingWindowProperty[] = L"Vantor test handler";

} // namespace

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

HandlingWindow::HandlingWindow(const Handler& handler)
    : handler(handler), frame(RECT{0, 0, 400, 300}, WS_OVERLAPPEDWINDOW)
{
    // A property, not the user data slot: that one is the window owner's (a browser host keeps
    // its record there).
    ::SetPropW(frame.window, HandlingWindowProperty, this);
    previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(frame.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
}

HandlingWindow::~HandlingWindow()
{
    ::SetWindowLongPtrW(frame.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    ::RemovePropW(frame.window, HandlingWindowProperty);
}

LRESULT CALLBACK HandlingWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HandlingWindow* const self = static_cast<HandlingWindow*>(::GetPropW(window, HandlingWindowProperty));
    LRESULT result = 0;
    if (self->handler(message, wParam, lParam, result))
        return result;
    return ::CallWindowProcW(self->previous, window, message, wParam, lParam);
}
