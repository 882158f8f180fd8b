// "OxMultiMonitor": the attached monitors by device name, and geometry that keeps windows on
// screen.
#pragma once

#include <boost/signals2/signal.hpp>
#include <windows.h>

#include "framework/connect_position.h"
#include "framework/interface_ptr.h"

typedef boost::signals2::signal<void()> MonitorsChangedSignal;

class IOxMultiMonitor {
public:
    // What a component of this kind is handed out as.
    typedef IOxMultiMonitor Interface;

    virtual boost::signals2::connection ConnectMonitorsChanged(const MonitorsChangedSignal::slot_type& handler,
                                                               ConnectPosition position) = 0;
    virtual int GetMonitorCount() = 0;
    // Null for an index out of range; valid until the list is refreshed.
    virtual const wchar_t* GetMonitorName(int index) = 0;
    virtual void MoveWindowToMonitor(const wchar_t* deviceName, HWND window) = 0;
    virtual void GetMonitorRect(const wchar_t* deviceName, RECT* rect) = 0;
    virtual void EnsureWindowOnMonitor(HWND window) = 0;
    virtual void PlaceBesideAnchor(HMONITOR monitor, const RECT& anchor, RECT* rect) = 0;

protected:
    ~IOxMultiMonitor() = default;
};

class OxMultiMonitorEmpty : public IOxMultiMonitor {
public:
    explicit OxMultiMonitorEmpty(IOxQueryInterface*) {}

    boost::signals2::connection ConnectMonitorsChanged(const MonitorsChangedSignal::slot_type&, ConnectPosition) override
    {
        return boost::signals2::connection();
    }
    int GetMonitorCount() override { return 0; }
    const wchar_t* GetMonitorName(int) override { return nullptr; }
    void MoveWindowToMonitor(const wchar_t*, HWND) override {}
    void GetMonitorRect(const wchar_t*, RECT*) override {}
    void EnsureWindowOnMonitor(HWND) override {}
    void PlaceBesideAnchor(HMONITOR, const RECT&, RECT*) override {}
};

OX_BIND_INTERFACE(IOxMultiMonitor, "OxMultiMonitor", OxMultiMonitorEmpty);
