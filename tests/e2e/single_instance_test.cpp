#include <gtest/gtest.h>

#include "command_line_log.h"
#include "desktop.h"
#include "listener.h"
#include "program_run.h"
#include "services/forwarding_claim.h"
#include "services/single_instance_protocol.h"
#include "test_environment.h"

namespace {

// Sends one forwarded command line as a later start would; the window's answer.
LRESULT SendCopyData(HWND window, const void* data, DWORD bytes, ULONG_PTR tag = ForwardedCommandLineTag)
{
    COPYDATASTRUCT record = {};
    record.dwData = tag;
    record.cbData = bytes;
    record.lpData = const_cast<void*>(data);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record), SMTO_NORMAL, 10000, &result);
    return static_cast<LRESULT>(result);
}

LRESULT Forward(HWND window, const std::wstring& line)
{
    return SendCopyData(window, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)));
}

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override
    {
        ChooseFixtureBehaviour(L"");
        ASSERT_TRUE(RegisterServer(StandInFilter));
    }
    void TearDown() override { ChooseFixtureBehaviour(L""); }

    // The listener's window, after its own command line has been delivered.
    static HWND StartedListener(Listener& listener)
    {
        const HWND window = listener.WaitForWindow();
        if (window != nullptr)
            listener.WaitForBatches(1);
        return window;
    }

    static DWORD ExitCodeOf(ProgramRun& program, DWORD timeoutMs = 30000)
    {
        DWORD exitCode = 0xBAD;
        EXPECT_TRUE(program.WaitForExit(timeoutMs, &exitCode)) << "the program did not end";
        return exitCode;
    }
};

std::vector<std::wstring> LinesAfterTheFirstBatch(const std::vector<CommandLineBatch>& batches)
{
    std::vector<std::wstring> lines;
    for (size_t i = 1; i < batches.size(); ++i)
        lines.insert(lines.end(), batches[i].commandLines.begin(), batches[i].commandLines.end());
    return lines;
}

} // namespace

TEST_F(SingleInstance, SecondStartForwardsItsWholeCommandLineAndExitsWithMinusOne)
{
    Listener first;
    ASSERT_NE(nullptr, StartedListener(first));
    const std::vector<CommandLineBatch> own = first.Batches();
    ASSERT_EQ(1u, own.size());
    EXPECT_EQ(std::vector<std::wstring>{first.run.CommandLine()}, own[0].commandLines) << "its own command line comes first";

    ProgramRun second(L"vantor_source.exe", L"--open \"C:\\Media Files\\clip one.ts\"  -x");
    EXPECT_EQ(ExitCodeMinusOne, ExitCodeOf(second));
    const std::vector<CommandLineBatch> batches = first.WaitForBatches(2);
    ASSERT_EQ(2u, batches.size());
    EXPECT_EQ(std::vector<std::wstring>{second.CommandLine()}, batches[1].commandLines);
    EXPECT_EQ(0u, first.Close());
}

TEST_F(SingleInstance, SecondStartOfTheProgramLeavesTheFirstWithItsFrame)
{
    ProgramRun first(L"vantor_source.exe");
    const HWND frame = WaitForWindow([&first] { return FindPropertyFrame(first.ProcessId()); });
    ASSERT_NE(nullptr, frame);
    ProgramRun second(L"vantor_source.exe");
    EXPECT_EQ(ExitCodeMinusOne, ExitCodeOf(second));
    EXPECT_TRUE(::IsWindowVisible(frame));
    PressButton(frame, IDCANCEL);
    EXPECT_EQ(0u, ExitCodeOf(first));
}

TEST_F(SingleInstance, DeliversLinesArrivingWithin300MsInOneBatchAndLaterOnesInTheNext)
{
    Listener listener;
    const HWND window = StartedListener(listener);
    ASSERT_NE(nullptr, window);
    for (const wchar_t* line : {L"one", L"two", L"three"})
        EXPECT_EQ(TRUE, Forward(window, line));
    ASSERT_EQ(2u, listener.WaitForBatches(2).size());
    ::Sleep(600);
    EXPECT_EQ(TRUE, Forward(window, L"four"));
    const std::vector<CommandLineBatch> batches = listener.WaitForBatches(3);
    ASSERT_EQ(3u, batches.size());
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two", L"three"}), batches[1].commandLines);
    EXPECT_EQ(std::vector<std::wstring>{L"four"}, batches[2].commandLines);
    EXPECT_LE(batches[1].emittedAt, batches[2].emittedAt);
    EXPECT_EQ(0u, listener.Close());
}

