#include "platform/message_loop.h"

#include <algorithm>

namespace vantor {

namespace {

template <class T>
BOOL AddUnique(std::vector<T*>& list, T* item)
{
    if (item == nullptr || std::find(list.begin(), list.end(), item) != list.end())
        return FALSE;
    list.push_back(item);
    return TRUE;
}

template <class T>
BOOL RemoveItem(std::vector<T*>& list, T* item)
{
    const auto found = std::find(list.begin(), list.end(), item);
    if (found == list.end())
        return FALSE;
    list.erase(found);
    return TRUE;
}

} // namespace

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* filter) { return AddUnique(filters, filter); }
BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) { return RemoveItem(filters, filter); }
BOOL CMessageLoop::AddIdleHandler(CIdleHandler* handler) { return AddUnique(idleHandlers, handler); }
BOOL CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) { return RemoveItem(idleHandlers, handler); }

int CMessageLoop::Run()
{
    bool doIdle = true;
    int idleCount = 0;
    for (;;) {
        while (doIdle && !::PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                doIdle = false;
        }
        const BOOL got = ::GetMessageW(&m_msg, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (!got)
            break;
        if (!PreTranslateMessage(&m_msg)) {
            ::TranslateMessage(&m_msg);
            ::DispatchMessageW(&m_msg);
        }
        if (IsIdleMessage(&m_msg)) {
            doIdle = true;
            idleCount = 0;
        }
    }
    return static_cast<int>(m_msg.wParam);
}

BOOL CMessageLoop::IsIdleMessage(const MSG* message)
{
    switch (message->message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case 0x0118: // the system's caret-blink timer message
        return FALSE;
    default:
        return TRUE;
    }
}

BOOL CMessageLoop::PreTranslateMessage(MSG* message)
{
    // Indexes rather than iterators: a filter may unregister itself or others while it runs.
    for (size_t i = filters.size(); i-- > 0;) {
        if (i < filters.size() && filters[i]->PreTranslateMessage(message))
            return TRUE;
    }
    return FALSE;
}

BOOL CMessageLoop::OnIdle(int)
{
    for (size_t i = 0; i < idleHandlers.size(); ++i)
        idleHandlers[i]->OnIdle();
    return FALSE;
}

} // namespace vantor
