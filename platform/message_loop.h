// The message loop of a thread with message filters and idle handlers, in the manner of WTL's
// CMessageLoop. Filters and handlers are not owned; they must unregister before they die.
#pragma once

#include <vector>

#include <windows.h>

namespace vantor {

class CMessageFilter {
public:
    // TRUE consumes the message: it is neither translated nor dispatched.
    virtual BOOL PreTranslateMessage(MSG* message) = 0;

protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
public:
    // Called when the thread's queue is empty; the result is not looked at.
    virtual BOOL OnIdle() = 0;

protected:
    ~CIdleHandler() = default;
};

class CMessageLoop {
public:
    virtual ~CMessageLoop() = default;

    BOOL AddMessageFilter(CMessageFilter* filter);
    BOOL RemoveMessageFilter(CMessageFilter* filter);
    BOOL AddIdleHandler(CIdleHandler* handler);
    BOOL RemoveIdleHandler(CIdleHandler* handler);

    // Runs until WM_QUIT and returns its wParam. A failed GetMessageW does not end the loop.
    int Run();

    // Messages that do not count as activity: they leave idle processing switched off.
    static BOOL IsIdleMessage(const MSG* message);

protected:
    // Offers the message to the filters, last registered first.
    virtual BOOL PreTranslateMessage(MSG* message);
    // Calls every idle handler once, in registration order; FALSE: no further idle work.
    virtual BOOL OnIdle(int idleCount);

    MSG m_msg = {};

private:
    std::vector<CMessageFilter*> filters;
    std::vector<CIdleHandler*> idleHandlers;
};

} // namespace vantor
