// "OxBaseProgramStuff": single instance with command-line forwarding, the main window and
// thread, a stored exit code and a restart on exit.
#pragma once

#include <string>
#include <vector>

#include <boost/signals2/signal.hpp>
#include <windows.h>

#include "framework/connect_position.h"
#include "framework/interface_ptr.h"

// Each element is one whole command line of a later start, exactly as it was given.
typedef boost::signals2::signal<void(const std::vector<std::wstring>&)> CommandLineSignal;

class IOxBaseProgramStuff {
public:
    // What a component of this kind is handed out as.
    typedef IOxBaseProgramStuff Interface;

    // Makes window the main window (null only clears it).
    virtual void AttachMainWindow(HWND window) = 0;
    virtual HWND GetMainWindow() = 0;
    virtual bool IsMainThread() = 0;
    virtual void SetRestartOnExit(bool restart) = 0;
    // Starts the program anew when a restart was asked for.
    virtual void RestartIfRequested() = 0;
    // True: go on running. False: the command line went to the running instance; end at once.
    virtual bool CheckSingleInstance() = 0;
    virtual boost::signals2::connection ConnectCommandLine(const CommandLineSignal::slot_type& handler,
                                                           ConnectPosition position) = 0;
    // A stored exit code wins over the message loop's result.
    virtual void SetExitCode(int exitCode) = 0;
    // True when an exit code was stored; then it is written through exitCode (may be null).
    virtual bool GetExitCode(int* exitCode) = 0;

protected:
    ~IOxBaseProgramStuff() = default;
};

class OxBaseProgramStuffEmpty : public IOxBaseProgramStuff {
public:
    explicit OxBaseProgramStuffEmpty(IOxQueryInterface*) {}

    void AttachMainWindow(HWND) override {}
    HWND GetMainWindow() override { return nullptr; }
    bool IsMainThread() override { return false; }
    void SetRestartOnExit(bool) override {}
    void RestartIfRequested() override {}
    bool CheckSingleInstance() override { return true; }
    boost::signals2::connection ConnectCommandLine(const CommandLineSignal::slot_type&, ConnectPosition) override
    {
        return boost::signals2::connection();
    }
    void SetExitCode(int) override {}
    bool GetExitCode(int*) override { return false; }
};

OX_BIND_INTERFACE(IOxBaseProgramStuff, "OxBaseProgramStuff", OxBaseProgramStuffEmpty);
