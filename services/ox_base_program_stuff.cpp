#include "services/ox_base_program_stuff.h"

#include <boost/bind/bind.hpp>

#include "framework/component_view.h"
#include "framework/interfaces/event_proxy.h"
#include "framework/interfaces/program_info.h"
#include "platform/contained_window.h"
#include "platform/module_path.h"
#include "platform/scoped_resource.h"
#include "services/forwarding_claim.h"


class OxBaseProgramStuff::impl : public vantor::CMessageMap {
public:
    impl(IOxQueryInterface* programMgr, OxBaseProgramStuff* ownerComponent)
        : windowHook(this, 0), programMgr(programMgr), ownerComponent(ownerComponent)
    {
    }

    BEGIN_MSG_MAP(impl)
        MESSAGE_HANDLER(WM_COPYDATA, OnCopyData)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
    END_MSG_MAP()

    bool CheckSingleInstance()
    {
        if (programMgr.InitParams()->GetIntParam("MultiInstanceAllowed", 1) != 0)
            return true;
        instanceMutex.Reset(::CreateMutexW(nullptr, TRUE, SingleInstanceMutexName));
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return true;

        const DWORD waited = ::WaitForSingleObject(instanceMutex.Get(), RunningInstanceWaitMs);
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
            return true;
        const HWND running = ::FindWindowW(DispatchWindowClassName, nullptr);
        if (running == nullptr)
            return true;
        if (!ForwardCommandLine(running))
            return true;

        const HWND popup = ::GetWindow(running, GW_ENABLEDPOPUP);
        if (popup != nullptr) {
            ::SetForegroundWindow(popup);
            if (::IsIconic(popup))
                ::ShowWindow(popup, SW_RESTORE);
        }
        // Closed, not released: a waiting start sees it abandoned, which counts as acquired.
        instanceMutex.Reset();
        return false;
    }

    void AttachMainWindow(HWND window)
    {
        if (window != nullptr) {
            windowHook.SubclassWindow(window);
            mainThreadId = ::GetCurrentThreadId();
            if (instanceMutex) {
                pendingCommandLines.push_back(::GetCommandLineW());
                ::SetTimer(windowHook, CommandLineTimerId, CommandLineBatchDelayMs, nullptr);
                ::ReleaseMutex(instanceMutex.Get());
            }
        }
        mainWindow = window;
    }

    HWND MainWindow() const { return mainWindow; }
    bool IsMainThread() const { return ::GetCurrentThreadId() == mainThreadId; }
    void SetRestartOnExit(bool restart) { restartRequested = restart; }

    void RestartIfRequested()
    {
        if (!restartRequested)
            return;
        const HINSTANCE module = programMgr.Get<IOxProgramInfo>()->GetModuleInstance();
        const std::wstring path = vantor::ModuleFilePath(module);
        if (path.empty())
            return;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started = {};
        if (::CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
            const vantor::ScopedHandle process(started.hProcess);
            const vantor::ScopedHandle thread(started.hThread);
        }
    }

    void SetExitCode(int code)
    {
        exitCodeSet = true;
        exitCode = code;
    }

    bool GetExitCode(int* code) const
    {
        if (exitCodeSet && code != nullptr)
            *code = exitCode;
        return exitCodeSet;
    }

private:
    // False when the running instance did not take the command line: it refused it, is gone,
    // or did not answer in time. A line sent to an instance that did not answer in time is
    // claimed back, so that the instance cannot handle it as well once it recovers.
    bool ForwardCommandLine(HWND running)
    {
        const std::wstring commandLine = ::GetCommandLineW();
        ForwardingClaim claim;
        if (claim.IsValid()) {
            DWORD_PTR result = 0;
            if (!SendRecord(running, ClaimedCommandLineTag, claim.RecordFor(commandLine), &result))
                return !claim.TakeBack();
            if (result != 0)
                return true;
            // An instance that answers but refuses claimed records does not know them.
        }
        DWORD_PTR result = 0;
        return SendRecord(running, ForwardedCommandLineTag, commandLine, &result) && result != 0;
    }

