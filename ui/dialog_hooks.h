// Scope guards of two thread hooks on top-level dialogs. While a DialogCreateHook lives, the
// first top-level dialog created on this thread gets a taskbar button; while a
// DialogActivateHook lives, the first one activated is centred on its monitor's work area.
// Child dialogs and every later dialog are left alone. The hook state is process-wide: a guard
// installs its hook unless it is installed already, and removes it when the guard dies.
#pragma once

class DialogCreateHook {
public:
    DialogCreateHook();
    ~DialogCreateHook();
    DialogCreateHook(const DialogCreateHook&) = delete;
    DialogCreateHook& operator=(const DialogCreateHook&) = delete;

    static bool IsInstalled();
};

class DialogActivateHook {
public:
    DialogActivateHook();
    ~DialogActivateHook();
    DialogActivateHook(const DialogActivateHook&) = delete;
    DialogActivateHook& operator=(const DialogActivateHook&) = delete;

    static bool IsInstalled();
};
