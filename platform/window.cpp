#include "platform/window.h"

namespace vantor {

namespace {

// Where a child window is centred: on its parent's client area, in the parent's client
// coordinates, which is what SetWindowPos reads for a child.
bool ChildCentring(HWND window, RECT* area)
{
    if ((::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0)
        return false;
    const HWND parent = ::GetParent(window);
    return parent != nullptr && ::GetClientRect(parent, area) != FALSE;
}

// Where a top-level window is centred, in screen coordinates: on its owner when the owner is
// visible and not minimised, otherwise on the work area of the nearest monitor.
bool TopLevelCentring(HWND window, RECT* area, RECT* centre)
{
    HWND reference = ::GetWindow(window, GW_OWNER);
    if (reference != nullptr) {
        const LONG referenceStyle = ::GetWindowLongW(reference, GWL_STYLE);
        if (!(referenceStyle & WS_VISIBLE) || (referenceStyle & WS_MINIMIZE))
            reference = nullptr;
    }

    HMONITOR monitor = ::MonitorFromWindow(reference != nullptr ? reference : window, MONITOR_DEFAULTTONEAREST);
    if (monitor == nullptr)
        return false;
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(monitor, &info))
        return false;
    *area = info.rcWork;
    *centre = info.rcWork;
    if (reference != nullptr)
        ::GetWindowRect(reference, centre);
    return true;
}

} // namespace

BOOL CWindow::CenterWindow()
{
    RECT area = {};
    RECT centre = {};
    if (ChildCentring(m_hWnd, &area))
        centre = area;
    else if (!TopLevelCentring(m_hWnd, &area, &centre))
        return FALSE;

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

} // namespace vantor
