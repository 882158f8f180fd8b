// The base program component: one instance only (a later start hands its command line to the
// running instance and ends), command lines announced in batches on the main thread, the main
// window and thread, a stored exit code and a restart on exit.
#pragma once

#include <memory>

#include "framework/interfaces/base_program_stuff.h"
#include "services/single_instance_protocol.h"
// The timer that batches forwarded command lines, and its delay.
const UINT_PTR CommandLineTimerId = 15;
const UINT CommandLineBatchDelayMs = 300;
// How long a later start waits for the running instance to finish starting.
const DWORD RunningInstanceWaitMs = 5000;
// How long a later start waits for the running instance to take its command line: a hung
// instance must not hang every later start.
const UINT ForwardTimeoutMs = 5000;

class OxBaseProgramStuff : public IOxBaseProgramStuff {
public:
    explicit OxBaseProgramStuff(IOxQueryInterface* queryInterface);

    void AttachMainWindow(HWND window) override;
    HWND GetMainWindow() override;
    bool IsMainThread() override;
    void SetRestartOnExit(bool restart) override;
    void RestartIfRequested() override;
    bool CheckSingleInstance() override;
    boost::signals2::connection ConnectCommandLine(const CommandLineSignal::slot_type& handler,
                                                   ConnectPosition position) override;
    void SetExitCode(int exitCode) override;
    bool GetExitCode(int* exitCode) override;

    virtual ~OxBaseProgramStuff();

    class impl;

private:
    void FireCommandLines(const std::vector<std::wstring>& commandLines);

    CommandLineSignal commandLineSignal;
    std::unique_ptr<impl> pimpl;
};
