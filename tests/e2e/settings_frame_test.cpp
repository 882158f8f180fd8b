#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "desktop.h"
#include "program_run.h"
#include "services/single_instance_protocol.h"
#include "test_environment.h"

namespace {

// Control ids of the stand-in filter's page.
const int StreamAddressId = 1001;
const int BufferLengthId = 1002;

HWND DispatchWindowOf(DWORD processId)
{
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (ClassNameOf(window) == DispatchWindowClassName)
            return window;
    }
    return nullptr;
}

// Watches a process's dispatch window for as long as the watch lives.
class DispatchWindowWatch {
public:
    explicit DispatchWindowWatch(DWORD processId)
        : watcher([this, processId] {
              while (!stop) {
                  const HWND window = DispatchWindowOf(processId);
                  if (window != nullptr) {
                      seen = true;
                      if (::IsWindowVisible(window))
                          everVisible = true;
                  }
                  ::Sleep(20);
              }
          })
    {
    }
    ~DispatchWindowWatch()
    {
        stop = true;
        watcher.join();
    }

    std::atomic<bool> seen{false};
    std::atomic<bool> everVisible{false};

private:
    std::atomic<bool> stop{false};
    std::thread watcher;
};

class SettingsFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ChooseFixtureBehaviour(L"");
        ASSERT_TRUE(RegisterServer(StandInFilter));
        DeleteFilterSettings();
    }
    void TearDown() override
    {
        ChooseFixtureBehaviour(L"");
        DeleteFilterSettings();
    }

    // Serves the filter's class id with the fixture that misbehaves as told.
    static void UseMisbehavingFilter(const wchar_t* behaviour)
    {
        ASSERT_TRUE(RegisterServer(MisbehavingFilter));
        ChooseFixtureBehaviour(behaviour);
    }

    // Starts the program and waits for its frame.
    HWND StartAndWaitForFrame(ProgramRun& program)
    {
        if (!program.Started())
            return nullptr;
        return WaitForWindow([&program] { return FindPropertyFrame(program.ProcessId()); });
    }

    static void ExpectExitCode(ProgramRun& program, DWORD expected)
    {
        DWORD exitCode = 0;
        ASSERT_TRUE(program.WaitForExit(30000, &exitCode)) << "the program did not end";
        EXPECT_EQ(expected, exitCode) << std::hex << "expected 0x" << expected << ", got 0x" << exitCode;
    }
};

} // namespace

