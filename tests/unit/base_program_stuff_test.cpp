#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include <boost/make_shared.hpp>

#include "framework/component_registration.h"
#include "framework/interfaces/program_info.h"
#include "framework/ox_event_proxy.h"
#include "framework/program_mgr.h"
#include "platform/scoped_resource.h"
#include "services/ox_base_program_stuff.h"
#include "test_support.h"

namespace {

const UINT CopyDataAnswer = 77;

LRESULT CALLBACK AnswerCopyData(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_COPYDATA ? CopyDataAnswer : ::DefWindowProcW(window, message, wParam, lParam);
}

// A top-level window whose own procedure answers WM_COPYDATA with 77.
class OwnWindow {
public:
    OwnWindow()
    {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = AnswerCopyData;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"BaseProgramStuffTestWindow";
        ::RegisterClassExW(&windowClass);
        window = ::CreateWindowExW(0, L"BaseProgramStuffTestWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    }
    ~OwnWindow() { ::DestroyWindow(window); }
    HWND window;
};

LRESULT SendRecord(HWND window, ULONG_PTR tag, const std::wstring& text)
{
    COPYDATASTRUCT record = {tag, static_cast<DWORD>(text.size() * sizeof(wchar_t)), const_cast<wchar_t*>(text.data())};
    return ::SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
}

// Dispatches messages until done says so or timeoutMs have passed; false on the timeout.
bool PumpUntil(const std::function<bool()>& done, ULONGLONG timeoutMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= end)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

// Waits somewhat longer than the batching delay, dispatching messages.
void PumpPastTheBatchingDelay()
{
    PumpUntil([] { return false; }, CommandLineBatchDelayMs + 300);
}

class BaseProgramStuffTest : public ::testing::Test {
protected:
    BaseProgramStuffTest()
    {
        RegisterComponent<OxBaseProgramStuff>(&manager, DependsOn<IOxProgramInfo, IOxEventProxy>());
    }
    boost::shared_ptr<IOxBaseProgramStuff> Stuff() { return OxInterfacePtr<IOxBaseProgramStuff>(&manager, "GlobalUse").Get(); }
    void WithEventProxy() { RegisterComponent<OxEventProxy>(&manager, DependsOn<>()); }
    // Passes the single-instance check as the only instance, then attaches window.
    void StartAsTheOnlyInstance(HWND window)
    {
        InitParamsOf<IOxBaseProgramStuff>(&manager)->SetIntParam("MultiInstanceAllowed", 0);
        ASSERT_TRUE(Stuff()->CheckSingleInstance());
        Stuff()->AttachMainWindow(window);
    }
    boost::signals2::connection CollectBatches(std::vector<std::vector<std::wstring>>& batches)
    {
        return Stuff()->ConnectCommandLine([&batches](const std::vector<std::wstring>& lines) { batches.push_back(lines); },
                                           ConnectAtBack);
    }

    OxProgramMgr manager;
};

} // namespace

TEST_F(BaseProgramStuffTest, KeepsAnExitCodeOnlyOnceOneIsStored)
{
    int exitCode = 42;
    EXPECT_FALSE(Stuff()->GetExitCode(&exitCode));
    EXPECT_EQ(42, exitCode);
    Stuff()->SetExitCode(7);
    EXPECT_TRUE(Stuff()->GetExitCode(&exitCode));
    EXPECT_EQ(7, exitCode);
    EXPECT_TRUE(Stuff()->GetExitCode(nullptr));
}

TEST_F(BaseProgramStuffTest, KnowsTheMainWindowAndThreadOnceAWindowIsAttached)
{
    OwnWindow own;
    EXPECT_FALSE(Stuff()->IsMainThread());
    Stuff()->AttachMainWindow(own.window);
    EXPECT_EQ(own.window, Stuff()->GetMainWindow());
    EXPECT_TRUE(Stuff()->IsMainThread());
    bool elsewhere = true;
    std::thread([&] { elsewhere = Stuff()->IsMainThread(); }).join();
    EXPECT_FALSE(elsewhere);
    Stuff()->AttachMainWindow(nullptr);
    EXPECT_EQ(nullptr, Stuff()->GetMainWindow());
    EXPECT_TRUE(Stuff()->IsMainThread());
}

TEST_F(BaseProgramStuffTest, MakesNoMutexAndDeliversNothingWhenSeveralInstancesAreAllowed)
{
    WithEventProxy();
    std::vector<std::vector<std::wstring>> batches;
    const boost::signals2::scoped_connection collecting = CollectBatches(batches);
    EXPECT_TRUE(Stuff()->CheckSingleInstance());
    EXPECT_EQ(nullptr, ::OpenMutexW(SYNCHRONIZE, FALSE, SingleInstanceMutexName));
    OwnWindow own;
    Stuff()->AttachMainWindow(own.window);
    PumpPastTheBatchingDelay();
    EXPECT_TRUE(batches.empty());
}

TEST_F(BaseProgramStuffTest, FirstInstanceDeliversItsOwnCommandLineAndLeavesOtherRecordsToTheWindow)
{
    WithEventProxy();
    std::vector<std::vector<std::wstring>> batches;
    const boost::signals2::scoped_connection collecting = CollectBatches(batches);
    OwnWindow own;
    StartAsTheOnlyInstance(own.window);
    EXPECT_EQ(LRESULT(CopyDataAnswer), SendRecord(own.window, 0x1234, L"not ours"));
    EXPECT_EQ(TRUE, SendRecord(own.window, ForwardedCommandLineTag, L"second"));
    EXPECT_TRUE(batches.empty()) << "lines wait for the batching delay";
    PumpPastTheBatchingDelay();
    EXPECT_EQ((std::vector<std::vector<std::wstring>>{{::GetCommandLineW(), L"second"}}), batches);

    bool released = false;
    std::thread([&] {
        const vantor::ScopedHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, SingleInstanceMutexName));
        released = mutex && ::WaitForSingleObject(mutex.Get(), 0) == WAIT_OBJECT_0;
        if (released)
            ::ReleaseMutex(mutex.Get());
    }).join();
    EXPECT_TRUE(released) << "attaching the window did not release the mutex";
}

