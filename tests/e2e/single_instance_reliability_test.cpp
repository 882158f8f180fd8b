// The single-instance rule under pressure: many starts at once, a first instance that dies
// while it holds the rule's mutex, and many later starts forwarding at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "command_line_log.h"
#include "desktop.h"
#include "listener.h"
#include "program_run.h"
#include "services/single_instance_protocol.h"
#include "test_environment.h"

namespace {

class SingleInstanceReliability : public ::testing::Test {
protected:
    void SetUp() override
    {
        ChooseFixtureBehaviour(L"");
        ASSERT_TRUE(RegisterServer(StandInFilter));
    }

    static DWORD ExitCodeOf(ProgramRun& program, DWORD timeoutMs)
    {
        DWORD exitCode = 0xBAD;
        EXPECT_TRUE(program.WaitForExit(timeoutMs, &exitCode)) << "the program did not end";
        return exitCode;
    }
};

// One bound for everything a test waits for. Twenty programs starting at once, or a thousand
// records crossing between processes, take their time on a machine whose cores are also busy
// with a build; what the tests check is that everything happens, not how fast. The bound stays
// well inside the time CTest gives these tests.
class Deadline {
public:
    Deadline() : end(::GetTickCount64() + 240000) {}
    DWORD Remaining() const
    {
        const ULONGLONG now = ::GetTickCount64();
        return now < end ? static_cast<DWORD>(end - now) : 0;
    }

private:
    ULONGLONG end;
};

bool HasEnded(ProgramRun& program)
{
    DWORD exitCode = 0;
    return program.WaitForExit(0, &exitCode);
}

std::vector<std::wstring> AllLines(const std::vector<CommandLineBatch>& batches)
{
    std::vector<std::wstring> lines;
    for (const CommandLineBatch& batch : batches)
        lines.insert(lines.end(), batch.commandLines.begin(), batch.commandLines.end());
    return lines;
}

// Waits until at least count lines are logged, then a little longer for any line too many.
std::vector<std::wstring> SettledLines(const Listener& listener, size_t count, DWORD timeoutMs = 30000)
{
    WaitUntil([&] { return AllLines(listener.Batches()).size() >= count; }, timeoutMs);
    ::Sleep(800);
    return AllLines(listener.Batches());
}

bool EmittedInOrder(const std::vector<CommandLineBatch>& batches)
{
    return std::is_sorted(batches.begin(), batches.end(),
                          [](const CommandLineBatch& a, const CommandLineBatch& b) { return a.emittedAt < b.emittedAt; });
}

const size_t SimultaneousStarts = 20;

} // namespace

TEST_F(SingleInstanceReliability, OfTwentySimultaneousStartsOneRunsAndGetsEveryCommandLineOnce)
{
    const Deadline deadline;
    std::vector<std::unique_ptr<Listener>> starts;
    for (size_t i = 0; i < SimultaneousStarts; ++i)
        starts.emplace_back(new Listener(L"start-" + std::to_wstring(i)));

    ASSERT_TRUE(WaitUntil([&] {
        return std::all_of(starts.begin(), starts.end(), [](const std::unique_ptr<Listener>& start) {
            return HasEnded(start->run) || DispatchWindowOf(start->run.ProcessId()) != nullptr;
        });
    }, deadline.Remaining())) << "some start neither ended nor showed its window";
    std::vector<Listener*> running;
    for (const std::unique_ptr<Listener>& start : starts) {
        if (HasEnded(start->run))
            EXPECT_EQ(ExitCodeMinusOne, ExitCodeOf(start->run, 0)) << start->run.CommandLine();
        else
            running.push_back(start.get());
    }
    ASSERT_EQ(1u, running.size()) << "exactly one start runs";
    Listener& first = *running.front();

    const std::vector<std::wstring> lines = SettledLines(first, SimultaneousStarts, deadline.Remaining());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(first.run.CommandLine(), lines.front()) << "its own command line comes first";
    for (const std::unique_ptr<Listener>& start : starts) {
        EXPECT_EQ(1, std::count(lines.begin(), lines.end(), start->run.CommandLine())) << start->run.CommandLine();
        if (start.get() != &first) {
            EXPECT_TRUE(start->Batches().empty()) << "a start that ended logged something";
        }
    }
    EXPECT_EQ(SimultaneousStarts, lines.size());
    EXPECT_TRUE(EmittedInOrder(first.Batches()));
    EXPECT_EQ(0u, first.Close());
}

