#include "ui/ox_ui_update.h"

#include <cwchar>
#include <map>
#include <vector>

#include "framework/component_view.h"
#include "platform/contained_window.h"
#include "platform/dynamic_update_ui.h"
#include "ui/accelerator_texts.h"

namespace {

// Beyond this nesting a submenu counts as having an enabled item without a look inside.
const int DeepestSubmenuLooked = 11;

} // namespace

class OxUiUpdate::impl : public vantor::CIdleHandler, public vantor::CDynamicUpdateUI {
public:
    explicit impl(IOxQueryInterface* programMgr) : programMgr(programMgr) {}

    ~impl() { SetMessageLoop(nullptr); }

    // Every hooked window, whatever its hook id: the update map first, then the rewriting.
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (vantor::CDynamicUpdateUI::ProcessWindowMessage(window, message, wParam, lParam, result, mapId))
            return TRUE;
        if (message == WM_INITMENUPOPUP) {
            RewritePopup(reinterpret_cast<HMENU>(wParam));
            result = 0;
        }
        return FALSE;
    }

    BOOL OnIdle() override
    {
        UpdateAll(false);
        std::vector<DWORD> gone;
        for (const auto& hooked : hookedWindows) {
            if (hooked.second->m_hWnd == nullptr)
                gone.push_back(hooked.first);
        }
        for (DWORD hookId : gone)
            hookedWindows.erase(hookId);
        return FALSE;
    }

    void UpdateAll(bool force)
    {
        UIUpdateToolBar(force);
        UIUpdateMenuBar(force, false);
        UIUpdateStatusBar(force);
        UIUpdateChildWindows(force);
    }

    // Idle work comes from one loop at a time: a loop left behind would call a component
    // that may be gone.
    void SetMessageLoop(vantor::CMessageLoop* loop)
    {
        if (messageLoop != nullptr)
            messageLoop->RemoveIdleHandler(this);
        if (loop != nullptr)
            loop->AddIdleHandler(this);
        messageLoop = loop;
    }

    void HookMenuWindow(HWND window)
    {
        const DWORD hookId = nextHookId++;
        const boost::shared_ptr<vantor::CContainedWindow> hook(new vantor::CContainedWindow(this, hookId));
        hookedWindows[hookId] = hook;
        hook->SubclassWindow(window);
    }

    std::map<UINT, std::wstring> accelTexts;

private:
    void RewritePopup(HMENU menu)
    {
        const bool writeAccelerators =
            programMgr.InitParams()->GetIntParam("DynamicMenuAccel", 0) != 0;
        for (int position = ::GetMenuItemCount(menu) - 1; position >= 0; --position) {
            const HMENU submenu = ::GetSubMenu(menu, position);
            if (submenu != nullptr)
                ::EnableMenuItem(menu, position,
                                 MF_BYPOSITION | (HasEnabledItem(submenu, 0) ? MF_ENABLED : (MF_GRAYED | MF_DISABLED)));
            if (writeAccelerators)
                RewriteAcceleratorText(menu, position);
        }
    }

    bool HasEnabledItem(HMENU menu, int depth)
    {
        if (depth >= DeepestSubmenuLooked)
            return true;
        UIUpdateMenuPopup(menu);
        for (int position = ::GetMenuItemCount(menu) - 1; position >= 0; --position) {
            const HMENU submenu = ::GetSubMenu(menu, position);
            const bool enabled = submenu != nullptr
                ? HasEnabledItem(submenu, depth + 1)
                : (::GetMenuState(menu, position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
            if (enabled)
                return true;
        }
        return false;
    }

    void RewriteAcceleratorText(HMENU menu, int position)
    {
        const std::wstring read = ItemText(menu, position);
        if (read.empty())
            return;
        const size_t tab = read.find(L'\t');
        if (tab == 0)
            return;
        std::wstring text = read.substr(0, tab);
        const auto accelerator = accelTexts.find(::GetMenuItemID(menu, position));
        if (accelerator != accelTexts.end())
            text += L"\t" + accelerator->second;
        if (text == read)
            return;
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_STRING;
        item.dwTypeData = &text[0];
        ::SetMenuItemInfoW(menu, position, TRUE, &item);
    }

    // The whole text, however long: its length is asked first. Empty when it cannot be read.
    static std::wstring ItemText(HMENU menu, int position)
    {
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_STRING;
        if (!::GetMenuItemInfoW(menu, position, TRUE, &item) || item.cch == 0)
            return std::wstring();
        std::wstring text(item.cch + 1, L'\0');
        item.dwTypeData = &text[0];
        ++item.cch;
        if (!::GetMenuItemInfoW(menu, position, TRUE, &item))
            return std::wstring();
        text.resize(std::wcslen(text.c_str()));
        return text;
    }

    const OxComponentView<IOxUiUpdate> programMgr;
    vantor::CMessageLoop* messageLoop = nullptr;
    DWORD nextHookId = 1;
    std::map<DWORD, boost::shared_ptr<vantor::CContainedWindow>> hookedWindows;
};

OxUiUpdate::OxUiUpdate(IOxQueryInterface* queryInterface)
    : pimpl(new impl(queryInterface))
{
}

OxUiUpdate::~OxUiUpdate() = default;

void OxUiUpdate::SetAccelText(UINT commandId, const std::wstring& text)
{
    if (text.empty())
        pimpl->accelTexts.erase(commandId);
    else
        pimpl->accelTexts[commandId] = text;
}

void OxUiUpdate::BuildAccelTexts(HACCEL accelerators)
{
    AddAcceleratorTexts(accelerators, pimpl->accelTexts);
}

void OxUiUpdate::ClearAccelTexts()
{
    pimpl->accelTexts.clear();
}

void OxUiUpdate::HookMenuWindow(HWND window)
{
    pimpl->HookMenuWindow(window);
}

void OxUiUpdate::AddToolBar(HWND toolBar)
{
    pimpl->UIAddToolBar(toolBar);
}

void OxUiUpdate::AddChildWindowContainer(HWND window)
{
    pimpl->UIAddChildWindowContainer(window);
}

void OxUiUpdate::RemoveUpdateElement(WORD commandId)
{
    pimpl->UIRemoveUpdateElement(commandId);
}

void OxUiUpdate::SetMessageLoop(vantor::CMessageLoop* loop)
{
    pimpl->SetMessageLoop(loop);
}

void OxUiUpdate::UpdateAll(BOOL force)
{
    pimpl->UpdateAll(force != FALSE);
}

void OxUiUpdate::AddUpdateElement(UINT commandId, WORD elementTypes)
{
    if (commandId <= 0xFFFF)
        pimpl->UIAddUpdateElement(static_cast<WORD>(commandId), elementTypes);
}

void OxUiUpdate::EnableCommand(UINT commandId, BOOL enable, BOOL force)
{
    pimpl->UIEnable(commandId, enable != FALSE, force != FALSE);
}

void OxUiUpdate::CheckCommand(UINT commandId, BOOL check, BOOL force)
{
    pimpl->UISetCheck(commandId, check ? 1 : 0, force != FALSE);
}

void OxUiUpdate::SetRadioCommand(UINT commandId, UINT firstId, UINT lastId, BOOL force)
{
    pimpl->UISetRadioMenuItem(commandId, firstId, lastId, force != FALSE);
}
