// Measures the event proxy on one thread against the raw messages it is built on:
//  - posted calls per second (PostCall, then the message loop runs them) against PostMessage to
//    a plain window whose procedure does the same work;
//  - sent calls per second (SendCall) against SendMessage;
//  - the cost of one component lookup through OxInterfacePtr::Get.
// Repetitions alternate the two sides; the figures are medians.
//   event_proxy_benchmark [CALLS_PER_REPETITION]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <windows.h>

#include "framework/component_registration.h"
#include "framework/ox_event_proxy.h"
#include "framework/program_mgr.h"

namespace {

const int Repetitions = 7;
// A thread's queue holds at most 10000 posted messages; both sides post in bursts below that.
const int Burst = 5000;
const UINT RawMessage = WM_APP + 1;

volatile long counter = 0;

void Count()
{
    counter = counter + 1;
}

LRESULT CALLBACK RawProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == RawMessage) {
        Count();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void RunQueuedMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&message);
}

double Seconds(const std::function<void()>& work)
{
    LARGE_INTEGER frequency, before, after;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&before);
    work();
    ::QueryPerformanceCounter(&after);
    return static_cast<double>(after.QuadPart - before.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Calls per second of each side, alternating which goes first.
void Compare(const char* what, int calls, const std::function<void()>& proxySide, const std::function<void()>& rawSide)
{
    std::vector<double> proxyRates, rawRates;
    for (int repetition = 0; repetition < Repetitions; ++repetition) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool proxyTurn = (repetition + turn) % 2 == 0;
            counter = 0;
            const double seconds = Seconds(proxyTurn ? proxySide : rawSide);
            if (counter != calls) {
                std::fprintf(stderr, "%s: %ld of %d calls ran\n", what, counter, calls);
                std::exit(1);
            }
            (proxyTurn ? proxyRates : rawRates).push_back(calls / seconds);
        }
    }
    const double proxy = Median(proxyRates);
    const double raw = Median(rawRates);
    std::printf("%-8s event proxy %12.0f calls/s   raw message %12.0f calls/s   ratio %.2f\n", what, proxy, raw,
                proxy / raw);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int calls = std::max(Burst, (argc > 1 ? _wtoi(argv[1]) : 200000) / Burst * Burst);

    OxProgramMgr programMgr;
    RegisterComponent<OxEventProxy>(&programMgr, DependsOn<>());
    const OxInterfacePtr<IOxEventProxy> accessor(&programMgr, "Benchmark");
    const boost::shared_ptr<IOxEventProxy> proxy = accessor.Get();

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = RawProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Raw message benchmark";
    ::RegisterClassW(&windowClass);
    const HWND raw = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       windowClass.hInstance, nullptr);
    const Callable call(&Count);

    std::printf("%d calls per repetition, medians of %d\n", calls, Repetitions);
    Compare("posted", calls,
            [&] {
                for (int done = 0; done < calls; done += Burst) {
                    for (int i = 0; i < Burst; ++i)
                        proxy->PostCall(call);
                    RunQueuedMessages();
                }
            },
            [&] {
                for (int done = 0; done < calls; done += Burst) {
                    for (int i = 0; i < Burst; ++i)
                        ::PostMessageW(raw, RawMessage, 0, 0);
                    RunQueuedMessages();
                }
            });
    Compare("sent", calls,
            [&] {
                for (int i = 0; i < calls; ++i)
                    proxy->SendCall(call);
            },
            [&] {
                for (int i = 0; i < calls; ++i)
                    ::SendMessageW(raw, RawMessage, 0, 0);
            });

    std::vector<double> lookups;
    for (int repetition = 0; repetition < Repetitions; ++repetition) {
        lookups.push_back(Seconds([&] {
            for (int i = 0; i < calls; ++i)
                accessor.Get();
        }));
    }
    std::printf("lookup   OxInterfacePtr::Get %8.0f ns per call\n", Median(lookups) * 1e9 / calls);
    ::DestroyWindow(raw);
    return 0;
}
