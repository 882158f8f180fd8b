// A window whose messages are handled by another object's message map, in the manner of ATL's
// CContainedWindow: either a window it creates as a superclass of an existing class (named
// "ATL:" + that class), or an existing window it subclasses. The object must outlive the window
// or let go of it first; the message map must outlive this object.
#pragma once

#include <string>

#include "platform/thunked_window.h"

namespace vantor {

class CContainedWindow : public CThunkedWindow {
public:
    // Handles the messages of a subclassed window through map under the given map id.
    CContainedWindow(CMessageMap* map, DWORD mapId = 0);
    // Creates windows of a superclass of superclassName (for example "Message").
    CContainedWindow(LPCWSTR superclassName, CMessageMap* map, DWORD mapId = 0);

    HWND Create(HWND parent, const RECT& rect, LPCWSTR windowName = nullptr, DWORD style = 0,
                DWORD exStyle = 0, UINT id = 0, void* param = nullptr);
    BOOL SubclassWindow(HWND window);
    // Gives the window its previous procedure back; returns the window, or null when this object
    // was not bound to it.
    HWND UnsubclassWindow();

private:
    static LRESULT CALLBACK WindowProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam);

    std::wstring superclassName;
    CMessageMap* map;
    DWORD mapId;
};

} // namespace vantor
