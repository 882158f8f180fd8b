#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "framework/component_registration.h"
#include "framework/program_mgr.h"
#include "platform/message_loop.h"
#include "shell/dispatch_window.h"
#include "shell/ox_program_info.h"
#include "test_support.h"
#include "version.h"

namespace {

// A dispatch window whose action only counts, and when asked to runs a loop as the settings
// frame does and closes the window.
class CountingDispatchWindow : public CDispatchWindowBase {
public:
    explicit CountingDispatchWindow(bool closeWhenShown) : CDispatchWindowBase(101), closeWhenShown(closeWhenShown) {}

    void ShowSettings() override
    {
        ++shown;
        visibleWhileShown = ::IsWindowVisible(m_hWnd) != FALSE;
        if (closeWhenShown) {
            // As the settings frame does: a loop of its own dispatches what was posted meanwhile.
            PumpMessages();
            CloseDispatchWindow();
        }
    }

    int shown = 0;
    bool visibleWhileShown = true;

private:
    bool closeWhenShown;
};

class DispatchWindowTest : public ::testing::Test {
protected:
    DispatchWindowTest() : publication(&manager)
    {
        baseProgramStuff = boost::make_shared<RecordingBaseProgramStuff>(&manager);
        uiMgr = boost::make_shared<RecordingUiMgr>(&manager);
        RegisterComponentInstance(&manager, baseProgramStuff, DependsOn<>());
        RegisterComponentInstance(&manager, uiMgr, DependsOn<>());
    }

    bool QuitWasPosted(int* exitCode)
    {
        MSG message;
        if (!::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            return false;
        *exitCode = static_cast<int>(message.wParam);
        return true;
    }

    OxProgramMgr manager;
    ProgramMgrPublication publication;
    boost::shared_ptr<RecordingBaseProgramStuff> baseProgramStuff;
    boost::shared_ptr<RecordingUiMgr> uiMgr;
};

} // namespace

TEST_F(DispatchWindowTest, IsAHiddenToolPopupOfItsOwnClass)
{
    const boost::shared_ptr<CDispatchWindow> window = CreateDispatchWindow();
    ASSERT_TRUE(window);
    wchar_t className[64] = L"";
    ::GetClassNameW(*window, className, 64);
    EXPECT_STREQ(L"ZELK Vantor Source Dispatch", className);
    EXPECT_EQ(DWORD(WS_POPUP), window->GetStyle() & (WS_POPUP | WS_VISIBLE | WS_CHILD));
    EXPECT_EQ(DWORD(WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT),
              window->GetExStyle() & (WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_APPWINDOW));

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    ASSERT_TRUE(::GetClassInfoExW(::GetModuleHandleW(nullptr), L"ZELK Vantor Source Dispatch", &windowClass));
    EXPECT_EQ(UINT(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS), windowClass.style);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), windowClass.hbrBackground);
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_ARROW), windowClass.hCursor);
    EXPECT_EQ(nullptr, ::GetMenu(*window)) << "the program file carries no menu";

    EXPECT_EQ((std::vector<HWND>{window->m_hWnd}), baseProgramStuff->attachedWindows);
    window->DestroyWindow();
    PumpMessages();
}

TEST_F(DispatchWindowTest, RunsItsActionOnceFromTheMessageLoopAndEndsItWithZero)
{
    CountingDispatchWindow window(true);
    ASSERT_NE(nullptr, window.Create(nullptr));
    const HWND handle = window.m_hWnd;
    EXPECT_EQ(0, window.shown) << "the action waits for the message loop";
    window.PostMessage(DispatchStartMessage);

    vantor::CMessageLoop loop;
    EXPECT_EQ(0, loop.Run());
    EXPECT_EQ(1, window.shown) << "a second start message, dispatched while the action runs, runs nothing";
    EXPECT_FALSE(window.visibleWhileShown);
    EXPECT_FALSE(::IsWindow(handle));
    EXPECT_EQ((std::vector<HWND>{handle, nullptr}), baseProgramStuff->attachedWindows) << "detached when destroyed";
}

TEST_F(DispatchWindowTest, ClosesOnTheCloseCommandFromAnySource)
{
    CountingDispatchWindow window(false);
    ASSERT_NE(nullptr, window.Create(nullptr));
    window.PostMessage(WM_COMMAND, MAKEWPARAM(CloseCommandId, 1), 0);
    vantor::CMessageLoop loop;
    EXPECT_EQ(0, loop.Run());
    EXPECT_EQ(nullptr, window.m_hWnd);
    EXPECT_EQ(1, window.shown);
}

TEST_F(DispatchWindowTest, DestroyedByWmCloseButLeavesTheMessageLoopRunning)
{
    CountingDispatchWindow window(false);
    ASSERT_NE(nullptr, window.Create(nullptr));
    PumpMessages();
    const HWND handle = window.m_hWnd;
    window.SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(handle));
    EXPECT_EQ((std::vector<HWND>{handle, nullptr}), baseProgramStuff->attachedWindows);
    int exitCode = -1;
    EXPECT_FALSE(QuitWasPosted(&exitCode));
}

TEST_F(DispatchWindowTest, AboutCommandAsksTheSkinComponentForTheCopyrightPage)
{
    CountingDispatchWindow window(false);
    ASSERT_NE(nullptr, window.Create(nullptr));
    window.SendMessage(WM_COMMAND, MAKEWPARAM(AboutCommandId, 0), 0);
    EXPECT_EQ((std::vector<std::wstring>{L"copyrights\\index.html"}), uiMgr->shownPages);
    EXPECT_EQ((std::vector<WORD>{101}), uiMgr->shownIds);
    EXPECT_EQ((std::vector<HWND>{nullptr}), uiMgr->owners);
    window.DestroyWindow();
    PumpMessages();
}

TEST_F(DispatchWindowTest, TakesItsCaptionFromTheProgramIdentity)
{
    CountingDispatchWindow window(false);
    EXPECT_EQ(L"", window.GetMainCaption());
    IOxProgramInfo_Add(&manager, nullptr, L"ZELKVS", L"ZELK Vantor Source", L" Beta", L"ZELK Soft",
                       VANTOR_VERSION_TEXT, VANTOR_VERSION_MAJOR, VANTOR_VERSION_MINOR, VANTOR_VERSION_PATCH);
    EXPECT_EQ(L"ZELK Vantor Source Beta", window.GetMainCaption());
}
