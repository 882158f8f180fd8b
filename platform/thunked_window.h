// The common core of CWindowImpl and CContainedWindow: a window whose messages reach a C++
// object through a thunk, bound either at creation (the class's procedure is StartWindowProc)
// or by subclassing an existing window.
#pragma once

#include "platform/message_map.h"
#include "platform/window.h"
#include "platform/window_proc_thunk.h"

namespace vantor {

class CThunkedWindow : public CWindow {
public:
    CThunkedWindow(const CThunkedWindow&) = delete;
    CThunkedWindow& operator=(const CThunkedWindow&) = delete;

    // Passes a message to the procedure the window had before it was bound to this object.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The class procedure of every bound window class: binds the window being created on this
    // thread to its object and hands it the first message.
    static LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    CThunkedWindow() = default;
    // A window still bound to this object gets its previous procedure back. When another
    // subclass has been chained over this one, the thunk is left behind as a forwarder to the
    // previous procedure, so that no message can reach freed code.
    ~CThunkedWindow();

    // Creates a window of a class whose procedure is StartWindowProc; its messages then go to
    // proc, called with object (the derived object proc expects) in place of the window handle.
    HWND CreateBound(WNDPROC proc, void* object, LPCWSTR className, HINSTANCE instance, HWND parent, const RECT* rect,
                     LPCWSTR windowName, DWORD style, DWORD exStyle, HMENU menuOrId, void* param);
    BOOL SubclassBound(WNDPROC proc, void* object, HWND window);
    HWND UnsubclassBound();

    // Runs a message through map; what it leaves goes to DefWindowProc. After WM_NCDESTROY the
    // object no longer holds the window.
    LRESULT Dispatch(CMessageMap& map, DWORD mapId, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC superWindowProc = ::DefWindowProcW;

private:
    bool WindowLivesOnThisThread() const;
    bool IsBoundToThisObject() const;

    WindowProcThunk thunk;
};

} // namespace vantor
