#include "ui/dialog_hooks.h"

#include <cwchar>

#include "platform/scoped_resource.h"
#include "platform/window.h"

namespace {

struct HookState {
    vantor::ScopedHook hook;
    bool done = false;
};

HookState createHook;
HookState activateHook;
// The window the create hook gave a taskbar button, until its first activation.
HWND styledWindow = nullptr;

// The window has not been acted on yet and is a top-level window of the dialog class.
bool IsFirstTopLevelDialog(HWND window, const HookState& state)
{
    if ((::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) || state.done)
        return false;
    // Seven characters: any class name starting with "#32770" matches.
    wchar_t className[7];
    return ::GetClassNameW(window, className, 7) != 0 && std::wcscmp(className, L"#32770") == 0;
}

void AddAppWindowStyle(HWND window)
{
    const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    if ((exStyle | WS_EX_APPWINDOW) != exStyle)
        ::SetWindowLongW(window, GWL_EXSTYLE, exStyle | WS_EX_APPWINDOW);
}

LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && IsFirstTopLevelDialog(window, createHook)) {
        createHook.done = true;
        AddAppWindowStyle(window);
        styledWindow = window;
    } else if (code == HCBT_ACTIVATE && window != nullptr && window == styledWindow) {
        // Wine drops extended styles set while a window is being created; give it back.
        styledWindow = nullptr;
        AddAppWindowStyle(window);
    }
    return ::CallNextHookEx(createHook.hook.Get(), code, wParam, lParam);
}

LRESULT CALLBACK ActivateHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && IsFirstTopLevelDialog(window, activateHook)) {
        activateHook.done = true;
        vantor::CWindow(window).CenterWindow();
    }
    return ::CallNextHookEx(activateHook.hook.Get(), code, wParam, lParam);
}

void Install(HookState& state, HOOKPROC procedure)
{
    if (!state.hook)
        state.hook.Reset(::SetWindowsHookExW(WH_CBT, procedure, ::GetModuleHandleW(nullptr), ::GetCurrentThreadId()));
    state.done = false;
}

} // namespace

DialogCreateHook::DialogCreateHook()
{
    Install(createHook, CreateHookProc);
    styledWindow = nullptr;
}

DialogCreateHook::~DialogCreateHook()
{
    createHook.hook.Reset();
}

bool DialogCreateHook::IsInstalled()
{
    return createHook.hook.IsValid();
}

DialogActivateHook::DialogActivateHook()
{
    Install(activateHook, ActivateHookProc);
}

DialogActivateHook::~DialogActivateHook()
{
    activateHook.hook.Reset();
}

bool DialogActivateHook::IsInstalled()
{
    return activateHook.hook.IsValid();
}