TEST_F(SingleInstance, TakesOddEmptyAndLargeRecordsAndLeavesOtherTagsAlone)
{
    Listener listener;
    const HWND window = StartedListener(listener);
    ASSERT_NE(nullptr, window);

    const std::wstring abcd = L"abcd";
    EXPECT_EQ(0, SendCopyData(window, abcd.data(), 8, 0x12345678)) << "another tag is not taken";
    EXPECT_EQ(TRUE, SendCopyData(window, abcd.data(), 7)) << "an odd last byte is dropped";
    EXPECT_EQ(TRUE, SendCopyData(window, nullptr, 0));
    std::wstring large(512 * 1024, L'\0');
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<wchar_t>(L'A' + i % 26);
    EXPECT_EQ(TRUE, Forward(window, large));

    const std::vector<CommandLineBatch> batches = listener.WaitForBatches(2);
    ASSERT_EQ(2u, batches.size());
    ASSERT_EQ(3u, batches[1].commandLines.size());
    EXPECT_EQ(L"abc", batches[1].commandLines[0]);
    EXPECT_EQ(L"", batches[1].commandLines[1]);
    EXPECT_TRUE(batches[1].commandLines[2] == large) << "the 1 MiB record came through changed";
    EXPECT_EQ(0u, listener.Close());
}

TEST_F(SingleInstance, TakesAClaimedLineOnlyByTakingItsClaim)
{
    Listener listener;
    const HWND window = StartedListener(listener);
    ASSERT_NE(nullptr, window);

    const std::wstring line = L"\"vantor_source.exe\" --claimed";
    ForwardingClaim open;
    ASSERT_TRUE(open.IsValid());
    ForwardingClaim takenBack;
    ASSERT_TRUE(takenBack.TakeBack());
    const std::wstring takenRecord = takenBack.RecordFor(line);
    const std::wstring openRecord = open.RecordFor(line);
    const std::wstring wrongIdRecord = std::wstring(L"1\\2") + L'\0' + line;
    const std::wstring unknownIdRecord = std::wstring(L"4-8-15") + L'\0' + line;
    const struct {
        const wchar_t* what;
        const std::wstring& record;
        LRESULT answer;
    } cases[] = {
        {L"a claim its start took back", takenRecord, 0},
        {L"an id of other characters", wrongIdRecord, 0},
        {L"an id no start made", unknownIdRecord, 0},
        {L"no zero after the id", line, 0},
        {L"an open claim", openRecord, TRUE},
        {L"the same claim again", openRecord, 0},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(row.answer, SendCopyData(window, row.record.data(), static_cast<DWORD>(row.record.size() * sizeof(wchar_t)),
                                           ClaimedCommandLineTag))
            << row.what;
    }
    EXPECT_FALSE(open.TakeBack()) << "the instance took the token with the line";

    const std::vector<CommandLineBatch> batches = listener.WaitForBatches(2);
    ASSERT_EQ(2u, batches.size());
    EXPECT_EQ(std::vector<std::wstring>{line}, batches[1].commandLines);
    EXPECT_EQ(0u, listener.Close());
}

TEST_F(SingleInstance, ALineWhoseStartStoppedWaitingForAHungInstanceIsNotHandledThereToo)
{
    Listener running(L"--stall-on stall-marker 8000");
    ASSERT_NE(nullptr, StartedListener(running));

    Listener later(L"stall-marker");
    ASSERT_NE(nullptr, later.WaitForWindow(30000)) << "the later start did not go on by itself";
    const std::vector<CommandLineBatch> own = later.WaitForBatches(1);
    ASSERT_EQ(1u, own.size());
    EXPECT_EQ(std::vector<std::wstring>{later.run.CommandLine()}, own[0].commandLines) << "it handles its line itself";

    // Once the running instance answers again, it has had the line and the batching delay.
    DWORD_PTR ignored = 0;
    EXPECT_NE(0, ::SendMessageTimeoutW(running.WaitForWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored));
    ::Sleep(1000);
    EXPECT_EQ(1u, running.Batches().size()) << "the line was handled by both instances";
    EXPECT_EQ(0u, later.Close());
    EXPECT_EQ(0u, running.Close());
}

TEST_F(SingleInstance, DeliversABurstOfAThousandLinesInOrderWithoutLosingAny)
{
    Listener listener;
    const HWND window = StartedListener(listener);
    ASSERT_NE(nullptr, window);
    std::vector<std::wstring> sent;
    for (int i = 0; i < 1000; ++i) {
        sent.push_back(L"\"C:\\Program Files\\ZELK\\vantor_source.exe\" --line " + std::to_wstring(i));
        ASSERT_EQ(TRUE, Forward(window, sent.back())) << i;
    }
    std::vector<std::wstring> delivered;
    WaitUntil([&] { return (delivered = LinesAfterTheFirstBatch(listener.Batches())).size() >= sent.size(); }, 15000);
    ::Sleep(500);
    EXPECT_EQ(sent, LinesAfterTheFirstBatch(listener.Batches()));
    EXPECT_EQ(0u, listener.Close());
}