TEST_F(SettingsFrame, ShowsTheFilterPagesInACentredFrameWithATaskbarButtonAndEndsWithZero)
{
    ProgramRun program(L"vantor_source.exe");
    DispatchWindowWatch dispatchWindow(program.ProcessId());
    const HWND frame = StartAndWaitForFrame(program);
    ASSERT_NE(nullptr, frame);

    // The system's frame adds its own words to the name: Wine in front, Windows behind.
    const std::wstring caption = WindowText(frame);
    if (RunningOnWine())
        EXPECT_EQ(L"Properties for ZELK Vantor Source", caption);
    else
        EXPECT_EQ(L"ZELK Vantor Source Properties", caption) << ExpectedOnWindowsNotObserved;
    EXPECT_TRUE(::GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "no taskbar button";

    const RECT area = WorkAreaOf(frame);
    const RECT placed = WindowRect(frame);
    EXPECT_EQ((area.left + area.right) / 2 - (placed.right - placed.left) / 2, placed.left) << "not centred";
    EXPECT_EQ((area.top + area.bottom) / 2 - (placed.bottom - placed.top) / 2, placed.top) << "not centred";

    const HWND address = FindDescendantById(frame, StreamAddressId);
    ASSERT_NE(nullptr, address) << "the filter's page is not in the frame";
    const HWND page = ::GetParent(address);
    EXPECT_NE(frame, page);
    EXPECT_TRUE(::GetWindowLongW(page, GWL_STYLE) & WS_CHILD) << "the page is no child window";
    EXPECT_EQ(frame, ::GetAncestor(page, GA_ROOT));
    EXPECT_EQ(L"rtsp://camera.local:554/live", WindowText(address));

    const HWND dispatch = DispatchWindowOf(program.ProcessId());
    ASSERT_NE(nullptr, dispatch);
    const LONG style = ::GetWindowLongW(dispatch, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongW(dispatch, GWL_EXSTYLE);
    EXPECT_EQ(LONG(WS_POPUP), style & (WS_POPUP | WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(LONG(WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT), exStyle & (WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_APPWINDOW));

    PressButton(frame, IDCANCEL);
    ExpectExitCode(program, 0);
    EXPECT_TRUE(dispatchWindow.seen);
    EXPECT_FALSE(dispatchWindow.everVisible) << "the dispatch window became visible";
}

TEST_F(SettingsFrame, AnotherStartMessageWhileTheFrameIsUpShowsNoSecondFrame)
{
    // The dispatch window's start message, as another process that finds the window by its class posts it.
    const UINT startMessage = 0x815C;
    ProgramRun program(L"vantor_source.exe");
    const HWND frame = StartAndWaitForFrame(program);
    ASSERT_NE(nullptr, frame);
    const HWND dispatch = ::FindWindowW(DispatchWindowClassName, nullptr);
    ASSERT_NE(nullptr, dispatch);
    ASSERT_TRUE(::PostMessageW(dispatch, startMessage, 0, 0));

    const DWORD processId = program.ProcessId();
    EXPECT_FALSE(WaitUntil([&] { return PropertyFramesOf(processId).size() > 1 || !::IsWindow(frame); }, 3000))
        << "a second frame was shown, or the first one went away";
    EXPECT_TRUE(::IsWindow(dispatch)) << "the first frame's owner was destroyed";
    PressButton(frame, IDCANCEL);
    ExpectExitCode(program, 0);
}

TEST_F(SettingsFrame, StoresAValueChangedOnThePageWhenOkIsPressedAndShowsItOnTheNextStart)
{
    {
        ProgramRun program(L"vantor_source.exe");
        const HWND frame = StartAndWaitForFrame(program);
        ASSERT_NE(nullptr, frame);
        TypeInto(FindDescendantById(frame, BufferLengthId), L"4500");
        PressButton(frame, IDOK);
        ExpectExitCode(program, 0);
    }
    DWORD stored = 0;
    ASSERT_TRUE(ReadFilterSetting(L"BufferLength", &stored));
    EXPECT_EQ(4500u, stored);

    ProgramRun again(L"vantor_source.exe");
    const HWND frame = StartAndWaitForFrame(again);
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(L"4500", WindowText(FindDescendantById(frame, BufferLengthId)));
    PressButton(frame, IDCANCEL);
    ExpectExitCode(again, 0);
}

TEST_F(SettingsFrame, RefusesAnInvalidValueWithAWarningAndKeepsTheFrameOpen)
{
    ProgramRun program(L"vantor_source.exe");
    const HWND frame = StartAndWaitForFrame(program);
    ASSERT_NE(nullptr, frame);
    TypeInto(FindDescendantById(frame, BufferLengthId), L"50");
    PressButton(frame, IDOK);

    const HWND box = WaitForWindow([&program] { return FindMessageBox(program.ProcessId()); });
    ASSERT_NE(nullptr, box) << "no warning";
    const MessageBoxView warning = ReadMessageBox(box);
    EXPECT_NE(std::wstring::npos, warning.text.find(L"buffer length")) << testing::PrintToString(warning.text);
    EXPECT_EQ(BoxIcon::Warning, warning.icon) << BoxIconName(warning.icon);
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));

    EXPECT_TRUE(::IsWindowVisible(frame)) << "the frame closed";
    DWORD stored = 0;
    EXPECT_FALSE(ReadFilterSetting(L"BufferLength", &stored)) << "an invalid value was stored";
    PressButton(frame, IDCANCEL);
    ExpectExitCode(program, 0);
}

TEST_F(SettingsFrame, CaptionsTheFrameWithoutANameWhenTheFilterHasNone)
{
    UseMisbehavingFilter(L"empty-name");
    ProgramRun program(L"vantor_source.exe");
    const HWND frame = StartAndWaitForFrame(program);
    ASSERT_NE(nullptr, frame);
    // The system's own words around the empty name: Wine's in front, Windows' behind.
    const std::wstring caption = WindowText(frame);
    if (RunningOnWine())
        EXPECT_EQ(L"Properties for ", caption);
    else
        EXPECT_EQ(L" Properties", caption) << ExpectedOnWindowsNotObserved;
    PressButton(frame, IDCANCEL);
    ExpectExitCode(program, 0);
}

TEST_F(SettingsFrame, LeavesAMessageBoxOfThePageToTheSystem)
{
    UseMisbehavingFilter(L"page-opens-message-box");
    ProgramRun program(L"vantor_source.exe");
    const HWND frame = StartAndWaitForFrame(program);
    ASSERT_NE(nullptr, frame);
    const HWND box = WaitForWindow([&program] { return FindMessageBox(program.ProcessId()); });
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"Fixture page", WindowText(box));
    EXPECT_FALSE(::GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "the box got a taskbar button";

    // The page moved the frame to the top left corner first: centred on the work area, the box
    // would have been moved by the program.
    const RECT area = WorkAreaOf(box);
    const RECT placed = WindowRect(box);
    const bool centredOnWorkArea = placed.left == (area.left + area.right) / 2 - (placed.right - placed.left) / 2
        && placed.top == (area.top + area.bottom) / 2 - (placed.bottom - placed.top) / 2;
    EXPECT_FALSE(centredOnWorkArea) << "box at " << placed.left << "," << placed.top;

    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    PressButton(frame, IDCANCEL);
    ExpectExitCode(program, 0);
}
