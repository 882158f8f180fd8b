#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "desktop.h"
#include "platform/contained_window.h"
#include "platform/window_proc_thunk.h"
#include "test_support.h"

namespace {

const UINT AskFirst = WM_APP + 5;
const UINT AskSecond = WM_APP + 6;

// Answers one message with a fixed value and passes another on.
class AnsweringMap : public vantor::CMessageMap {
public:
    AnsweringMap(UINT answered, UINT passedOn) : answered(answered), passedOn(passedOn) {}

    BEGIN_MSG_MAP(AnsweringMap)
        MESSAGE_HANDLER(answered, OnAnswered)
        MESSAGE_HANDLER(passedOn, OnPassedOn)
    END_MSG_MAP()

    int passedOnCount = 0;

private:
    LRESULT OnAnswered(UINT message, WPARAM, LPARAM, BOOL&) { return message; }
    LRESULT OnPassedOn(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        ++passedOnCount;
        handled = FALSE;
        return 0;
    }

    UINT answered;
    UINT passedOn;
};

class PlainWindow {
public:
    PlainWindow() : window(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)) {}
    ~PlainWindow() { ::DestroyWindow(window); }
    HWND window;
};

} // namespace

TEST(ContainedWindow, SubclassersOfOneWindowEachHandleTheirMessagesAndPassOnTheRest)
{
    PlainWindow plain;
    AnsweringMap firstMap(AskFirst, AskSecond);
    AnsweringMap secondMap(AskSecond, AskFirst);
    vantor::CContainedWindow first(&firstMap);
    vantor::CContainedWindow second(&secondMap);
    ASSERT_TRUE(first.SubclassWindow(plain.window));
    ASSERT_TRUE(second.SubclassWindow(plain.window));

    EXPECT_EQ(LRESULT(AskFirst), ::SendMessageW(plain.window, AskFirst, 0, 0));
    EXPECT_EQ(LRESULT(AskSecond), ::SendMessageW(plain.window, AskSecond, 0, 0));
    EXPECT_EQ(1, secondMap.passedOnCount);
    EXPECT_EQ(0, firstMap.passedOnCount) << "the later subclasser answers first";

    EXPECT_EQ(plain.window, second.UnsubclassWindow());
    EXPECT_EQ(0, ::SendMessageW(plain.window, AskSecond, 0, 0)) << "back to the window's own procedure, through the first";
    EXPECT_EQ(1, firstMap.passedOnCount);
}

TEST(ContainedWindow, GivesTheWindowBackWhenDestroyedFirst)
{
    PlainWindow plain;
    AnsweringMap map(AskFirst, AskSecond);
    {
        vantor::CContainedWindow contained(&map);
        ASSERT_TRUE(contained.SubclassWindow(plain.window));
    }
    EXPECT_EQ(0, ::SendMessageW(plain.window, AskFirst, 0, 0));
}

TEST(ContainedWindow, DestroyedUnderALaterSubclasserLeavesAForwarderToTheWindowsOwnProcedure)
{
    PlainWindow plain;
    AnsweringMap upperMap(AskSecond, AskFirst);
    vantor::CContainedWindow upper(&upperMap);
    {
        AnsweringMap lowerMap(AskFirst, AskSecond);
        vantor::CContainedWindow lower(&lowerMap);
        ASSERT_TRUE(lower.SubclassWindow(plain.window));
        ASSERT_TRUE(upper.SubclassWindow(plain.window));
    }
    EXPECT_EQ(0, ::SendMessageW(plain.window, AskFirst, 0, 0)) << "passed on past the gone subclasser, to the window's own procedure";
    EXPECT_EQ(1, upperMap.passedOnCount);
    EXPECT_EQ(plain.window, upper.UnsubclassWindow());
    EXPECT_EQ(0, ::SendMessageW(plain.window, AskFirst, 0, 0)) << "the forwarder is the window's procedure now";
}

