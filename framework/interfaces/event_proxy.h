// "OxEventProxy": runs calls on the thread that built it, later (posted) or at once (sent).
#pragma once

#include <boost/function.hpp>

#include "framework/interface_ptr.h"

typedef boost::function<void()> Callable;

class IOxEventProxy {
public:
    // What a component of this kind is handed out as.
    typedef IOxEventProxy Interface;

    // Queues a copy of call to run later on the proxy's thread; never runs it at once. Safe from
    // any thread.
    virtual void PostCall(const Callable& call) = 0;
    // Runs call on the proxy's thread and returns when it has run.
    virtual void SendCall(const Callable& call) = 0;

protected:
    ~IOxEventProxy() = default;
};

class OxEventProxyEmpty : public IOxEventProxy {
public:
    explicit OxEventProxyEmpty(IOxQueryInterface*) {}

    void PostCall(const Callable&) override {}
    void SendCall(const Callable&) override {}
};

OX_BIND_INTERFACE(IOxEventProxy, "OxEventProxy", OxEventProxyEmpty);
