// The program's hidden main window. A second instance finds the running one by its class, and
// forwarded command lines arrive through it. Right after creation it posts itself a start
// message whose handling runs the program's one action; when that returns, the window destroys
// itself and ends the message loop.
#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "platform/scoped_resource.h"
#include "platform/window_impl.h"
#include "services/single_instance_protocol.h"

// Posted to itself by the dispatch window when it is created.
const UINT DispatchStartMessage = WM_APP + 348;
// Commands the window takes from any source.
const WORD AboutCommandId = 0xE140;
const WORD CloseCommandId = 0xE141;

typedef vantor::CWinTraits<WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT> DispatchWindowTraits;

class CDispatchWindowBase : public vantor::CWindowImpl<CDispatchWindowBase, vantor::CWindow, DispatchWindowTraits> {
public:
    DECLARE_WND_CLASS_EX(DispatchWindowClassName, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, COLOR_WINDOW)

    // Loads the icons of the icon group resourceId; it also names the menu the window gets.
    explicit CDispatchWindowBase(int resourceId);

    BEGIN_MSG_MAP(CDispatchWindowBase)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(DispatchStartMessage, OnStart)
        COMMAND_ID_HANDLER(AboutCommandId, OnAbout)
        COMMAND_ID_HANDLER(CloseCommandId, OnCloseCommand)
    END_MSG_MAP()

    virtual ~CDispatchWindowBase() = default;

    // The full program name.
    virtual std::wstring GetMainCaption();
    // The program's one action; returns once it is over and the window has been closed.
    virtual void ShowSettings() = 0;
    // Called before the window is destroyed by CloseDispatchWindow.
    virtual void OnBeforeClose() {}

    // Destroys the window and ends the message loop with 0.
    void CloseDispatchWindow();

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnStart(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAbout(WORD, WORD, HWND, BOOL&);
    LRESULT OnCloseCommand(WORD, WORD, HWND, BOOL&);

    vantor::ScopedIcon bigIcon;
    vantor::ScopedIcon smallIcon;
    int resourceId;
    // The start message runs the action once: a second one, posted while the frame is up,
    // would nest a second frame and destroy the first frame's owner.
    bool started = false;
};

// Shows the ZELK Vantor Source filter's settings.
class CDispatchWindow : public CDispatchWindowBase {
public:
    CDispatchWindow();

    void ShowSettings() override;
};

// The dispatch window, created; empty when the window could not be created. Its window, if it
// still lives, is destroyed before the object is.
boost::shared_ptr<CDispatchWindow> CreateDispatchWindow();
