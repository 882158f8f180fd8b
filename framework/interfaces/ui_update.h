// "OxUiUpdate": enabled, checked and radio states of commands pushed to menus, toolbars,
// status bars and child controls when the message loop is idle, and accelerator texts in menus.
#pragma once

#include <string>

#include <windows.h>

#include "framework/interface_ptr.h"
#include "platform/message_loop.h"

class IOxUiUpdate {
public:
    // What a component of this kind is handed out as.
    typedef IOxUiUpdate Interface;

    // An empty text removes the command's entry.
    virtual void SetAccelText(UINT commandId, const std::wstring& text) = 0;
    virtual void BuildAccelTexts(HACCEL accelerators) = 0;
    virtual void ClearAccelTexts() = 0;
    virtual void HookMenuWindow(HWND window) = 0;
    virtual void AddToolBar(HWND toolBar) = 0;
    virtual void AddChildWindowContainer(HWND window) = 0;
    virtual void RemoveUpdateElement(WORD commandId) = 0;
    // Registers for idle processing with loop; null unregisters from the loop registered before.
    virtual void SetMessageLoop(vantor::CMessageLoop* loop) = 0;
    virtual void UpdateAll(BOOL force) = 0;
    virtual void AddUpdateElement(UINT commandId, WORD elementTypes) = 0;
    virtual void EnableCommand(UINT commandId, BOOL enable, BOOL force) = 0;
    virtual void CheckCommand(UINT commandId, BOOL check, BOOL force) = 0;
    virtual void SetRadioCommand(UINT commandId, UINT firstId, UINT lastId, BOOL force) = 0;

protected:
    ~IOxUiUpdate() = default;
};

class OxUiUpdateEmpty : public IOxUiUpdate {
public:
    explicit OxUiUpdateEmpty(IOxQueryInterface*) {}

    void SetAccelText(UINT, const std::wstring&) override {}
    void BuildAccelTexts(HACCEL) override {}
    void ClearAccelTexts() override {}
    void HookMenuWindow(HWND) override {}
    void AddToolBar(HWND) override {}
    void AddChildWindowContainer(HWND) override {}
    void RemoveUpdateElement(WORD) override {}
    void SetMessageLoop(vantor::CMessageLoop*) override {}
    void UpdateAll(BOOL) override {}
    void AddUpdateElement(UINT, WORD) override {}
    void EnableCommand(UINT, BOOL, BOOL) override {}
    void CheckCommand(UINT, BOOL, BOOL) override {}
    void SetRadioCommand(UINT, UINT, UINT, BOOL) override {}
};

OX_BIND_INTERFACE(IOxUiUpdate, "OxUiUpdate", OxUiUpdateEmpty);
