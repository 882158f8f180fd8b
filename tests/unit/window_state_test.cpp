#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "desktop.h"
#include "program_settings_fixture.h"
#include "services/ox_multi_monitor.h"
#include "test_support.h"

namespace {

const int ListId = 1234;
// Windows that a user can maximise and minimise.
const DWORD Framed = WS_OVERLAPPEDWINDOW;

class WindowStateTest : public ProgramSettingsTest {
protected:
    WindowStateTest() { RegisterComponent<OxMultiMonitor>(&manager, DependsOn<>()); }

    int Stored(const std::wstring& name) { return Settings()->GetInt(name, -12345); }
};

HWND ListBox(HWND parent, int items)
{
    const HWND list = ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_NOTIFY, 0, 0, 100, 100, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ListId)), nullptr, nullptr);
    for (int i = 0; i < items; ++i)
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
    return list;
}

HWND ListView(HWND parent, const std::vector<int>& widths, DWORD view = LVS_REPORT, int id = ListId)
{
    const HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | view, 0, 0, 400, 100, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    for (size_t i = 0; i < widths.size(); ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_WIDTH;
        column.cx = widths[i];
        ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

// A child window of parent at a place in the parent's client area.
HWND ChildWindow(HWND parent, const RECT& rect)
{
    return ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                             parent, nullptr, nullptr, nullptr);
}

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child)
{
    RECT rect = WindowRect(child);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<int> ColumnWidths(HWND list, int count)
{
    std::vector<int> widths;
    for (int i = 0; i < count; ++i)
        widths.push_back(static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0)));
    return widths;
}

} // namespace

TEST_F(WindowStateTest, NormalWindowsComeBackWhereTheyWere)
{
    const RECT saved = {120, 110, 520, 410};
    {
        TestWindow window(saved, Framed);
        Settings()->SaveWindowPosition(L"Main", window.window);
    }
    EXPECT_EQ(120, Stored(L"Controls\\Main\\WinPosX0"));
    EXPECT_EQ(110, Stored(L"Controls\\Main\\WinPosY0"));
    EXPECT_EQ(520, Stored(L"Controls\\Main\\WinPosX1"));
    EXPECT_EQ(410, Stored(L"Controls\\Main\\WinPosY1"));
    EXPECT_EQ(0, Stored(L"Controls\\Main\\WinMaximized"));

    // Stored in screen coordinates, a child's rectangle too.
    struct Case {
        bool child;
        bool keepSize;
        RECT expected;
    };
    for (const Case& restore : {Case{false, false, saved}, Case{false, true, RECT{120, 110, 320, 210}},
                                Case{true, false, saved}, Case{true, true, RECT{120, 110, 320, 210}}}) {
        TestWindow topLevel(RECT{10, 10, 210, 110}, Framed);
        TestWindow parent(RECT{60, 50, 700, 600}, Framed);
        const HWND window = restore.child ? ChildWindow(parent.window, RECT{5, 5, 205, 105}) : topLevel.window;
        int showCommand = SW_SHOWNORMAL;
        Settings()->RestoreWindowPosition(L"Main", window, &showCommand, restore.keepSize);
        EXPECT_EQ(restore.expected, WindowRect(window)) << "child " << restore.child << ", keepSize " << restore.keepSize;
        EXPECT_EQ(SW_SHOWNORMAL, showCommand);
    }

    TestWindow parent(RECT{60, 50, 700, 600}, Framed);
    const HWND child = ChildWindow(parent.window, RECT{30, 40, 130, 100});
    const RECT childSaved = WindowRect(child);
    Settings()->SaveWindowPosition(L"Child", child);
    ::MoveWindow(child, 0, 0, 10, 10, FALSE);
    Settings()->RestoreWindowPosition(L"Child", child, nullptr, false);
    EXPECT_EQ(childSaved, WindowRect(child)) << "a child comes back to its place in the parent";
    EXPECT_EQ((RECT{30, 40, 130, 100}), RectInParent(child));
}

