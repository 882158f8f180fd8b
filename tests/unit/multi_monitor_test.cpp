#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop.h"
#include "framework/component_registration.h"
#include "framework/program_mgr.h"
#include "services/ox_multi_monitor.h"
#include "test_support.h"

namespace {

struct MonitorSeen {
    std::wstring name;
    RECT monitor;
    RECT work;
};

std::vector<MonitorSeen> SystemMonitors()
{
    std::vector<MonitorSeen> seen;
    struct Collect {
        static BOOL CALLBACK Monitor(HMONITOR monitor, HDC, LPRECT, LPARAM context)
        {
            MONITORINFOEXW info = {};
            info.cbSize = sizeof(info);
            if (::GetMonitorInfoW(monitor, &info))
                reinterpret_cast<std::vector<MonitorSeen>*>(context)->push_back({info.szDevice, info.rcMonitor, info.rcWork});
            return TRUE;
        }
    };
    ::EnumDisplayMonitors(nullptr, nullptr, Collect::Monitor, reinterpret_cast<LPARAM>(&seen));
    return seen;
}

RECT Offset(RECT rect, LONG dx, LONG dy)
{
    ::OffsetRect(&rect, dx, dy);
    return rect;
}

class MultiMonitorTest : public ::testing::Test {
protected:
    MultiMonitorTest() : monitors(&manager), seen(SystemMonitors()) {}

    void SetUp() override { ASSERT_FALSE(seen.empty()); }

    RECT FirstWork() const { return seen.front().work; }

    OxProgramMgr manager;
    OxMultiMonitor monitors;
    std::vector<MonitorSeen> seen;
};

} // namespace

TEST_F(MultiMonitorTest, NamesTheMonitorsInTheSystemsOrder)
{
    ASSERT_EQ(static_cast<int>(seen.size()), monitors.GetMonitorCount());
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i].name, monitors.GetMonitorName(static_cast<int>(i)));
    EXPECT_EQ(nullptr, monitors.GetMonitorName(-1));
    EXPECT_EQ(nullptr, monitors.GetMonitorName(monitors.GetMonitorCount()));

    RECT rect = {1, 2, 3, 4};
    monitors.GetMonitorRect(seen.back().name.c_str(), &rect);
    EXPECT_EQ(seen.back().monitor, rect) << "the whole monitor, not its work area";
    monitors.GetMonitorRect(L"\\\\.\\NO SUCH DISPLAY", &rect);
    EXPECT_EQ((RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}), rect);
}

TEST_F(MultiMonitorTest, MovesWindowsIntoAMonitorsWorkAreaEdgeByEdge)
{
    const RECT area = FirstWork();
    const LONG areaWidth = area.right - area.left;
    const LONG areaHeight = area.bottom - area.top;
    const RECT inside = {area.left + 100, area.top + 100, area.left + 300, area.top + 200};
    struct Case {
        const char* what;
        RECT placed;
        RECT expected;
    };
    const Case cases[] = {
        {"inside", inside, inside},
        {"50 off the left edge", Offset(inside, -150, 0), Offset(inside, -100, 0)},
        {"50 off the top edge", Offset(inside, 0, -150), Offset(inside, 0, -100)},
        {"50 off the right edge", Offset(inside, areaWidth - 250, 0), Offset(inside, areaWidth - 300, 0)},
        {"50 off the bottom edge", Offset(inside, 0, areaHeight - 150), Offset(inside, 0, areaHeight - 200)},
        {"wider than the area, left edge inside", RECT{area.left + 10, area.top, area.right + 210, area.top + 50},
         RECT{area.left - 200, area.top, area.right, area.top + 50}},
        {"wider than the area, left edge outside", RECT{area.left - 10, area.top, area.right + 210, area.top + 50},
         RECT{area.left, area.top, area.right + 220, area.top + 50}},
    };
    for (const Case& move : cases) {
        TestWindow window(move.placed);
        ASSERT_EQ(move.placed, WindowRect(window.window)) << move.what;
        monitors.MoveWindowToMonitor(seen.front().name.c_str(), window.window);
        EXPECT_EQ(move.expected, WindowRect(window.window)) << move.what;
        monitors.MoveWindowToMonitor(nullptr, window.window);
        monitors.MoveWindowToMonitor(L"\\\\.\\NO SUCH DISPLAY", window.window);
        EXPECT_EQ(move.expected, WindowRect(window.window)) << move.what << ": a name of no monitor moves nothing";
    }
}

