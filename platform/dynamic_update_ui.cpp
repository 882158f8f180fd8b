#include "platform/dynamic_update_ui.h"

#include <commctrl.h>

namespace vantor {

namespace {

void ApplyToMenuItem(HMENU menu, UINT id, WORD state, const std::wstring& text)
{
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STATE;
    item.fState = (state & UPDUI_DISABLED) ? (MFS_DISABLED | MFS_GRAYED) : MFS_ENABLED;
    item.fState |= (state & UPDUI_CHECKED) ? MFS_CHECKED : MFS_UNCHECKED;
    if (state & UPDUI_DEFAULT)
        item.fState |= MFS_DEFAULT;
    std::wstring writable = text;
    if (state & UPDUI_TEXT) {
        item.fMask |= MIIM_STRING;
        item.dwTypeData = &writable[0];
    }
    ::SetMenuItemInfoW(menu, id, FALSE, &item);
}

void ApplyToToolBar(HWND toolBar, UINT id, WORD state)
{
    ::SendMessageW(toolBar, TB_ENABLEBUTTON, id, MAKELPARAM((state & UPDUI_DISABLED) ? FALSE : TRUE, 0));
    ::SendMessageW(toolBar, TB_CHECKBUTTON, id, MAKELPARAM((state & (UPDUI_CHECKED | UPDUI_CHECKED2)) ? TRUE : FALSE, 0));
    ::SendMessageW(toolBar, TB_INDETERMINATE, id, MAKELPARAM((state & UPDUI_CHECKED2) ? TRUE : FALSE, 0));
    ::SendMessageW(toolBar, TB_PRESSBUTTON, id, MAKELPARAM((state & UPDUI_DEFAULT) ? TRUE : FALSE, 0));
}

// A child control is taken for a button when it comes to checks.
void ApplyToChild(HWND container, UINT id, WORD state, const std::wstring& text)
{
    const HWND child = ::GetDlgItem(container, static_cast<int>(id));
    ::EnableWindow(child, (state & UPDUI_DISABLED) ? FALSE : TRUE);
    WPARAM check = BST_UNCHECKED;
    if (state & (UPDUI_CHECKED | UPDUI_RADIO))
        check = BST_CHECKED;
    else if (state & UPDUI_CHECKED2)
        check = BST_INDETERMINATE;
    ::SendMessageW(child, BM_SETCHECK, check, 0);
    if (state & UPDUI_DEFAULT) {
        const DWORD current = static_cast<DWORD>(::SendMessageW(container, DM_GETDEFID, 0, 0));
        if (HIWORD(current) == DC_HASDEFID)
            ::SendMessageW(::GetDlgItem(container, static_cast<short>(LOWORD(current))), BM_SETSTYLE, BS_PUSHBUTTON, MAKELPARAM(TRUE, 0));
        ::SendMessageW(container, DM_SETDEFID, id, 0);
    }
    if (state & UPDUI_TEXT)
        ::SetWindowTextW(child, text.c_str());
}

} // namespace

bool CDynamicUpdateUI::UIAddUpdateElement(WORD id, WORD elementTypes)
{
    return commands.emplace(id, Command{elementTypes, UPDUI_ENABLED, 0, std::wstring(), 0, 0}).second;
}

bool CDynamicUpdateUI::UIRemoveUpdateElement(WORD id)
{
    return commands.erase(id) != 0;
}

void CDynamicUpdateUI::AddElement(HWND window, WORD type)
{
    if (window != nullptr)
        elements.push_back(Element{window, type});
}

void CDynamicUpdateUI::UIAddToolBar(HWND toolBar)
{
    AddElement(toolBar, UPDUI_TOOLBAR);
}

void CDynamicUpdateUI::UIAddMenuBar(HWND window)
{
    AddElement(window, UPDUI_MENUBAR);
}

void CDynamicUpdateUI::UIAddStatusBar(HWND statusBar)
{
    AddElement(statusBar, UPDUI_STATUSBAR);
}

void CDynamicUpdateUI::UIAddChildWindowContainer(HWND window)
{
    AddElement(window, UPDUI_CHILDWINDOW);
}

CDynamicUpdateUI::Command* CDynamicUpdateUI::Find(UINT id)
{
    if (id > 0xFFFF)
        return nullptr;
    const auto found = commands.find(static_cast<WORD>(id));
    return found != commands.end() ? &found->second : nullptr;
}

void CDynamicUpdateUI::Mark(Command& command, WORD previousState, bool force)
{
    if (force || command.state != previousState)
        command.marked = command.elementTypes;
}

bool CDynamicUpdateUI::SetStateBit(UINT id, WORD bit, bool set, bool force)
{
    Command* const command = Find(id);
    if (command == nullptr)
        return false;
    const WORD previous = command->state;
    command->state = set ? (command->state | bit) : (command->state & ~bit);
    Mark(*command, previous, force);
    return true;
}

bool CDynamicUpdateUI::UIEnable(UINT id, bool enable, bool force)
{
    return SetStateBit(id, UPDUI_DISABLED, !enable, force);
}

bool CDynamicUpdateUI::UISetCheck(UINT id, int check, bool force)
{
    Command* const command = Find(id);
    if (command == nullptr)
        return false;
    const WORD previous = command->state;
    command->state &= ~(UPDUI_CHECKED | UPDUI_CHECKED2);
    if (check == 1)
        command->state |= UPDUI_CHECKED;
    else if (check == 2)
        command->state |= UPDUI_CHECKED2;
    Mark(*command, previous, force);
    return true;
}

bool CDynamicUpdateUI::UISetRadioMenuItem(UINT id, UINT first, UINT last, bool force)
{
    Command* const command = Find(id);
    if (command == nullptr)
        return false;
    for (UINT other = first; other <= last && other <= 0xFFFF; ++other) {
        Command* const inRange = other != id ? Find(other) : nullptr;
        if (inRange == nullptr || (inRange->state & UPDUI_RADIO) == 0)
            continue;
        const WORD previous = inRange->state;
        inRange->state &= ~UPDUI_RADIO;
        inRange->radioFirst = inRange->radioLast = 0;
        Mark(*inRange, previous, force);
    }
    const WORD previous = command->state;
    command->state |= UPDUI_RADIO;
    command->radioFirst = first;
    command->radioLast = last;
    Mark(*command, previous, force);
    return true;
}

bool CDynamicUpdateUI::UISetText(UINT id, const std::wstring& text, bool force)
{
    Command* const command = Find(id);
    if (command == nullptr)
        return false;
    const bool changed = (command->state & UPDUI_TEXT) == 0 || command->text != text;
    command->state |= UPDUI_TEXT;
    command->text = text;
    if (changed || force)
        command->marked = command->elementTypes;
    return true;
}

bool CDynamicUpdateUI::UISetDefault(UINT id, bool isDefault, bool force)
{
    return SetStateBit(id, UPDUI_DEFAULT, isDefault, force);
}

WORD CDynamicUpdateUI::UIGetState(UINT id) const
{
    const auto found = id <= 0xFFFF ? commands.find(static_cast<WORD>(id)) : commands.end();
    return found != commands.end() ? found->second.state : 0;
}

template <class Apply>
void CDynamicUpdateUI::UpdateElements(WORD type, bool force, Apply apply)
{
    for (auto& entry : commands) {
        Command& command = entry.second;
        if ((command.elementTypes & type) == 0 || (!force && (command.marked & type) == 0))
            continue;
        for (const Element& element : elements) {
            if (element.type == type)
                apply(element.window, entry.first, command);
        }
        command.marked &= ~type;
    }
}

void CDynamicUpdateUI::UIUpdateToolBar(bool force)
{
    UpdateElements(UPDUI_TOOLBAR, force,
                   [](HWND toolBar, WORD id, const Command& command) { ApplyToToolBar(toolBar, id, command.state); });
}

void CDynamicUpdateUI::UIUpdateMenuBar(bool force, bool redrawMenuBar)
{
    UpdateElements(UPDUI_MENUBAR, force, [](HWND window, WORD id, const Command& command) {
        const HMENU menu = ::GetMenu(window);
        ApplyToMenuItem(menu, id, command.state, command.text);
        if (command.state & UPDUI_RADIO)
            ::CheckMenuRadioItem(menu, command.radioFirst, command.radioLast, id, MF_BYCOMMAND);
    });
    if (redrawMenuBar) {
        for (const Element& element : elements) {
            if (element.type == UPDUI_MENUBAR)
                ::DrawMenuBar(element.window);
        }
    }
}

void CDynamicUpdateUI::UIUpdateStatusBar(bool force)
{
    UpdateElements(UPDUI_STATUSBAR, force, [](HWND statusBar, WORD pane, const Command& command) {
        if (command.state & UPDUI_TEXT)
            ::SendMessageW(statusBar, SB_SETTEXTW, pane, reinterpret_cast<LPARAM>(command.text.c_str()));
    });
}

void CDynamicUpdateUI::UIUpdateChildWindows(bool force)
{
    UpdateElements(UPDUI_CHILDWINDOW, force, [](HWND container, WORD id, const Command& command) {
        ApplyToChild(container, id, command.state, command.text);
    });
}

void CDynamicUpdateUI::UIUpdateMenuPopup(HMENU menu)
{
    for (const auto& entry : commands) {
        const Command& command = entry.second;
        if ((command.elementTypes & UPDUI_MENUPOPUP) == 0)
            continue;
        ApplyToMenuItem(menu, entry.first, command.state, command.text);
        if (command.state & UPDUI_RADIO)
            ::CheckMenuRadioItem(menu, command.radioFirst, command.radioLast, entry.first, MF_BYCOMMAND);
    }
}

BOOL CDynamicUpdateUI::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result, DWORD)
{
    if (message == WM_INITMENUPOPUP && wParam != 0) {
        UIUpdateMenuPopup(reinterpret_cast<HMENU>(wParam));
        result = 0;
    }
    return FALSE;
}

} // namespace vantor