TEST_F(SingleInstance, EveryStartRunsOnItsOwnWhenSeveralInstancesAreAllowed)
{
    Listener first(L"--multi-instance");
    Listener second(L"--multi-instance");
    ASSERT_NE(nullptr, first.WaitForWindow());
    ASSERT_NE(nullptr, second.WaitForWindow());
    ::Sleep(800);
    EXPECT_TRUE(first.Batches().empty()) << "no command line is delivered without the single-instance rule";
    EXPECT_TRUE(second.Batches().empty());
    EXPECT_EQ(0u, first.Close());
    EXPECT_EQ(0u, second.Close());
}

TEST_F(SingleInstance, StartDuringTheFirstInstancesStartUpWaitsAndThenForwards)
{
    Listener first(L"--delay-window 1500");
    ::Sleep(300);
    const ULONGLONG started = ::GetTickCount64();
    ProgramRun second(L"vantor_source.exe", L"--racing");
    EXPECT_EQ(ExitCodeMinusOne, ExitCodeOf(second));
    EXPECT_GE(::GetTickCount64() - started, 900u) << "the second start did not wait for the first";
    const std::vector<CommandLineBatch> batches = first.WaitForBatches(1);
    ASSERT_FALSE(batches.empty());
    std::vector<std::wstring> lines;
    for (const CommandLineBatch& batch : batches)
        lines.insert(lines.end(), batch.commandLines.begin(), batch.commandLines.end());
    EXPECT_EQ((std::vector<std::wstring>{first.run.CommandLine(), second.CommandLine()}), lines);
    EXPECT_EQ(0u, first.Close());
}

TEST_F(SingleInstance, StartRunsOnItsOwnWhenTheFirstInstanceTakesLongerThanFiveSeconds)
{
    Listener first(L"--delay-window 9000");
    ::Sleep(300);
    ProgramRun second(L"vantor_source.exe");
    const HWND frame = WaitForWindow([&second] { return FindPropertyFrame(second.ProcessId()); }, 20000);
    ASSERT_NE(nullptr, frame) << "the second start did not go on by itself";
    PressButton(frame, IDCANCEL);
    EXPECT_EQ(0u, ExitCodeOf(second));
    ASSERT_NE(nullptr, first.WaitForWindow());
    EXPECT_EQ(0u, first.Close());
}

TEST_F(SingleInstance, StartRunsOnItsOwnWhenTheRunningInstanceHangs)
{
    ASSERT_TRUE(RegisterServer(MisbehavingFilter));
    ChooseFixtureBehaviour(L"page-hangs");
    ProgramRun hung(L"vantor_source.exe");
    ASSERT_NE(nullptr, WaitForWindow([&hung] { return FindPropertyFrame(hung.ProcessId()); }));
    ::Sleep(500);
    ChooseFixtureBehaviour(L"");

    const ULONGLONG started = ::GetTickCount64();
    ProgramRun second(L"vantor_source.exe");
    const HWND frame = WaitForWindow([&second] { return FindPropertyFrame(second.ProcessId()); }, 30000);
    ASSERT_NE(nullptr, frame) << "the second start hung with the first";
    EXPECT_LT(::GetTickCount64() - started, 20000u);
    PressButton(frame, IDCANCEL);
    EXPECT_EQ(0u, ExitCodeOf(second));
}

TEST_F(SingleInstance, EndsWithAStoredExitCode)
{
    Listener listener(L"--exit-code 7");
    ASSERT_NE(nullptr, listener.WaitForWindow());
    EXPECT_EQ(7u, listener.Close());
}

TEST_F(SingleInstance, StartsTheProgramAnewWhenARestartWasAsked)
{
    Listener listener(L"--restart-on-exit");
    ASSERT_NE(nullptr, StartedListener(listener));
    const DWORD firstProcess = listener.run.ProcessId();
    EXPECT_EQ(0u, listener.Close());

    DWORD restartedProcess = 0;
    const HWND restarted = WaitForWindow([&] {
        const HWND window = ::FindWindowW(DispatchWindowClassName, nullptr);
        if (window != nullptr)
            ::GetWindowThreadProcessId(window, &restartedProcess);
        return restartedProcess != firstProcess ? window : nullptr;
    });
    ASSERT_NE(nullptr, restarted) << "no new instance";
    const vantor::ScopedHandle process(::OpenProcess(SYNCHRONIZE, FALSE, restartedProcess));
    ::PostMessageW(restarted, WM_COMMAND, MAKEWPARAM(CloseCommandId, 0), 0);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.Get(), 30000));
}
