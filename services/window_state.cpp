#include "services/window_state.h"

#include <climits>
#include <iomanip>
#include <sstream>

#include <commctrl.h>

#include "framework/interfaces/multi_monitor.h"
#include "platform/window.h"

namespace {

std::wstring WindowValue(const std::wstring& name, const wchar_t* value)
{
    return L"Controls\\" + name + L"\\" + value;
}

std::wstring ControlValue(HWND control, const std::wstring& value)
{
    std::wostringstream name;
    name << L"Controls\\" << ::GetDlgCtrlID(control) << L"\\" << value;
    return name.str();
}

std::wstring ColumnValue(HWND control, int column)
{
    std::wostringstream name;
    name << L"Column" << std::setw(2) << std::setfill(L'0') << column;
    return ControlValue(control, name.str());
}

// Not empty, and with a width and height an int can hold: stored numbers may make any corners.
bool IsUsableRect(const RECT& rect)
{
    const LONGLONG width = static_cast<LONGLONG>(rect.right) - rect.left;
    const LONGLONG height = static_cast<LONGLONG>(rect.bottom) - rect.top;
    return width > 0 && height > 0 && width <= INT_MAX && height <= INT_MAX;
}

// The header of a report-style list view with a control id; null for anything else.
HWND ReportHeader(HWND control)
{
    if (::GetDlgCtrlID(control) == 0 || (::GetWindowLongW(control, GWL_STYLE) & LVS_REPORT) == 0)
        return nullptr;
    return reinterpret_cast<HWND>(::SendMessageW(control, LVM_GETHEADER, 0, 0));
}

// Stored rectangles are in screen coordinates; SetWindowPos reads a child's position in its
// parent's client coordinates.
RECT WherePositioned(HWND window, RECT rect)
{
    const HWND parent = (::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0 ? ::GetParent(window) : nullptr;
    if (parent != nullptr)
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

void SaveWindowState(IOxSettings& settings, const std::wstring& name, HWND window)
{
    if (!::IsWindow(window) || ::IsIconic(window))
        return;
    if (::IsZoomed(window)) {
        settings.SetInt(WindowValue(name, L"WinMaximized"), 1);
        return;
    }
    RECT placed;
    if (!::GetWindowRect(window, &placed))
        return;
    settings.SetInt(WindowValue(name, L"WinPosX0"), placed.left);
    settings.SetInt(WindowValue(name, L"WinPosY0"), placed.top);
    settings.SetInt(WindowValue(name, L"WinPosX1"), placed.right);
    settings.SetInt(WindowValue(name, L"WinPosY1"), placed.bottom);
    settings.SetInt(WindowValue(name, L"WinMaximized"), 0);
}

void RestoreWindowState(IOxSettings& settings, const OxComponentView<IOxProgramSettings>& programMgr, const std::wstring& name,
                        HWND window, int* showCommand, bool keepSize)
{
    if (!::IsWindow(window))
        return;
    const RECT stored = {settings.GetInt(WindowValue(name, L"WinPosX0"), 0), settings.GetInt(WindowValue(name, L"WinPosY0"), 0),
                         settings.GetInt(WindowValue(name, L"WinPosX1"), 0), settings.GetInt(WindowValue(name, L"WinPosY1"), 0)};
    if (!IsUsableRect(stored)) {
        vantor::CWindow(window).CenterWindow();
    } else {
        const UINT flags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | (keepSize ? SWP_NOSIZE : 0);
        const RECT placed = WherePositioned(window, stored);
        ::SetWindowPos(window, nullptr, placed.left, placed.top, stored.right - stored.left, stored.bottom - stored.top, flags);
        programMgr.Get<IOxMultiMonitor>()->EnsureWindowOnMonitor(window);
    }
    if (showCommand != nullptr && settings.GetInt(WindowValue(name, L"WinMaximized"), 0) != 0)
        *showCommand = SW_MAXIMIZE;
}

void SaveControlState(IOxSettings& settings, HWND control, int kind)
{
    if (!::IsWindow(control))
        return;
    if (kind == ControlStateKind::ListBoxSelection) {
        const LRESULT selection = ::SendMessageW(control, LB_GETCURSEL, 0, 0);
        if (selection != LB_ERR)
            settings.SetInt(ControlValue(control, L"CurrentSel"), static_cast<int>(selection));
    } else if (kind == ControlStateKind::ListViewColumns) {
        const HWND header = ReportHeader(control);
        if (header == nullptr)
            return;
        const int count = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
        settings.SetInt(ControlValue(control, L"ColumnsCount"), count);
        for (int column = 0; column < count; ++column)
            settings.SetInt(ColumnValue(control, column), static_cast<int>(::SendMessageW(control, LVM_GETCOLUMNWIDTH, column, 0)));
    }
}

void RestoreControlState(IOxSettings& settings, HWND control, int kind)
{
    if (!::IsWindow(control))
        return;
    if (kind == ControlStateKind::ListBoxSelection) {
        const int count = static_cast<int>(::SendMessageW(control, LB_GETCOUNT, 0, 0));
        if (count == 0)
            return;
        int selection = settings.GetInt(ControlValue(control, L"CurrentSel"), 0);
        if (selection >= count)
            selection = 0;
        ::SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    } else if (kind == ControlStateKind::ListViewColumns) {
        const HWND header = ReportHeader(control);
        if (header == nullptr)
            return;
        int count = settings.GetInt(ControlValue(control, L"ColumnsCount"), 0);
        const int current = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
        if (current < count)
            count = current;
        for (int column = 0; column < count; ++column) {
            const int width = settings.GetInt(ColumnValue(control, column), -1);
            if (width != -1)
                ::SendMessageW(control, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
        }
    }
}