TEST(ContainedWindow, DestroyedUnderALaterSubclasserWhileMemoryRunsOutStillForwards)
{
    PlainWindow plain;
    AnsweringMap upperMap(AskSecond, AskFirst);
    vantor::CContainedWindow upper(&upperMap);
    {
        AnsweringMap lowerMap(AskFirst, AskSecond);
        vantor::CContainedWindow lower(&lowerMap);
        ASSERT_TRUE(lower.SubclassWindow(plain.window));
        ASSERT_TRUE(upper.SubclassWindow(plain.window));
        vantor::SetThunkMemoryExhaustedForTesting(true);
    }
    vantor::SetThunkMemoryExhaustedForTesting(false);
    // Thunks made now would take any thunk memory that was given back.
    PlainWindow other;
    AnsweringMap otherMap(AskFirst, AskSecond);
    std::vector<std::unique_ptr<vantor::CContainedWindow>> others;
    for (int i = 0; i < 8; ++i) {
        others.push_back(std::make_unique<vantor::CContainedWindow>(&otherMap));
        ASSERT_TRUE(others.back()->SubclassWindow(other.window));
    }
    EXPECT_EQ(0, ::SendMessageW(plain.window, AskFirst, 0, 0)) << "passed on past the gone subclasser, to the window's own procedure";
    EXPECT_EQ(1, upperMap.passedOnCount);
    EXPECT_EQ(plain.window, upper.UnsubclassWindow());
    EXPECT_EQ(0, ::SendMessageW(plain.window, AskFirst, 0, 0)) << "the forwarder is the window's procedure now";
}

TEST(ContainedWindow, CreatesAMessageOnlyWindowOfASuperclass)
{
    AnsweringMap map(AskFirst, AskSecond);
    vantor::CContainedWindow contained(L"Message", &map);
    RECT empty = {};
    ASSERT_NE(nullptr, contained.Create(HWND_MESSAGE, empty));
    wchar_t className[32] = L"";
    ::GetClassNameW(contained, className, 32);
    EXPECT_STREQ(L"ATL:Message", className);
    EXPECT_EQ(contained.m_hWnd, ::FindWindowExW(HWND_MESSAGE, nullptr, L"ATL:Message", nullptr));
    EXPECT_EQ(LRESULT(AskFirst), contained.SendMessage(AskFirst));
    contained.DestroyWindow();
    EXPECT_EQ(nullptr, contained.m_hWnd);
}

TEST(Window, CentresAPopupOnItsWorkAreaUnlessItsOwnerIsVisible)
{
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 100, 100, 400, 300, nullptr, nullptr, nullptr, nullptr);
    const HWND popup = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 5, 5, 201, 101, owner, nullptr, nullptr, nullptr);
    const RECT area = WorkAreaOf(popup);

    ASSERT_TRUE(vantor::CWindow(popup).CenterWindow());
    RECT placed;
    ::GetWindowRect(popup, &placed);
    EXPECT_EQ((area.left + area.right) / 2 - 201 / 2, placed.left) << "hidden owner: the work area";
    EXPECT_EQ((area.top + area.bottom) / 2 - 101 / 2, placed.top);

    ::ShowWindow(owner, SW_SHOWNA);
    ASSERT_TRUE(vantor::CWindow(popup).CenterWindow());
    ::GetWindowRect(popup, &placed);
    EXPECT_EQ(300 - 201 / 2, placed.left) << "visible owner: centred on it";
    EXPECT_EQ(250 - 101 / 2, placed.top);

    ::MoveWindow(owner, area.right - 50, area.bottom - 50, 40, 40, FALSE);
    ASSERT_TRUE(vantor::CWindow(popup).CenterWindow());
    ::GetWindowRect(popup, &placed);
    EXPECT_EQ(area.right - 201, placed.left) << "kept inside the work area";
    EXPECT_EQ(area.bottom - 101, placed.top);

    ::DestroyWindow(popup);
    ::DestroyWindow(owner);
}

TEST(Window, CentresAChildOnItsParentsClientAreaKeepingItInside)
{
    const HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 120, 90, 500, 400, nullptr, nullptr, nullptr, nullptr);
    RECT client;
    ::GetClientRect(parent, &client);
    struct Case {
        SIZE size;
        POINT expected;
    };
    for (const Case& child : {Case{SIZE{201, 101}, POINT{client.right / 2 - 201 / 2, client.bottom / 2 - 101 / 2}},
                              Case{SIZE{40, client.bottom + 25}, POINT{client.right / 2 - 40 / 2, 0}}}) {
        const HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 7, 7, child.size.cx, child.size.cy, parent, nullptr,
                                              nullptr, nullptr);
        ASSERT_TRUE(vantor::CWindow(window).CenterWindow());
        RECT placed = WindowRect(window);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(child.expected.x, placed.left) << "child " << child.size.cy << " high";
        EXPECT_EQ(child.expected.y, placed.top) << "child " << child.size.cy << " high";
        ::DestroyWindow(window);
    }
    ::DestroyWindow(parent);
}
