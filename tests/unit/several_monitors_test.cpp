// Run on a display with two monitors side by side (tools/with-two-monitors): 1024x768 at the
// origin and 800x600 to its right.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop.h"
#include "framework/program_mgr.h"
#include "services/ox_multi_monitor.h"
#include "test_support.h"

namespace {

const RECT FirstMonitor = {0, 0, 1024, 768};
const RECT SecondMonitor = {1024, 0, 1824, 600};

std::vector<RECT> SystemMonitorRects()
{
    std::vector<RECT> rects;
    struct Collect {
        static BOOL CALLBACK Monitor(HMONITOR, HDC, LPRECT rect, LPARAM context)
        {
            reinterpret_cast<std::vector<RECT>*>(context)->push_back(*rect);
            return TRUE;
        }
    };
    ::EnumDisplayMonitors(nullptr, nullptr, Collect::Monitor, reinterpret_cast<LPARAM>(&rects));
    return rects;
}

// Takes the second monitor away, or gives it back, as the display settings do.
LONG SetSecondMonitor(bool attached)
{
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    mode.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
    if (attached) {
        mode.dmPosition.x = SecondMonitor.left;
        mode.dmPelsWidth = SecondMonitor.right - SecondMonitor.left;
        mode.dmPelsHeight = SecondMonitor.bottom - SecondMonitor.top;
    }
    const LONG changed = ::ChangeDisplaySettingsExW(L"\\\\.\\DISPLAY2", &mode, nullptr, CDS_UPDATEREGISTRY | CDS_NORESET, nullptr);
    return changed != DISP_CHANGE_SUCCESSFUL ? changed : ::ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
}

class SeveralMonitors : public ::testing::Test {
protected:
    SeveralMonitors() : monitors(&manager) {}

    OxProgramMgr manager;
    OxMultiMonitor monitors;
};

} // namespace

TEST_F(SeveralMonitors, TheDisplayHasTwoMonitorsAndTheComponentNamesBoth)
{
    ASSERT_EQ((std::vector<RECT>{FirstMonitor, SecondMonitor}), SystemMonitorRects());
    ASSERT_EQ(2, monitors.GetMonitorCount());
    EXPECT_NE(std::wstring(monitors.GetMonitorName(0)), std::wstring(monitors.GetMonitorName(1)));
    RECT rect = {};
    monitors.GetMonitorRect(monitors.GetMonitorName(1), &rect);
    EXPECT_EQ(SecondMonitor, rect);
}

TEST_F(SeveralMonitors, KeepsWindowsOnTheSecondMonitorThere)
{
    ASSERT_EQ(2, monitors.GetMonitorCount());
    const RECT onSecond = {1200, 100, 1400, 200};
    TestWindow resting(onSecond);
    monitors.EnsureWindowOnMonitor(resting.window);
    EXPECT_EQ(onSecond, WindowRect(resting.window)) << "on a monitor, if not the first";

    TestWindow hanging(RECT{1700, 550, 1900, 650});
    const RECT work = WorkAreaOf(hanging.window);
    monitors.MoveWindowToMonitor(monitors.GetMonitorName(1), hanging.window);
    EXPECT_EQ((RECT{work.right - 200, work.bottom - 100, work.right, work.bottom}), WindowRect(hanging.window))
        << "into the second monitor's work area";
}

TEST_F(SeveralMonitors, AMonitorThatGoesAwayTakesItsWindowsToTheFirstOne)
{
    ASSERT_EQ(2, monitors.GetMonitorCount());
    std::vector<int> countsSeen;
    const boost::signals2::scoped_connection counting =
        monitors.ConnectMonitorsChanged([&] { countsSeen.push_back(monitors.GetMonitorCount()); }, ConnectAtBack);
    TestWindow window(RECT{1300, 300, 1500, 400});

    ASSERT_EQ(DISP_CHANGE_SUCCESSFUL, SetSecondMonitor(false));
    for (int waited = 0; countsSeen.empty() && waited < 5000; waited += 50) {
        PumpMessages();
        ::Sleep(50);
    }
    EXPECT_EQ(std::vector<int>{1}, countsSeen) << "one call, after the list was refreshed";
    EXPECT_EQ(std::vector<RECT>{FirstMonitor}, SystemMonitorRects());
    monitors.EnsureWindowOnMonitor(window.window);
    const RECT work = WorkAreaOf(window.window);
    EXPECT_EQ((RECT{work.right - 200, 300, work.right, 400}), WindowRect(window.window)) << "rescued onto the first monitor";

    EXPECT_EQ(DISP_CHANGE_SUCCESSFUL, SetSecondMonitor(true));
    for (int waited = 0; countsSeen.size() < 2 && waited < 5000; waited += 50) {
        PumpMessages();
        ::Sleep(50);
    }
    EXPECT_EQ((std::vector<int>{1, 2}), countsSeen);
}
