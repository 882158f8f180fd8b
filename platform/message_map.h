// Message maps in the manner of ATL and WTL: a readable table from message to handler.
//
// A class derived from CMessageMap declares its table between BEGIN_MSG_MAP and END_MSG_MAP.
// Each handler runs with its handled flag set; a handler that clears the flag lets the message
// go on to the next entry and finally to the window's default processing. The flag is local to
// each dispatch, so nested messages do not disturb it.
#pragma once

#include <windows.h>

namespace vantor {

class CMessageMap {
public:
    // Returns TRUE and writes the result when the map handled the message.
    virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result, DWORD mapId) = 0;

protected:
    ~CMessageMap() = default;
};

#define BEGIN_MSG_MAP(theClass)                                                               \
public:                                                                                       \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,             \
                              LRESULT& lResult, DWORD dwMsgMapID) override                    \
    {                                                                                         \
        BOOL bHandled = TRUE;                                                                 \
        (void)hWnd;                                                                           \
        switch (dwMsgMapID) {                                                                 \
        case 0:

// Handler: LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
#define MESSAGE_HANDLER(msg, func)                                                            \
    if (uMsg == (msg)) {                                                                      \
        bHandled = TRUE;                                                                      \
        lResult = func(uMsg, wParam, lParam, bHandled);                                       \
        if (bHandled)                                                                         \
            return TRUE;                                                                      \
    }

// Handler: LRESULT OnCommand(WORD notifyCode, WORD id, HWND control, BOOL& handled)
#define COMMAND_ID_HANDLER(id, func)                                                          \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id)) {                                       \
        bHandled = TRUE;                                                                      \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),        \
                       bHandled);                                                             \
        if (bHandled)                                                                         \
            return TRUE;                                                                      \
    }

#define ALT_MSG_MAP(mapId)                                                                    \
        break;                                                                                \
        case mapId:

#define END_MSG_MAP()                                                                         \
        break;                                                                                \
        default:                                                                              \
            break;                                                                            \
        }                                                                                     \
        (void)bHandled;                                                                       \
        return FALSE;                                                                         \
    }

} // namespace vantor
