// The monitor component: the attached monitors by device name, kept current through a hidden
// window that hears WM_DISPLAYCHANGE, and the geometry that keeps windows on screen.
#pragma once

#include <memory>

#include "framework/interfaces/multi_monitor.h"

class OxMultiMonitor : public IOxMultiMonitor {
public:
    // Fills the list and creates its window unless the init parameter "UseMessageWnd" is 0.
    explicit OxMultiMonitor(IOxQueryInterface* queryInterface);

    boost::signals2::connection ConnectMonitorsChanged(const MonitorsChangedSignal::slot_type& handler,
                                                       ConnectPosition position) override;
    int GetMonitorCount() override;
    const wchar_t* GetMonitorName(int index) override;
    // A null or unknown name matches no monitor: nothing moves.
    void MoveWindowToMonitor(const wchar_t* deviceName, HWND window) override;
    // The primary screen's size at the origin unless deviceName names a monitor.
    void GetMonitorRect(const wchar_t* deviceName, RECT* rect) override;
    // Moves a window that lies on no monitor into the first monitor's work area.
    void EnsureWindowOnMonitor(HWND window) override;
    void PlaceBesideAnchor(HMONITOR monitor, const RECT& anchor, RECT* rect) override;

    virtual ~OxMultiMonitor();

    class impl;

private:
    MonitorsChangedSignal monitorsChanged;
    std::unique_ptr<impl> pimpl;
};
