#include "platform/window.h"

BOOL CWindow::CenterWindow()
{
    HWND reference = ::GetWindow(m_hWnd, GW_OWNER);
    if (reference != nullptr) {
        const LONG referenceStyle = ::GetWindowLongW(reference, GWL_STYLE);
        if (!(referenceStyle & WS_VISIBLE) || (referenceStyle & WS_MINIMIZE))
            reference = nullptr;
    }

    HMONITOR monitor = ::MonitorFromWindow(reference != nullptr ? reference : m_hWnd, MONITOR_DEFAULTTONEAREST);
    if (monitor == nullptr)
        return FALSE;
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(monitor, &info))
        return FALSE;
    const RECT area = info.rcWork;

    RECT centre = area;
    if (reference != nullptr)
        ::GetWindowRect(reference, &centre);

    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;

    int left = (centre.left + centre.right) / 2 - width / 2;
    int top = (centre.top + centre.bottom) / 2 - height / 2;
    if (left + width > area.right)
        left = area.right - width;
    if (top + height > area.bottom)
        top = area.bottom - height;
    if (left < area.left)
        left = area.left;
    if (top < area.top)
        top = area.top;

    return ::SetWindowPos(m_hWnd, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