    // False when the running instance did not answer in time.
    static bool SendRecord(HWND running, ULONG_PTR tag, const std::wstring& data, DWORD_PTR* result)
    {
        COPYDATASTRUCT record = {};
        record.dwData = tag;
        record.cbData = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        record.lpData = const_cast<wchar_t*>(data.data());
        return ::SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record),
                                     SMTO_NORMAL | SMTO_ABORTIFHUNG, ForwardTimeoutMs, result)
            != 0;
    }

    LRESULT OnCopyData(UINT, WPARAM, LPARAM lParam, BOOL& handled)
    {
        const COPYDATASTRUCT* const record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (record == nullptr || (record->dwData != ForwardedCommandLineTag && record->dwData != ClaimedCommandLineTag)) {
            handled = FALSE;
            return 0;
        }
        // An odd last byte is no code unit.
        const size_t codeUnits = record->lpData != nullptr ? record->cbData / sizeof(wchar_t) : 0;
        const wchar_t* const data = static_cast<const wchar_t*>(record->lpData);
        std::wstring commandLine;
        if (record->dwData == ClaimedCommandLineTag) {
            std::wstring claimId;
            // A line whose start stopped waiting and claimed it back is that start's own.
            if (!SplitClaimedRecord(data, codeUnits, &claimId, &commandLine) || !TakeForwardingClaim(claimId))
                return 0;
        } else {
            commandLine.assign(data, codeUnits);
        }
        pendingCommandLines.push_back(std::move(commandLine));
        ::SetTimer(windowHook, CommandLineTimerId, CommandLineBatchDelayMs, nullptr);
        return TRUE;
    }

    LRESULT OnTimer(UINT, WPARAM timerId, LPARAM, BOOL& handled)
    {
        if (timerId != CommandLineTimerId) {
            handled = FALSE;
            return 0;
        }
        ::KillTimer(windowHook, CommandLineTimerId);
        std::vector<std::wstring> batch;
        batch.swap(pendingCommandLines);
        programMgr.Get<IOxEventProxy>()->SendCall(boost::bind(&OxBaseProgramStuff::FireCommandLines, ownerComponent, batch));
        return 0;
    }

    vantor::ScopedHandle instanceMutex;
    vantor::CContainedWindow windowHook;
    std::vector<std::wstring> pendingCommandLines;
    const OxComponentView<IOxBaseProgramStuff> programMgr;
    OxBaseProgramStuff* ownerComponent;
    bool restartRequested = false;
    HWND mainWindow = nullptr;
    DWORD mainThreadId = 0;
    bool exitCodeSet = false;
    int exitCode = 0;
};

OxBaseProgramStuff::OxBaseProgramStuff(IOxQueryInterface* queryInterface)
    : pimpl(new impl(queryInterface, this))
{
}

OxBaseProgramStuff::~OxBaseProgramStuff() = default;

void OxBaseProgramStuff::AttachMainWindow(HWND window)
{
    pimpl->AttachMainWindow(window);
}

HWND OxBaseProgramStuff::GetMainWindow()
{
    return pimpl->MainWindow();
}

bool OxBaseProgramStuff::IsMainThread()
{
    return pimpl->IsMainThread();
}

void OxBaseProgramStuff::SetRestartOnExit(bool restart)
{
    pimpl->SetRestartOnExit(restart);
}

void OxBaseProgramStuff::RestartIfRequested()
{
    pimpl->RestartIfRequested();
}

bool OxBaseProgramStuff::CheckSingleInstance()
{
    return pimpl->CheckSingleInstance();
}

boost::signals2::connection OxBaseProgramStuff::ConnectCommandLine(const CommandLineSignal::slot_type& handler,
                                                                   ConnectPosition position)
{
    return commandLineSignal.connect(handler, SignalPosition(position));
}

void OxBaseProgramStuff::SetExitCode(int exitCode)
{
    pimpl->SetExitCode(exitCode);
}

bool OxBaseProgramStuff::GetExitCode(int* exitCode)
{
    return pimpl->GetExitCode(exitCode);
}

void OxBaseProgramStuff::FireCommandLines(const std::vector<std::wstring>& commandLines)
{
    commandLineSignal(commandLines);
}
