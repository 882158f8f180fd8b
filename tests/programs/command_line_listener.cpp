// A program instance built on the framework that stands in for a running vantor_source.exe
// and logs every batch of command lines it is handed. Its dispatch window does nothing and
// stays until it gets the close command (0xE141).
//
//   command_line_listener --log FILE [--multi-instance] [--delay-window MS] [--exit-code N]
//                         [--restart-on-exit] [--stall-on MARKER MS]
//
// --multi-instance   sets "MultiInstanceAllowed" to 1 (the program itself sets 0)
// --delay-window MS  waits that long between the single-instance check and its window
// --exit-code N      stores N as the exit code
// --restart-on-exit  asks for a restart when it ends (the new process gets no arguments)
// --stall-on MARKER MS  stops answering for MS when a forwarded record holding MARKER arrives,
//                    before the program sees the record: an instance that hangs right then
// Without --log it logs nothing.
#include <string>

#include <windows.h>

#include <shellapi.h>

#include "command_line_log.h"
#include "framework/component_registration.h"
#include "framework/interfaces/base_program_stuff.h"
#include "framework/program_mgr.h"
#include "platform/message_loop.h"
#include "shell/component_wiring.h"
#include "shell/dispatch_window.h"
#include "shell/run_sequence.h"

namespace {

struct Options {
    std::wstring logPath;
    bool multiInstance = false;
    DWORD windowDelayMs = 0;
    bool hasExitCode = false;
    int exitCode = 0;
    bool restartOnExit = false;
    std::wstring stallMarker;
    DWORD stallMs = 0;
};

Options ReadOptions()
{
    Options options;
    int count = 0;
    LPWSTR* const arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i) {
        const std::wstring argument = arguments[i];
        const bool hasValue = i + 1 < count;
        if (argument == L"--log" && hasValue)
            options.logPath = arguments[++i];
        else if (argument == L"--multi-instance")
            options.multiInstance = true;
        else if (argument == L"--delay-window" && hasValue)
            options.windowDelayMs = static_cast<DWORD>(_wtoi(arguments[++i]));
        else if (argument == L"--exit-code" && hasValue) {
            options.hasExitCode = true;
            options.exitCode = _wtoi(arguments[++i]);
        } else if (argument == L"--restart-on-exit")
            options.restartOnExit = true;
        else if (argument == L"--stall-on" && i + 2 < count) {
            options.stallMarker = arguments[++i];
            options.stallMs = static_cast<DWORD>(_wtoi(arguments[++i]));
        }
    }
    ::LocalFree(arguments);
    return options;
}

// A window procedure put over the dispatch window's, which stalls on a marked record.
struct Stall {
    static WNDPROC previous;
    static std::wstring marker;
    static DWORD milliseconds;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_COPYDATA) {
            const COPYDATASTRUCT* const record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            const std::wstring data(static_cast<const wchar_t*>(record->lpData), record->cbData / sizeof(wchar_t));
            if (data.find(marker) != std::wstring::npos)
                ::Sleep(milliseconds);
        }
        return ::CallWindowProcW(previous, window, message, wParam, lParam);
    }
};
WNDPROC Stall::previous = nullptr;
std::wstring Stall::marker;
DWORD Stall::milliseconds = 0;

class ListeningWindow : public CDispatchWindowBase {
public:
    ListeningWindow() : CDispatchWindowBase(101) {}
    void ShowSettings() override {}
};

int Listen(const Options& options)
{
    IOxQueryInterface* const registry = GetProgramMgr();
    RegisterComponents(::GetModuleHandleW(nullptr));
    if (options.multiInstance)
        InitParamsOf<IOxBaseProgramStuff>(registry)->SetIntParam("MultiInstanceAllowed", 1);

    const OxInterfacePtr<IOxBaseProgramStuff> baseProgramStuff(registry, "GlobalUse");
    const std::wstring logPath = options.logPath;
    const boost::signals2::scoped_connection logging = baseProgramStuff.Get()->ConnectCommandLine(
        [logPath](const std::vector<std::wstring>& commandLines) {
            LARGE_INTEGER now;
            ::QueryPerformanceCounter(&now);
            if (!logPath.empty())
                AppendBatch(logPath, CommandLineBatch{now.QuadPart, commandLines});
        },
        ConnectAtBack);
    if (options.restartOnExit)
        baseProgramStuff.Get()->SetRestartOnExit(true);
    if (options.hasExitCode)
        baseProgramStuff.Get()->SetExitCode(options.exitCode);

    if (!baseProgramStuff.Get()->CheckSingleInstance())
        return -1;
    BuildMainThreadComponents(registry);
    ::Sleep(options.windowDelayMs);
    int exitCode = -1;
    {
        vantor::CMessageLoop loop;
        ListeningWindow window;
        if (window.Create(nullptr) != nullptr) {
            if (!options.stallMarker.empty()) {
                Stall::marker = options.stallMarker;
                Stall::milliseconds = options.stallMs;
                Stall::previous = reinterpret_cast<WNDPROC>(
                    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Stall::Procedure)));
            }
            exitCode = loop.Run();
        }
    }
    return FinishRun(exitCode);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    vantor::AppModule().Init(nullptr, instance, nullptr);
    int result;
    {
        OxProgramMgr programMgr;
        ProgramMgrPublication publication(&programMgr);
        result = Listen(ReadOptions());
    }
    vantor::AppModule().Term();
    return result;
}
