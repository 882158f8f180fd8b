// "OxCheckForUpdate": an update check. This program has none: its null class always answers.
#pragma once

#include <windows.h>

#include "framework/interface_ptr.h"

class IOxCheckForUpdate {
public:
    // What a component of this kind is handed out as.
    typedef IOxCheckForUpdate Interface;

    virtual void CheckNow() = 0;
    virtual void SetOwnerWindow(HWND owner) = 0;
    virtual void SetOption(DWORD option) = 0;
    virtual bool IsBusy() = 0;

protected:
    ~IOxCheckForUpdate() = default;
};

class OxCheckForUpdateEmpty : public IOxCheckForUpdate {
public:
    explicit OxCheckForUpdateEmpty(IOxQueryInterface*) {}

    void CheckNow() override {}
    void SetOwnerWindow(HWND) override {}
    void SetOption(DWORD) override {}
    bool IsBusy() override { return false; }
};

OX_BIND_INTERFACE(IOxCheckForUpdate, "OxCheckForUpdate", OxCheckForUpdateEmpty);
