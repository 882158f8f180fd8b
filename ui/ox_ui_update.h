// The command UI update component: the states of commands pushed to menus, toolbars, status
// bars and child controls when the message loop is idle, accelerator texts written into the
// popup menus of hooked windows, and submenu items greyed when nothing inside is enabled.
#pragma once

#include <boost/shared_ptr.hpp>

#include "framework/interfaces/ui_update.h"

class OxUiUpdate : public IOxUiUpdate {
public:
    explicit OxUiUpdate(IOxQueryInterface* queryInterface);

    void SetAccelText(UINT commandId, const std::wstring& text) override;
    void BuildAccelTexts(HACCEL accelerators) override;
    void ClearAccelTexts() override;
    // Popup menus of the window are rewritten as they open; the window stays hooked until it
    // is destroyed.
    void HookMenuWindow(HWND window) override;
    void AddToolBar(HWND toolBar) override;
    void AddChildWindowContainer(HWND window) override;
    void RemoveUpdateElement(WORD commandId) override;
    void SetMessageLoop(vantor::CMessageLoop* loop) override;
    void UpdateAll(BOOL force) override;
    void AddUpdateElement(UINT commandId, WORD elementTypes) override;
    void EnableCommand(UINT commandId, BOOL enable, BOOL force) override;
    void CheckCommand(UINT commandId, BOOL check, BOOL force) override;
    void SetRadioCommand(UINT commandId, UINT firstId, UINT lastId, BOOL force) override;

    virtual ~OxUiUpdate();

    class impl;

private:
    boost::shared_ptr<impl> pimpl;
};
