// Measures, side by side in one run:
//  - the wall time of a second start of vantor_source.exe, which hands its command line to the
//    running instance and ends, against the start of an empty Win32 program that ends at once;
//  - the time from a forwarded WM_COPYDATA to the emission of the command-line signal in the
//    running instance, which includes the 300 ms batching delay by design.
// The running instance is command_line_listener.exe, which logs each emission with its time.
//   forwarding_benchmark [ROUNDS]
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>

#include "command_line_log.h"
#include "program_run.h"
#include "services/single_instance_protocol.h"

namespace {

const WORD CloseCommandId = 0xE141;

double Frequency()
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart);
}

LONGLONG Now()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Milliseconds(LONGLONG ticks)
{
    return ticks * 1000.0 / Frequency();
}

// Wall time of one run of a program beside the benchmark, start to end; negative when it did
// not end or gave another exit code than expected.
double TimedRun(const std::wstring& fileName, const std::wstring& arguments, DWORD expectedExitCode)
{
    const LONGLONG before = Now();
    ProgramRun program(fileName, arguments);
    DWORD exitCode = 0;
    if (!program.WaitForExit(60000, &exitCode))
        return -1;
    const LONGLONG after = Now();
    return exitCode == expectedExitCode ? Milliseconds(after - before) : -1;
}

struct Summary {
    double median;
    double minimum;
    double maximum;
};

Summary Summarise(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return Summary{samples[samples.size() / 2], samples.front(), samples.back()};
}

void Print(const char* what, const Summary& summary)
{
    std::printf("%-44s median %8.1f ms   min %8.1f ms   max %8.1f ms\n", what, summary.median, summary.minimum, summary.maximum);
}

HWND WaitForDispatchWindow(DWORD processId)
{
    for (int i = 0; i < 400; ++i, ::Sleep(50)) {
        HWND window = nullptr;
        while ((window = ::FindWindowExW(nullptr, window, DispatchWindowClassName, nullptr)) != nullptr) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == processId)
                return window;
        }
    }
    return nullptr;
}

size_t WaitForBatchCount(const std::wstring& log, size_t count)
{
    for (int i = 0; i < 400; ++i, ::Sleep(5)) {
        const size_t logged = ReadBatches(log).size();
        if (logged >= count)
            return logged;
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int rounds = argc > 1 ? std::max(3, _wtoi(argv[1])) : 15;
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring log = std::wstring(temp) + L"vantor-forwarding-benchmark.log";
    ::DeleteFileW(log.c_str());

    ProgramRun listener(L"command_line_listener.exe", L"--log \"" + log + L"\"");
    const HWND window = listener.Started() ? WaitForDispatchWindow(listener.ProcessId()) : nullptr;
    if (window == nullptr || WaitForBatchCount(log, 1) == 0) {
        std::fprintf(stderr, "the running instance did not start\n");
        return 1;
    }

    std::vector<double> secondStarts;
    std::vector<double> emptyStarts;
    for (int round = 0; round < rounds; ++round) {
        // Alternating, so that neither side always runs on a warmer system.
        double second;
        double empty;
        if (round % 2 == 0) {
            second = TimedRun(L"vantor_source.exe", L"--benchmark", 0xFFFFFFFF);
            empty = TimedRun(L"empty_program.exe", L"", 0);
        } else {
            empty = TimedRun(L"empty_program.exe", L"", 0);
            second = TimedRun(L"vantor_source.exe", L"--benchmark", 0xFFFFFFFF);
        }
        if (second < 0 || empty < 0) {
            std::fprintf(stderr, "a start failed or ended with an unexpected exit code\n");
            return 1;
        }
        secondStarts.push_back(second);
        emptyStarts.push_back(empty);
    }

    // One forwarded line at a time, each in a batch of its own.
    // The lines of the second starts above are delivered 300 ms after the last of them.
    std::vector<double> deliveries;
    ::Sleep(600);
    size_t batches = ReadBatches(log).size();
    for (int round = 0; round < rounds; ++round) {
        const std::wstring line = L"latency " + std::to_wstring(round);
        COPYDATASTRUCT record = {ForwardedCommandLineTag, static_cast<DWORD>(line.size() * sizeof(wchar_t)),
                                 const_cast<wchar_t*>(line.data())};
        const LONGLONG sent = Now();
        ::SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
        if (WaitForBatchCount(log, batches + 1) == 0) {
            std::fprintf(stderr, "a forwarded line was not delivered\n");
            return 1;
        }
        const std::vector<CommandLineBatch> logged = ReadBatches(log);
        batches = logged.size();
        deliveries.push_back(Milliseconds(logged.back().emittedAt - sent));
    }
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(CloseCommandId, 0), 0);
    DWORD listenerExit = 0;
    listener.WaitForExit(30000, &listenerExit);
    ::DeleteFileW(log.c_str());

    const Summary second = Summarise(secondStarts);
    const Summary empty = Summarise(emptyStarts);
    const Summary delivery = Summarise(deliveries);
    std::printf("%d rounds\n", rounds);
    Print("second start that forwards and ends", second);
    Print("empty program that ends at once", empty);
    Print("WM_COPYDATA to command-line signal", delivery);
    std::printf("second start / empty program (medians): %.2f\n", second.median / empty.median);
    std::printf("delivery beyond the 300 ms batching delay (median): %.1f ms\n", delivery.median - 300.0);
    return 0;
}
