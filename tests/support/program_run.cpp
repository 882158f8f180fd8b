#include "program_run.h"

#include <vector>

std::wstring BesideDriver(const std::wstring& fileName)
{
    std::vector<wchar_t> path(32768);
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring folder(path.data(), length);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + fileName;
}

ProgramRun::ProgramRun(const std::wstring& fileName, const std::wstring& arguments)
    : ProgramRun(SystemCommandLine{L"\"" + BesideDriver(fileName) + L"\"" + (arguments.empty() ? L"" : L" " + arguments)})
{
}

ProgramRun::ProgramRun(const SystemCommandLine& command)
    : commandLine(command.text)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return;
    ::CloseHandle(started.hThread);
    process.Reset(started.hProcess);
    processId = started.dwProcessId;
}

ProgramRun::~ProgramRun()
{
    if (process && ::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process.Get(), 0xDEAD);
        ::WaitForSingleObject(process.Get(), 10000);
    }
}

bool ProgramRun::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!process || ::WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0)
        return false;
    return ::GetExitCodeProcess(process.Get(), exitCode) != FALSE;
}
