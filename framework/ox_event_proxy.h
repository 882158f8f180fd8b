// The event proxy: runs calls on the thread that built it through the message queue of a
// hidden message-only window of that thread.
#pragma once

#include <memory>

#include <windows.h>

#include "framework/interfaces/event_proxy.h"

class OxEventProxy : public IOxEventProxy {
public:
    // Must be built on the thread the calls are to run on.
    explicit OxEventProxy(IOxQueryInterface* queryInterface);

    void PostCall(const Callable& call) override;
    void SendCall(const Callable& call) override;

    // Posted calls still outstanding are freed without running.
    virtual ~OxEventProxy();

    class impl;

private:
    std::unique_ptr<impl> pimpl;
};

// The private message of the proxy window: wParam 0 runs the posted call whose token is in
// lParam; wParam 1 runs the call of a SendCall in progress.
const UINT EventProxyMessage = WM_APP + 343;
