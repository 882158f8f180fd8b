// Thin wrapper of a window handle, in the manner of ATL's CWindow: it does not own the window.
#pragma once

#include <windows.h>

namespace vantor {

class CWindow {
public:
    CWindow(HWND window = nullptr) : m_hWnd(window) {}

    operator HWND() const { return m_hWnd; }

    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL DestroyWindow() { return ::DestroyWindow(m_hWnd); }
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }

    // Centres a child window on its parent's client area, and a top-level window on its owner
    // when the owner is visible and not minimised, otherwise on the work area of the window's
    // nearest monitor; keeps it inside that area (left and top edges win). Does nothing when a
    // top-level window's monitor information is not available.
    BOOL CenterWindow();

    HWND m_hWnd;
};

} // namespace vantor
