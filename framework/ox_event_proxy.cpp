#include "framework/ox_event_proxy.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/contained_window.h"
#include "platform/critical_section.h"

// Posted calls wait in pending under a token that travels in their message. Tokens are looked
// up, never dereferenced, so a message that arrives from elsewhere or after its call was
// dropped runs nothing, and whatever was never dispatched is freed with the proxy.
class OxEventProxy::impl : public vantor::CMessageMap {
public:
    impl() : proxyWindow(L"Message", this, 0)
    {
        RECT empty = {};
        proxyWindow.Create(HWND_MESSAGE, empty);
    }

    ~impl()
    {
        if (proxyWindow.m_hWnd != nullptr)
            proxyWindow.DestroyWindow();
    }

    void PostCall(const Callable& call)
    {
        if (proxyWindow.m_hWnd == nullptr)
            return;
        LPARAM token;
        {
            vantor::CriticalSectionLock lock(pendingLock);
            token = static_cast<LPARAM>(++lastToken);
            pending.emplace(token, call);
        }
        proxyWindow.PostMessage(EventProxyMessage, 0, token);
    }

    void SendCall(const Callable& call)
    {
        {
            vantor::CriticalSectionLock lock(pendingLock);
            sending.push_back(&call);
        }
        proxyWindow.SendMessage(EventProxyMessage, 1, reinterpret_cast<LPARAM>(&call));
        vantor::CriticalSectionLock lock(pendingLock);
        const auto mine = std::find(sending.rbegin(), sending.rend(), &call);
        *mine = sending.back();
        sending.pop_back();
    }

    BEGIN_MSG_MAP(impl)
        MESSAGE_HANDLER(EventProxyMessage, OnEventProxyMessage)
    END_MSG_MAP()

private:
    LRESULT OnEventProxyMessage(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
    {
        if (wParam != 0) {
            const Callable* call = reinterpret_cast<const Callable*>(lParam);
            bool known;
            {
                vantor::CriticalSectionLock lock(pendingLock);
                known = std::find(sending.begin(), sending.end(), call) != sending.end();
            }
            if (known)
                (*call)();
            return 0;
        }
        Callable call;
        {
            vantor::CriticalSectionLock lock(pendingLock);
            const auto found = pending.find(lParam);
            if (found == pending.end())
                return 0;
            call.swap(found->second);
            pending.erase(found);
        }
        // Run outside the lock: a call may post or send further calls.
        call();
        return 0;
    }

    std::map<LPARAM, Callable> pending;
    // The calls of the SendCalls in progress, nested or from other threads: a handful, kept
    // without an allocation per call.
    std::vector<const Callable*> sending;
    ULONG lastToken = 0;
    vantor::CriticalSection pendingLock;
    vantor::CContainedWindow proxyWindow;
};

OxEventProxy::OxEventProxy(IOxQueryInterface*)
    : pimpl(new impl)
{
}

OxEventProxy::~OxEventProxy() = default;

void OxEventProxy::PostCall(const Callable& call)
{
    pimpl->PostCall(call);
}

void OxEventProxy::SendCall(const Callable& call)
{
    pimpl->SendCall(call);
}
