// A run of a program beside the test driver, ended by force if the test leaves it running.
#pragma once

#include <string>

#include <windows.h>

#include "platform/scoped_resource.h"

// The full path of a file in the driver's own folder.
std::wstring BesideDriver(const std::wstring& fileName);

// A whole command line, run as it is: for the system's own programs.
struct SystemCommandLine {
    std::wstring text;
};

class ProgramRun {
public:
    // Starts fileName (beside the driver) with the given arguments, inheriting the environment.
    explicit ProgramRun(const std::wstring& fileName, const std::wstring& arguments = std::wstring());
    explicit ProgramRun(const SystemCommandLine& commandLine);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return process.IsValid(); }
    DWORD ProcessId() const { return processId; }
    // The command line the program was given.
    const std::wstring& CommandLine() const { return commandLine; }
    // False when the program still runs after timeoutMs.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);

private:
    std::wstring commandLine;
    vantor::ScopedHandle process;
    DWORD processId = 0;
};
