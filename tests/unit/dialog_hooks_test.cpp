#include <gtest/gtest.h>

#include <vector>

#include "desktop.h"
#include "test_support.h"
#include "ui/dialog_hooks.h"

namespace {

// A dialog template in memory: no menu, the default class, no title, no controls.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short x, short y) : words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0)
    {
        DLGTEMPLATE* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
        dialog->style = style;
        dialog->x = x;
        dialog->y = y;
        dialog->cx = 120;
        dialog->cy = 60;
    }
    HWND Create(HWND parent) const
    {
        return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                            parent, DialogProc, 0);
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
    std::vector<WORD> words;
};

const DWORD TopLevelStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

bool HasAppWindowStyle(HWND window)
{
    return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0;
}

} // namespace

TEST(DialogHooks, GiveTheFirstTopLevelDialogATaskbarButtonAndCentreItLeavingOthersAlone)
{
    const HWND host = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND child;
    HWND frame;
    HWND later;
    {
        const DialogCreateHook taskbarButton;
        const DialogActivateHook centring;
        EXPECT_TRUE(DialogCreateHook::IsInstalled());
        EXPECT_TRUE(DialogActivateHook::IsInstalled());

        child = DialogTemplate(WS_CHILD | DS_CONTROL, 0, 0).Create(host);
        frame = DialogTemplate(TopLevelStyle, 2, 2).Create(host);
        ::ShowWindow(frame, SW_SHOW);
        PumpMessages();
        later = DialogTemplate(TopLevelStyle, 4, 4).Create(frame);
        const RECT laterBefore = WindowRect(later);
        ::ShowWindow(later, SW_SHOW);
        PumpMessages();

        EXPECT_TRUE(HasAppWindowStyle(frame));
        const RECT area = WorkAreaOf(frame);
        const RECT placed = WindowRect(frame);
        EXPECT_EQ((area.left + area.right) / 2 - (placed.right - placed.left) / 2, placed.left);
        EXPECT_EQ((area.top + area.bottom) / 2 - (placed.bottom - placed.top) / 2, placed.top);

        EXPECT_FALSE(HasAppWindowStyle(child));
        EXPECT_FALSE(HasAppWindowStyle(later));
        const RECT laterAfter = WindowRect(later);
        EXPECT_EQ(laterBefore.left, laterAfter.left) << "a later dialog is not centred";
        EXPECT_EQ(laterBefore.top, laterAfter.top);
    }
    EXPECT_FALSE(DialogCreateHook::IsInstalled());
    EXPECT_FALSE(DialogActivateHook::IsInstalled());
    ::DestroyWindow(later);
    ::DestroyWindow(frame);
    ::DestroyWindow(host);
}

TEST(DialogHooks, ActAgainForTheFirstDialogOfTheNextInstallation)
{
    HWND dialogs[2];
    for (HWND& dialog : dialogs) {
        const DialogCreateHook taskbarButton;
        dialog = DialogTemplate(TopLevelStyle, 0, 0).Create(nullptr);
        ::ShowWindow(dialog, SW_SHOW);
        PumpMessages();
    }
    for (HWND dialog : dialogs) {
        EXPECT_TRUE(HasAppWindowStyle(dialog));
        ::DestroyWindow(dialog);
    }
}