TEST_F(MultiMonitorTest, RescuesOnlyWindowsThatLieOnNoMonitor)
{
    const RECT area = FirstWork();
    struct Case {
        const char* what;
        RECT placed;
        RECT expected;
    };
    const Case cases[] = {
        {"far above and left of every monitor", RECT{-9000, -9000, -8800, -8900},
         RECT{area.left, area.top, area.left + 200, area.top + 100}},
        {"far below and right of every monitor", RECT{9000, 9000, 9200, 9100},
         RECT{area.right - 200, area.bottom - 100, area.right, area.bottom}},
        {"partly on a monitor", Offset(RECT{0, 0, 200, 100}, seen.front().monitor.left - 150, seen.front().monitor.top),
         Offset(RECT{0, 0, 200, 100}, seen.front().monitor.left - 150, seen.front().monitor.top)},
    };
    for (const Case& rescue : cases) {
        TestWindow window(rescue.placed);
        monitors.EnsureWindowOnMonitor(window.window);
        EXPECT_EQ(rescue.expected, WindowRect(window.window)) << rescue.what;
    }
}

TEST_F(MultiMonitorTest, PlacesARectangleBesideItsAnchorInsideTheWorkArea)
{
    const RECT area = FirstWork();
    const HMONITOR monitor = ::MonitorFromPoint(POINT{area.left + 1, area.top + 1}, MONITOR_DEFAULTTONULL);
    ASSERT_NE(nullptr, monitor);
    const RECT size = {0, 0, 120, 80};
    struct Case {
        const char* what;
        HMONITOR monitor;
        RECT anchor;
        RECT expected;
    };
    const RECT middle = {area.left + 300, area.top + 300, area.left + 340, area.top + 320};
    const RECT atRight = {area.right - 50, area.top + 300, area.right - 10, area.top + 320};
    const RECT atTop = {area.left + 300, area.top + 20, area.left + 340, area.top + 40};
    const Case cases[] = {
        {"right of the anchor, bottom at its top", monitor, middle, Offset(size, middle.right, middle.top - 80)},
        {"left of the anchor where the right has no room", monitor, atRight, Offset(size, atRight.left - 120, atRight.top - 80)},
        {"down to the work area's top", monitor, atTop, Offset(size, atTop.right, area.top)},
        {"without a monitor, even off the screen", nullptr, atTop, Offset(size, atTop.right, atTop.top - 80)},
    };
    for (const Case& place : cases) {
        RECT rect = size;
        monitors.PlaceBesideAnchor(place.monitor, place.anchor, &rect);
        EXPECT_EQ(place.expected, rect) << place.what;
    }
}

TEST_F(MultiMonitorTest, ADisplayChangeRefreshesTheListAndCallsEveryHandlerOnce)
{
    std::vector<std::string> calls;
    const boost::signals2::scoped_connection back = monitors.ConnectMonitorsChanged(
        [&] { calls.push_back("back, " + std::to_string(monitors.GetMonitorCount()) + " monitors"); }, ConnectAtBack);
    const boost::signals2::scoped_connection front =
        monitors.ConnectMonitorsChanged([&] { calls.push_back("front"); }, ConnectAtFront);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_DISPLAYCHANGE, 32, MAKELPARAM(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)),
                          SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_EQ((std::vector<std::string>{"front", "back, " + std::to_string(seen.size()) + " monitors"}), calls);
}

TEST(MultiMonitorWithoutItsWindow, KnowsNoMonitorAndDoesNothingHarmful)
{
    OxProgramMgr manager;
    RegisterComponent<OxMultiMonitor>(&manager, DependsOn<>());
    InitParamsOf<IOxMultiMonitor>(&manager)->SetIntParam("UseMessageWnd", 0);
    OxMultiMonitor monitors(&manager);
    EXPECT_EQ(0, monitors.GetMonitorCount());
    EXPECT_EQ(nullptr, monitors.GetMonitorName(0));

    int calls = 0;
    const boost::signals2::scoped_connection counting = monitors.ConnectMonitorsChanged([&] { ++calls; }, ConnectAtBack);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_DISPLAYCHANGE, 32, 0, SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_EQ(0, calls) << "display changes are not followed";

    TestWindow lost(RECT{-9000, -9000, -8800, -8900});
    monitors.EnsureWindowOnMonitor(lost.window);
    EXPECT_EQ((RECT{-9000, -9000, -8800, -8900}), WindowRect(lost.window)) << "no monitor to move it to";
    RECT rect = {1, 2, 3, 4};
    monitors.GetMonitorRect(monitors.GetMonitorName(0), &rect);
    EXPECT_EQ((RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}), rect);
}
