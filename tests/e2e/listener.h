// A command-line listener under test: its log, its dispatch window, and its close as its
// program would close it. Shared by the tests of the single-instance rule.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "command_line_log.h"
#include "desktop.h"
#include "program_run.h"
#include "services/single_instance_protocol.h"

const WORD CloseCommandId = 0xE141;

inline std::wstring FreshLogPath()
{
    static int counter = 0;
    wchar_t folder[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"vantor-listener-" + std::to_wstring(::GetCurrentProcessId()) + L"-"
        + std::to_wstring(++counter) + L".log";
    ::DeleteFileW(path.c_str());
    return path;
}

inline HWND DispatchWindowOf(DWORD processId)
{
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (ClassNameOf(window) == DispatchWindowClassName)
            return window;
    }
    return nullptr;
}

// A listener: an instance built on the framework that logs every batch of command lines.
class Listener {
public:
    explicit Listener(const std::wstring& options = std::wstring())
        : logPath(FreshLogPath()), run(L"command_line_listener.exe", L"--log \"" + logPath + L"\"" + (options.empty() ? L"" : L" " + options))
    {
    }
    ~Listener() { ::DeleteFileW(logPath.c_str()); }

    HWND WaitForWindow(DWORD timeoutMs = 20000)
    {
        return ::WaitForWindow([this] { return DispatchWindowOf(run.ProcessId()); }, timeoutMs);
    }
    std::vector<CommandLineBatch> Batches() const { return ReadBatches(logPath); }
    // Waits until at least count batches are logged.
    std::vector<CommandLineBatch> WaitForBatches(size_t count, DWORD timeoutMs = 10000) const
    {
        std::vector<CommandLineBatch> batches;
        WaitUntil([&] { return (batches = Batches()).size() >= count; }, timeoutMs);
        return batches;
    }
    // Closes the instance as its program would and returns its exit code.
    DWORD Close()
    {
        ::PostMessageW(DispatchWindowOf(run.ProcessId()), WM_COMMAND, MAKEWPARAM(CloseCommandId, 0), 0);
        DWORD exitCode = 0xBAD;
        run.WaitForExit(30000, &exitCode);
        return exitCode;
    }

    std::wstring logPath;
    ProgramRun run;
};
