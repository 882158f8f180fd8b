#include "services/ox_multi_monitor.h"

#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "framework/component_view.h"
#include "platform/contained_window.h"

namespace {

// Calls visit for every monitor whose information can be read, until it answers false.
void ForEachMonitor(const std::function<bool(const MONITORINFOEXW&)>& visit)
{
    struct Visit {
        static BOOL CALLBACK Monitor(HMONITOR monitor, HDC, LPRECT, LPARAM context)
        {
            MONITORINFOEXW info = {};
            info.cbSize = sizeof(info);
            if (!::GetMonitorInfoW(monitor, &info))
                return TRUE;
            return (*reinterpret_cast<const std::function<bool(const MONITORINFOEXW&)>*>(context))(info) ? TRUE : FALSE;
        }
    };
    ::EnumDisplayMonitors(nullptr, nullptr, Visit::Monitor, reinterpret_cast<LPARAM>(&visit));
}

// The first monitor of that device name; false when there is none, and always for a null name.
bool FindMonitor(const wchar_t* deviceName, MONITORINFOEXW& found)
{
    if (deviceName == nullptr)
        return false;
    bool matched = false;
    ForEachMonitor([&](const MONITORINFOEXW& info) {
        if (std::wcscmp(info.szDevice, deviceName) != 0)
            return true;
        found = info;
        matched = true;
        return false;
    });
    return matched;
}

// The shift that brings [low, high] inside [areaLow, areaHigh], the low edge first.
LONG ShiftInto(LONG low, LONG high, LONG areaLow, LONG areaHigh)
{
    if (low < areaLow)
        return areaLow - low;
    if (high > areaHigh)
        return areaHigh - high;
    return 0;
}

} // namespace

class OxMultiMonitor::impl : public vantor::CMessageMap {
public:
    explicit impl(OxMultiMonitor* ownerComponent)
        : ownerComponent(ownerComponent), messageWindow(L"STATIC", this, 0)
    {
    }

    BEGIN_MSG_MAP(impl)
        MESSAGE_HANDLER(WM_DISPLAYCHANGE, OnDisplayChange)
    END_MSG_MAP()

    void Refresh()
    {
        monitorNames.clear();
        ForEachMonitor([this](const MONITORINFOEXW& info) {
            monitorNames.emplace_back(info.szDevice);
            return true;
        });
    }

    void CreateMessageWindow()
    {
        const RECT empty = {};
        messageWindow.Create(nullptr, empty, nullptr, WS_OVERLAPPEDWINDOW);
    }

    void DestroyMessageWindow()
    {
        if (messageWindow.IsWindow())
            messageWindow.DestroyWindow();
    }

    std::vector<std::wstring> monitorNames;

private:
    LRESULT OnDisplayChange(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        Refresh();
        ownerComponent->monitorsChanged();
        // The default processing sees the change too.
        handled = FALSE;
        return 0;
    }

    OxMultiMonitor* ownerComponent;
    vantor::CContainedWindow messageWindow;
};

OxMultiMonitor::OxMultiMonitor(IOxQueryInterface* queryInterface)
    : pimpl(new impl(this))
{
    if (OxComponentView<IOxMultiMonitor>(queryInterface).InitParams()->GetIntParam("UseMessageWnd", 1) == 0)
        return;
    pimpl->Refresh();
    monitorsChanged();
    pimpl->CreateMessageWindow();
}

OxMultiMonitor::~OxMultiMonitor()
{
    pimpl->DestroyMessageWindow();
}

boost::signals2::connection OxMultiMonitor::ConnectMonitorsChanged(const MonitorsChangedSignal::slot_type& handler,
                                                                   ConnectPosition position)
{
    return monitorsChanged.connect(handler, SignalPosition(position));
}

int OxMultiMonitor::GetMonitorCount()
{
    return static_cast<int>(pimpl->monitorNames.size());
}

const wchar_t* OxMultiMonitor::GetMonitorName(int index)
{
    if (index < 0 || index >= GetMonitorCount())
        return nullptr;
    return pimpl->monitorNames[static_cast<size_t>(index)].c_str();
}

void OxMultiMonitor::MoveWindowToMonitor(const wchar_t* deviceName, HWND window)
{
    MONITORINFOEXW monitor;
    RECT placed;
    if (!FindMonitor(deviceName, monitor) || !::GetWindowRect(window, &placed))
        return;
    const RECT& area = monitor.rcWork;
    const LONG dx = ShiftInto(placed.left, placed.right, area.left, area.right);
    const LONG dy = ShiftInto(placed.top, placed.bottom, area.top, area.bottom);
    if (dx != 0 || dy != 0)
        ::SetWindowPos(window, nullptr, placed.left + dx, placed.top + dy, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
}

void OxMultiMonitor::GetMonitorRect(const wchar_t* deviceName, RECT* rect)
{
    if (rect == nullptr)
        return;
    *rect = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    MONITORINFOEXW monitor;
    if (FindMonitor(deviceName, monitor))
        *rect = monitor.rcMonitor;
}

void OxMultiMonitor::EnsureWindowOnMonitor(HWND window)
{
    if (::MonitorFromWindow(window, MONITOR_DEFAULTTONULL) != nullptr)
        return;
    MoveWindowToMonitor(GetMonitorName(0), window);
}

void OxMultiMonitor::PlaceBesideAnchor(HMONITOR monitor, const RECT& anchor, RECT* rect)
{
    if (rect == nullptr)
        return;
    const LONG width = rect->right - rect->left;
    const LONG height = rect->bottom - rect->top;
    RECT candidate = *rect;
    ::OffsetRect(&candidate, anchor.right, anchor.top - height);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (monitor != nullptr && ::GetMonitorInfoW(monitor, &info)) {
        if (candidate.right > info.rcWork.right) {
            candidate = *rect;
            ::OffsetRect(&candidate, anchor.left - width, anchor.top - height);
        }
        if (candidate.top <= info.rcWork.top)
            ::OffsetRect(&candidate, 0, info.rcWork.top - candidate.top);
    }
    *rect = candidate;
}
