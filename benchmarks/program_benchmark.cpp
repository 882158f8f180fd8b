// Measures vantor_source.exe against minimal_program.exe, which does the same visible job with
// plain Win32 calls, side by side in one run, the two programs alternating round by round:
//  - start to visible settings frame;
//  - peak working set with the frame open;
//  - a second start, which hands its command line to the running instance, to its exit.
// The stand-in filter must be registered in the prefix it runs in.
//   program_benchmark [ROUNDS]
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>

#include <psapi.h>

#include "desktop.h"
#include "program_run.h"

namespace {

const DWORD MinusOne = 0xFFFFFFFF;

double Milliseconds(LONGLONG ticks)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

struct Sample {
    double frameMs;
    double peakWorkingSetKb;
    double secondStartMs;
};

// One round of one program; false, with the reason printed, when a step went wrong.
bool MeasureRound(const wchar_t* program, Sample* sample)
{
    const LONGLONG started = Now();
    ProgramRun first(program);
    HWND frame = nullptr;
    for (int i = 0; i < 30000 && first.Started(); ++i, ::Sleep(1)) {
        if ((frame = FindPropertyFrame(first.ProcessId())) != nullptr)
            break;
    }
    if (frame == nullptr) {
        std::fprintf(stderr, "%ls: the frame did not appear\n", program);
        return false;
    }
    sample->frameMs = Milliseconds(Now() - started);

    // Whatever the frame does once it is up belongs to its cost.
    ::Sleep(500);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    const vantor::ScopedHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, first.ProcessId()));
    if (!process || !::GetProcessMemoryInfo(process.Get(), &memory, sizeof(memory))) {
        std::fprintf(stderr, "%ls: no memory figures\n", program);
        return false;
    }
    sample->peakWorkingSetKb = static_cast<double>(memory.PeakWorkingSetSize) / 1024.0;

    const LONGLONG secondStarted = Now();
    ProgramRun second(program, L"--second-start");
    DWORD secondExit = 0;
    if (!second.WaitForExit(30000, &secondExit) || secondExit != MinusOne) {
        std::fprintf(stderr, "%ls: the second start did not end with -1\n", program);
        return false;
    }
    sample->secondStartMs = Milliseconds(Now() - secondStarted);

    PressButton(frame, IDCANCEL);
    DWORD firstExit = MinusOne;
    if (!first.WaitForExit(30000, &firstExit) || firstExit != 0) {
        std::fprintf(stderr, "%ls: did not end with 0 when its frame closed\n", program);
        return false;
    }
    return true;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Series {
    std::vector<double> frameMs;
    std::vector<double> peakWorkingSetKb;
    std::vector<double> secondStartMs;

    void Add(const Sample& sample)
    {
        frameMs.push_back(sample.frameMs);
        peakWorkingSetKb.push_back(sample.peakWorkingSetKb);
        secondStartMs.push_back(sample.secondStartMs);
    }
};

void PrintRow(const char* what, const char* unit, const std::vector<double>& program, const std::vector<double>& minimal)
{
    const double programMedian = Median(program);
    const double minimalMedian = Median(minimal);
    std::printf("%-32s %10.1f %-3s %10.1f %-3s %6.2fx\n", what, programMedian, unit, minimalMedian, unit,
                programMedian / minimalMedian);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 7;
    const wchar_t* const programs[2] = {L"vantor_source.exe", L"minimal_program.exe"};
    Series series[2];
    for (int round = 0; round < rounds; ++round) {
        // Alternating, so that neither program always runs on a warmer system.
        for (int turn = 0; turn < 2; ++turn) {
            const int which = (round + turn) % 2;
            Sample sample = {};
            if (!MeasureRound(programs[which], &sample))
                return 1;
            series[which].Add(sample);
        }
    }
    std::printf("medians of %d rounds          vantor_source.exe  minimal_program.exe  ratio\n", rounds);
    PrintRow("start to visible frame", "ms", series[0].frameMs, series[1].frameMs);
    PrintRow("peak working set, frame open", "KB", series[0].peakWorkingSetKb, series[1].peakWorkingSetKb);
    PrintRow("second start to its exit", "ms", series[0].secondStartMs, series[1].secondStartMs);
    return 0;
}