TEST_F(WindowStateTest, MaximisedWindowsStoreOnlyThatAndMinimisedOnesNothing)
{
    {
        TestWindow window(RECT{100, 100, 300, 200}, Framed);
        Settings()->SaveWindowPosition(L"Main", window.window);
        ::ShowWindow(window.window, SW_MAXIMIZE);
        ASSERT_TRUE(::IsZoomed(window.window));
        Settings()->SaveWindowPosition(L"Main", window.window);
    }
    EXPECT_EQ(1, Stored(L"Controls\\Main\\WinMaximized"));
    EXPECT_EQ(300, Stored(L"Controls\\Main\\WinPosX1")) << "the rectangle of the last normal save";
    {
        TestWindow window(RECT{50, 50, 150, 150}, Framed);
        int showCommand = SW_SHOWNORMAL;
        Settings()->RestoreWindowPosition(L"Main", window.window, &showCommand, false);
        EXPECT_EQ(SW_MAXIMIZE, showCommand);
        EXPECT_EQ((RECT{100, 100, 300, 200}), WindowRect(window.window));
    }
    {
        TestWindow window(RECT{400, 400, 600, 600}, Framed);
        ::ShowWindow(window.window, SW_MINIMIZE);
        ASSERT_TRUE(::IsIconic(window.window));
        Settings()->SaveWindowPosition(L"Minimised", window.window);
    }
    EXPECT_EQ(-12345, Stored(L"Controls\\Minimised\\WinPosX0"));
    EXPECT_EQ(-12345, Stored(L"Controls\\Minimised\\WinMaximized"));
}

TEST_F(WindowStateTest, WindowsNeverSavedAreCentredAndWindowsOffEveryMonitorRescued)
{
    TestWindow fresh(RECT{0, 0, 201, 101}, WS_POPUP);
    int showCommand = SW_SHOWNORMAL;
    Settings()->RestoreWindowPosition(L"Never saved", fresh.window, &showCommand, false);
    const RECT area = WorkAreaOf(fresh.window);
    EXPECT_EQ((area.left + area.right) / 2 - 201 / 2, WindowRect(fresh.window).left) << "centred";
    EXPECT_EQ((area.top + area.bottom) / 2 - 101 / 2, WindowRect(fresh.window).top);
    EXPECT_EQ(SW_SHOWNORMAL, showCommand) << "untouched";

    // A child on its parent's client area, kept inside it.
    struct ChildCase {
        SIZE size;
        POINT expected;
    };
    TestWindow parent(RECT{150, 120, 650, 520}, Framed);
    RECT client;
    ::GetClientRect(parent.window, &client);
    for (const ChildCase& child : {ChildCase{SIZE{201, 101}, POINT{client.right / 2 - 201 / 2, client.bottom / 2 - 101 / 2}},
                                   ChildCase{SIZE{client.right + 40, 30}, POINT{0, client.bottom / 2 - 30 / 2}}}) {
        const HWND window = ChildWindow(parent.window, RECT{3, 3, 3 + child.size.cx, 3 + child.size.cy});
        Settings()->RestoreWindowPosition(L"Never saved", window, nullptr, false);
        const RECT placed = RectInParent(window);
        EXPECT_EQ(child.expected.x, placed.left) << "child " << child.size.cx << " wide";
        EXPECT_EQ(child.expected.y, placed.top) << "child " << child.size.cx << " wide";
        ::DestroyWindow(window);
    }

    // Saved on a monitor that is no longer attached.
    ASSERT_TRUE(Settings()->SetInt(L"Controls\\Gone\\WinPosX0", 9000));
    ASSERT_TRUE(Settings()->SetInt(L"Controls\\Gone\\WinPosY0", 9100));
    ASSERT_TRUE(Settings()->SetInt(L"Controls\\Gone\\WinPosX1", 9300));
    ASSERT_TRUE(Settings()->SetInt(L"Controls\\Gone\\WinPosY1", 9250));
    TestWindow window(RECT{10, 10, 110, 110}, Framed);
    Settings()->RestoreWindowPosition(L"Gone", window.window, nullptr, false);
    const RECT first = WorkAreaOf(window.window);
    EXPECT_EQ((RECT{first.right - 300, first.bottom - 150, first.right, first.bottom}), WindowRect(window.window))
        << "moved into the first monitor's work area, keeping its size";
}