TEST_F(BaseProgramStuffTest, BatchesLinesThatComeCloserThanTheDelayAndDeliversThemTheDelayAfterTheLast)
{
    // The delay a user's lines are gathered over, as documented.
    const ULONGLONG batchingDelayMs = 300;
    // Timers may fire up to a tick early.
    const ULONGLONG timerTolerance = 20;
    WithEventProxy();
    std::vector<std::vector<std::wstring>> batches;
    const boost::signals2::scoped_connection collecting = CollectBatches(batches);
    OwnWindow own;
    StartAsTheOnlyInstance(own.window);

    ULONGLONG lastSent = 0;
    for (const wchar_t* line : {L"one", L"two", L"three"}) {
        PumpUntil([] { return false; }, 100);
        lastSent = ::GetTickCount64();
        EXPECT_EQ(TRUE, SendRecord(own.window, ForwardedCommandLineTag, line));
    }
    ASSERT_TRUE(PumpUntil([&batches] { return !batches.empty(); }, 20000)) << "no batch came";
    const ULONGLONG waited = ::GetTickCount64() - lastSent;
    PumpPastTheBatchingDelay();
    EXPECT_EQ((std::vector<std::vector<std::wstring>>{{::GetCommandLineW(), L"one", L"two", L"three"}}), batches)
        << "lines 100 ms apart make one batch";
    EXPECT_GE(waited + timerTolerance, batchingDelayMs) << "the batch came " << waited << " ms after the last line";
}

TEST_F(BaseProgramStuffTest, DropsBatchesWithoutAnEventProxy)
{
    std::vector<std::vector<std::wstring>> batches;
    const boost::signals2::scoped_connection collecting = CollectBatches(batches);
    OwnWindow own;
    StartAsTheOnlyInstance(own.window);
    PumpPastTheBatchingDelay();
    EXPECT_TRUE(batches.empty());
}
