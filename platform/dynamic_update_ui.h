// The command states of a user interface and their pushing to menus, toolbars, status bars
// and dialog controls, in the manner of WTL's CDynamicUpdateUI: commands are registered with
// the kinds of element that show them; a state change marks the command for the next update.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <windows.h>

#include "platform/message_map.h"

namespace vantor {

// Kinds of element that show a command.
const WORD UPDUI_MENUPOPUP = 0x0001;
const WORD UPDUI_MENUBAR = 0x0002;
const WORD UPDUI_CHILDWINDOW = 0x0004;
const WORD UPDUI_TOOLBAR = 0x0008;
const WORD UPDUI_STATUSBAR = 0x0010;
// States of a command.
const WORD UPDUI_ENABLED = 0x0000;
const WORD UPDUI_DISABLED = 0x0100;
const WORD UPDUI_CHECKED = 0x0200;
const WORD UPDUI_CHECKED2 = 0x0400;
const WORD UPDUI_RADIO = 0x0800;
const WORD UPDUI_DEFAULT = 0x1000;
const WORD UPDUI_TEXT = 0x2000;
const WORD UPDUI_CLEARDEFAULT = 0x4000;

class CDynamicUpdateUI : public CMessageMap {
public:
    // Registers a command shown by the given kinds of element, enabled and unchecked; false when
    // it is registered already.
    bool UIAddUpdateElement(WORD id, WORD elementTypes);
    bool UIRemoveUpdateElement(WORD id);

    // Windows that show the commands of their kind; a null window is ignored.
    void UIAddToolBar(HWND toolBar);
    void UIAddMenuBar(HWND window);
    void UIAddStatusBar(HWND statusBar);
    // Its child controls show the commands by their control ids.
    void UIAddChildWindowContainer(HWND window);

    // Each marks the command for the next update when its state changes, or always when forced;
    // false for a command that is not registered.
    bool UIEnable(UINT id, bool enable, bool force = false);
    // 0 unchecked, 1 checked, 2 the second check state (indeterminate).
    bool UISetCheck(UINT id, int check, bool force = false);
    // Gives id the radio mark within first..last and takes it from the others there.
    bool UISetRadioMenuItem(UINT id, UINT first, UINT last, bool force = false);
    bool UISetText(UINT id, const std::wstring& text, bool force = false);
    bool UISetDefault(UINT id, bool isDefault, bool force = false);
    // The command's state bits; 0 for a command that is not registered.
    WORD UIGetState(UINT id) const;

    // Push the marked commands (every command when forced) to the elements of one kind and
    // clear their marks for that kind.
    void UIUpdateToolBar(bool force = false);
    void UIUpdateMenuBar(bool force = false, bool redrawMenuBar = false);
    void UIUpdateStatusBar(bool force = false);
    void UIUpdateChildWindows(bool force = false);
    // Applies the states of the popup-menu commands to a popup menu.
    void UIUpdateMenuPopup(HMENU menu);

    // WM_INITMENUPOPUP updates the popup and goes on to the window's own handling.
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

protected:
    ~CDynamicUpdateUI() = default;

private:
    struct Command {
        WORD elementTypes;
        WORD state;
        WORD marked;  // the element kinds still to be updated
        std::wstring text;
        UINT radioFirst;
        UINT radioLast;
    };
    struct Element {
        HWND window;
        WORD type;
    };

    Command* Find(UINT id);
    void Mark(Command& command, WORD previousState, bool force);
    bool SetStateBit(UINT id, WORD bit, bool set, bool force);
    void AddElement(HWND window, WORD type);
    template <class Apply>
    void UpdateElements(WORD type, bool force, Apply apply);

    std::map<WORD, Command> commands;
    std::vector<Element> elements;
};

} // namespace vantor