TEST_F(WindowStateTest, ListBoxesGetTheirSelectionBackWhenTheyStillHoldThatItem)
{
    TestWindow parent(RECT{0, 0, 300, 300}, Framed);
    const HWND saved = ListBox(parent.window, 5);
    ::SendMessageW(saved, LB_SETCURSEL, 3, 0);
    Settings()->SaveControlState(saved, ControlStateKind::ListBoxSelection);
    ::DestroyWindow(saved);
    EXPECT_EQ(3, Stored(L"Controls\\1234\\CurrentSel"));

    struct Case {
        int items;
        LRESULT expected;
    };
    for (const Case& restore : {Case{5, 3}, Case{3, 0}, Case{0, LB_ERR}}) {
        const HWND list = ListBox(parent.window, restore.items);
        Settings()->RestoreControlState(list, ControlStateKind::ListBoxSelection);
        EXPECT_EQ(restore.expected, ::SendMessageW(list, LB_GETCURSEL, 0, 0)) << restore.items << " items";
        ::DestroyWindow(list);
    }

    const HWND unselected = ListBox(parent.window, 4);
    Settings()->SaveControlState(unselected, ControlStateKind::ListBoxSelection);
    EXPECT_EQ(3, Stored(L"Controls\\1234\\CurrentSel")) << "no selection stores nothing";
    ASSERT_TRUE(Settings()->SetInt(L"Controls\\1234\\CurrentSel", -1));
    ::SendMessageW(unselected, LB_SETCURSEL, 2, 0);
    Settings()->RestoreControlState(unselected, ControlStateKind::ListBoxSelection);
    EXPECT_EQ(LB_ERR, ::SendMessageW(unselected, LB_GETCURSEL, 0, 0)) << "a stored -1 clears the selection";
}

TEST_F(WindowStateTest, ReportListViewsGetTheWidthsOfTheColumnsTheyStillHave)
{
    TestWindow parent(RECT{0, 0, 500, 300}, Framed);
    const HWND saved = ListView(parent.window, {50, 60, 70, 80, 90});
    Settings()->SaveControlState(saved, ControlStateKind::ListViewColumns);
    ::DestroyWindow(saved);
    EXPECT_EQ(5, Stored(L"Controls\\1234\\ColumnsCount"));
    EXPECT_EQ(90, Stored(L"Controls\\1234\\Column04"));
    ASSERT_TRUE(Settings()->SetInt(L"Controls\\1234\\Column01", -1));

    const HWND fewer = ListView(parent.window, {10, 10, 10});
    Settings()->RestoreControlState(fewer, ControlStateKind::ListViewColumns);
    EXPECT_EQ((std::vector<int>{50, 10, 70}), ColumnWidths(fewer, 3)) << "a stored -1 leaves its column alone";

    // Beyond two digits the index simply grows.
    ASSERT_TRUE(Settings()->SetInt(L"Controls\\1234\\ColumnsCount", 101));
    ASSERT_TRUE(Settings()->SetInt(L"Controls\\1234\\Column100", 33));
    std::vector<int> many(101, 20);
    const HWND wide = ListView(parent.window, many);
    Settings()->RestoreControlState(wide, ControlStateKind::ListViewColumns);
    EXPECT_EQ(33, ::SendMessageW(wide, LVM_GETCOLUMNWIDTH, 100, 0));
    EXPECT_EQ(90, ::SendMessageW(wide, LVM_GETCOLUMNWIDTH, 4, 0));

    struct Case {
        const char* what;
        DWORD view;
        int id;
    };
    for (const Case& ignored : {Case{"icon view", LVS_ICON, ListId}, Case{"no control id", LVS_REPORT, 0}}) {
        const HWND list = ListView(parent.window, {10, 10}, ignored.view, ignored.id);
        Settings()->SaveControlState(list, ControlStateKind::ListViewColumns);
        EXPECT_EQ(101, Stored(L"Controls\\1234\\ColumnsCount")) << ignored.what << " stores nothing";
        Settings()->SaveControlState(list, ControlStateKind::ListViewColumns + 7);
        EXPECT_EQ(101, Stored(L"Controls\\1234\\ColumnsCount")) << "an unknown kind does nothing";
        if (ignored.view == LVS_REPORT) {
            Settings()->RestoreControlState(list, ControlStateKind::ListViewColumns);
            EXPECT_EQ((std::vector<int>{10, 10}), ColumnWidths(list, 2)) << ignored.what;
        }
    }
}