TEST_F(SingleInstanceReliability, OfTwentySimultaneousStartsOfTheProgramOneShowsItsFrame)
{
    const Deadline deadline;
    std::vector<std::unique_ptr<ProgramRun>> starts;
    for (size_t i = 0; i < SimultaneousStarts; ++i)
        starts.emplace_back(new ProgramRun(L"vantor_source.exe", L"start-" + std::to_wstring(i)));

    ASSERT_TRUE(WaitUntil([&] {
        return std::all_of(starts.begin(), starts.end(), [](const std::unique_ptr<ProgramRun>& start) {
            return HasEnded(*start) || FindPropertyFrame(start->ProcessId()) != nullptr;
        });
    }, deadline.Remaining())) << "some start neither ended nor showed its frame";
    std::vector<ProgramRun*> running;
    for (const std::unique_ptr<ProgramRun>& start : starts) {
        if (HasEnded(*start))
            EXPECT_EQ(ExitCodeMinusOne, ExitCodeOf(*start, 0)) << start->CommandLine();
        else
            running.push_back(start.get());
    }
    ASSERT_EQ(1u, running.size()) << "exactly one start runs";
    ProgramRun& first = *running.front();
    const HWND frame = FindPropertyFrame(first.ProcessId());
    EXPECT_EQ(1u, PropertyFramesOf(first.ProcessId()).size());
    PressButton(frame, IDCANCEL);
    EXPECT_EQ(0u, ExitCodeOf(first, 60000));
}

TEST_F(SingleInstanceReliability, AStartTakesOverFromAFirstInstanceKilledWhileItHoldsTheMutex)
{
    Listener killed(L"--delay-window 30000");
    ASSERT_TRUE(WaitUntil([] {
        const vantor::ScopedHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, SingleInstanceMutexName));
        return mutex.IsValid();
    }));
    // Held open here, the mutex outlives its owner and is left abandoned.
    const vantor::ScopedHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, SingleInstanceMutexName));
    ASSERT_TRUE(mutex.IsValid());
    Listener next(L"takes-over");
    ::Sleep(500);
    const vantor::ScopedHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, killed.run.ProcessId()));
    ASSERT_TRUE(::TerminateProcess(process.Get(), 9));
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.Get(), 10000));

    ASSERT_NE(nullptr, next.WaitForWindow()) << "the next start did not take over";
    const std::vector<CommandLineBatch> own = next.WaitForBatches(1);
    ASSERT_EQ(1u, own.size());
    EXPECT_EQ(std::vector<std::wstring>{next.run.CommandLine()}, own[0].commandLines);
    EXPECT_TRUE(killed.Batches().empty());

    // And it holds the rule as a first instance does.
    ProgramRun later(L"vantor_source.exe", L"--later");
    EXPECT_EQ(ExitCodeMinusOne, ExitCodeOf(later, 60000));
    const std::vector<CommandLineBatch> batches = next.WaitForBatches(2);
    ASSERT_EQ(2u, batches.size());
    EXPECT_EQ(std::vector<std::wstring>{later.CommandLine()}, batches[1].commandLines);
    EXPECT_EQ(0u, next.Close());
}

TEST_F(SingleInstanceReliability, AThousandLinesFromTenSendersAtOnceArriveOnceEachInEachSendersOrder)
{
    const Deadline deadline;
    Listener listener;
    ASSERT_NE(nullptr, listener.WaitForWindow(deadline.Remaining()));
    ASSERT_EQ(1u, listener.WaitForBatches(1, deadline.Remaining()).size());

    const int senders = 10;
    const int linesEach = 100;
    std::vector<std::unique_ptr<ProgramRun>> forwarders;
    for (int sender = 0; sender < senders; ++sender)
        forwarders.emplace_back(new ProgramRun(L"command_line_forwarder.exe", L"sender-" + std::to_wstring(sender) + L" "
                                                   + std::to_wstring(linesEach)));
    for (const std::unique_ptr<ProgramRun>& forwarder : forwarders)
        EXPECT_EQ(DWORD(linesEach), ExitCodeOf(*forwarder, deadline.Remaining())) << forwarder->CommandLine() << ": lines taken";

    std::vector<std::wstring> lines = SettledLines(listener, 1 + senders * linesEach, deadline.Remaining());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(listener.run.CommandLine(), lines.front());
    lines.erase(lines.begin());
    EXPECT_EQ(size_t(senders * linesEach), lines.size());

    std::map<std::wstring, std::vector<int>> received;
    for (const std::wstring& line : lines) {
        std::wistringstream fields(line);
        std::wstring sender;
        int number = -1;
        fields >> sender >> number;
        received[sender].push_back(number);
    }
    std::vector<int> inOrder;
    for (int number = 0; number < linesEach; ++number)
        inOrder.push_back(number);
    EXPECT_EQ(size_t(senders), received.size());
    for (int sender = 0; sender < senders; ++sender) {
        const std::wstring name = L"sender-" + std::to_wstring(sender);
        EXPECT_EQ(inOrder, received[name]) << "every line once, in the order sent, from " << std::string(name.begin(), name.end());
    }
    EXPECT_TRUE(EmittedInOrder(listener.Batches()));
    EXPECT_EQ(0u, listener.Close());
}
