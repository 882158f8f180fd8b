#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "framework/component_registration.h"
#include "framework/program_mgr.h"
#include "freed_memory_watch.h"
#include "platform/dynamic_update_ui.h"
#include "test_support.h"
#include "ui/ox_ui_update.h"

namespace {

enum : UINT {
    SaveId = 101,
    OpenId,
    TabFirstId,
    OldAccelId,
    DisabledId,
    CheckedId,
    RadioFirstId,
    RadioSecondId,
    ButtonId = 201,
    OtherButtonId,
    CheckBoxId = 301,
};

// The whole text, so that no cut made by the component goes unseen.
std::wstring ItemText(HMENU menu, int position)
{
    const int length = ::GetMenuStringW(menu, position, nullptr, 0, MF_BYPOSITION);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int read = ::GetMenuStringW(menu, position, &text[0], length + 1, MF_BYPOSITION);
    text.resize(static_cast<size_t>(read > 0 ? read : 0));
    return text;
}

bool ItemGreyed(HMENU menu, int position)
{
    return (::GetMenuState(menu, position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) != 0;
}

// A submenu nested depth levels deep whose innermost item is greyed.
HMENU GreyedNest(int depth)
{
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING | MF_GRAYED, 999, L"greyed");
    for (int level = 1; level < depth; ++level) {
        const HMENU outer = ::CreatePopupMenu();
        ::AppendMenuW(outer, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), L"deeper");
        menu = outer;
    }
    return menu;
}

void CALLBACK QuitTheLoop(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    ::PostQuitMessage(0);
}

class UiUpdateTest : public ::testing::Test {
protected:
    UiUpdateTest() : window(RECT{0, 0, 300, 200}, WS_OVERLAPPEDWINDOW)
    {
        RegisterComponent<OxUiUpdate>(&manager, DependsOn<>());
    }
    ~UiUpdateTest() override { ::DestroyMenu(menu); }

    boost::shared_ptr<IOxUiUpdate> UiUpdate() { return OxInterfacePtr<IOxUiUpdate>(&manager, "GlobalUse").Get(); }

    // Sends the menu to the hooked window as the system does before showing it.
    void OpenPopup() { ::SendMessageW(window.window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0); }

    OxProgramMgr manager;
    TestWindow window;
    HMENU menu = ::CreatePopupMenu();
};

} // namespace

TEST_F(UiUpdateTest, PopupMenusShowTheAcceleratorsThatWork)
{
    InitParamsOf<IOxUiUpdate>(&manager)->SetIntParam("DynamicMenuAccel", 1);
    ::AppendMenuW(menu, MF_STRING, SaveId, L"Save\tCtrl+S");
    ::AppendMenuW(menu, MF_STRING, OpenId, L"Open");
    ::AppendMenuW(menu, MF_STRING, TabFirstId, L"\tStarts with a tab");
    ::AppendMenuW(menu, MF_STRING, OldAccelId, L"Old\tF4");
    ACCEL entries[] = {{FVIRTKEY | FCONTROL | FSHIFT, 'S', SaveId}, {FVIRTKEY | FCONTROL, 'O', OpenId},
                       {FVIRTKEY, VK_F3, TabFirstId}};
    const HACCEL table = ::CreateAcceleratorTableW(entries, 3);
    UiUpdate()->BuildAccelTexts(table);
    ::DestroyAcceleratorTable(table);
    UiUpdate()->HookMenuWindow(window.window);

    OpenPopup();
    EXPECT_EQ(L"Save\tCtrl+Shift+S", ItemText(menu, 0));
    EXPECT_EQ(L"Open\tCtrl+O", ItemText(menu, 1));
    EXPECT_EQ(L"\tStarts with a tab", ItemText(menu, 2)) << "left alone";
    EXPECT_EQ(L"Old", ItemText(menu, 3)) << "no accelerator: the old one goes";

    UiUpdate()->SetAccelText(OpenId, L"");
    UiUpdate()->SetAccelText(SaveId, L"F2");
    OpenPopup();
    EXPECT_EQ(L"Save\tF2", ItemText(menu, 0));
    EXPECT_EQ(L"Open", ItemText(menu, 1)) << "an empty text removes the accelerator";
    UiUpdate()->ClearAccelTexts();
    OpenPopup();
    EXPECT_EQ(L"Save", ItemText(menu, 0));
}

TEST_F(UiUpdateTest, LongItemTextsKeepEveryCharacter)
{
    manager.GetInitParam("OxUiUpdate")->SetIntParam("DynamicMenuAccel", 1);
    const std::wstring longText(1510, L'x');
    struct Case {
        const char* what;
        std::wstring text;
        std::wstring rewritten;
    };
    const Case cases[] = {
        {"an accelerator replaced", longText + L"\tCtrl+S", longText + L"\tCtrl+Shift+S"},
        {"an accelerator added", longText, longText + L"\tCtrl+Shift+S"},
        {"an accelerator far out", std::wstring(1200, L'y') + L"\tF4" + std::wstring(300, L'z'),
         std::wstring(1200, L'y') + L"\tCtrl+Shift+S"},
    };
    for (const Case& item : cases)
        ::AppendMenuW(menu, MF_STRING, SaveId, item.text.c_str());
    UiUpdate()->SetAccelText(SaveId, L"Ctrl+Shift+S");
    UiUpdate()->HookMenuWindow(window.window);
    ASSERT_EQ(cases[0].text, ItemText(menu, 0)) << "the menu keeps long texts";

    OpenPopup();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(cases[i].rewritten, ItemText(menu, i)) << cases[i].what;
}

TEST_F(UiUpdateTest, SubmenusWithNothingEnabledAreGreyedDownToTheEleventhLevel)
{
    struct Case {
        const char* what;
        HMENU submenu;
        bool greyed;
    };
    const HMENU withEnabled = ::CreatePopupMenu();
    ::AppendMenuW(withEnabled, MF_STRING | MF_GRAYED, 998, L"greyed");
    ::AppendMenuW(withEnabled, MF_STRING, 997, L"enabled");
    const Case cases[] = {
        {"only greyed items", GreyedNest(1), true},
        {"an enabled item", withEnabled, false},
        {"greyed eleven levels down", GreyedNest(11), true},
        {"greyed twelve levels down, beyond the look", GreyedNest(12), false},
    };
    for (const Case& submenu : cases)
        ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.submenu), L"submenu");
    ::AppendMenuW(menu, MF_STRING, OldAccelId, L"Old\tF4");
    UiUpdate()->HookMenuWindow(window.window);

    OpenPopup();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(cases[i].greyed, ItemGreyed(menu, i)) << cases[i].what;
    EXPECT_EQ(L"Old\tF4", ItemText(menu, 4)) << "texts stay as they are without \"DynamicMenuAccel\"";

    ::EnableMenuItem(withEnabled, 1, MF_BYPOSITION | MF_GRAYED);
    OpenPopup();
    EXPECT_TRUE(ItemGreyed(menu, 1)) << "greyed once its last enabled item is";
}

TEST_F(UiUpdateTest, PopupItemsTakeTheStatesOfTheirCommands)
{
    for (UINT id : {UINT(DisabledId), UINT(CheckedId), UINT(RadioFirstId), UINT(RadioSecondId)}) {
        ::AppendMenuW(menu, MF_STRING, id, L"item");
        UiUpdate()->AddUpdateElement(id, vantor::UPDUI_MENUPOPUP);
    }
    UiUpdate()->HookMenuWindow(window.window);
    UiUpdate()->EnableCommand(DisabledId, FALSE, FALSE);
    UiUpdate()->CheckCommand(CheckedId, TRUE, FALSE);
    UiUpdate()->SetRadioCommand(RadioFirstId, RadioFirstId, RadioSecondId, FALSE);
    UiUpdate()->SetRadioCommand(RadioSecondId, RadioFirstId, RadioSecondId, FALSE);

    OpenPopup();
    EXPECT_TRUE(ItemGreyed(menu, 0));
    EXPECT_TRUE(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(::GetMenuState(menu, 2, MF_BYPOSITION) & MF_CHECKED) << "the radio mark moved on";
    EXPECT_TRUE(::GetMenuState(menu, 3, MF_BYPOSITION) & MF_CHECKED);

    UiUpdate()->RemoveUpdateElement(DisabledId);
    UiUpdate()->EnableCommand(DisabledId, TRUE, TRUE);
    OpenPopup();
    EXPECT_TRUE(ItemGreyed(menu, 0)) << "a removed command is no longer updated";
}

TEST_F(UiUpdateTest, ToolBarsAndChildControlsFollowTheMarkedCommandsOrAllWhenForced)
{
    const HWND toolBar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | TBSTYLE_LIST, 0, 0, 200, 30,
                                           window.window, nullptr, nullptr, nullptr);
    ::SendMessageW(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[] = {{I_IMAGENONE, static_cast<int>(ButtonId), TBSTATE_ENABLED, BTNS_CHECK, {}, 0, 0},
                          {I_IMAGENONE, static_cast<int>(OtherButtonId), TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0}};
    ASSERT_TRUE(::SendMessageW(toolBar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons)));
    const HWND checkBox = ::CreateWindowExW(0, L"BUTTON", L"check", WS_CHILD | BS_AUTOCHECKBOX, 0, 40, 100, 20,
                                            window.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(CheckBoxId)),
                                            nullptr, nullptr);
    UiUpdate()->AddToolBar(toolBar);
    UiUpdate()->AddChildWindowContainer(window.window);
    UiUpdate()->AddUpdateElement(ButtonId, vantor::UPDUI_TOOLBAR);
    UiUpdate()->AddUpdateElement(OtherButtonId, vantor::UPDUI_TOOLBAR);
    UiUpdate()->AddUpdateElement(CheckBoxId, vantor::UPDUI_CHILDWINDOW);

    UiUpdate()->EnableCommand(ButtonId, FALSE, FALSE);
    UiUpdate()->CheckCommand(CheckBoxId, TRUE, FALSE);
    UiUpdate()->EnableCommand(CheckBoxId, FALSE, FALSE);
    EXPECT_TRUE(::SendMessageW(toolBar, TB_ISBUTTONENABLED, ButtonId, 0)) << "nothing changes before the update";
    UiUpdate()->UpdateAll(FALSE);
    EXPECT_FALSE(::SendMessageW(toolBar, TB_ISBUTTONENABLED, ButtonId, 0));
    EXPECT_FALSE(::IsWindowEnabled(checkBox));
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(checkBox, BM_GETCHECK, 0, 0));

    // Changed behind the component's back: only a forced update puts its states back.
    ::SendMessageW(toolBar, TB_ENABLEBUTTON, ButtonId, MAKELPARAM(TRUE, 0));
    ::SendMessageW(toolBar, TB_ENABLEBUTTON, OtherButtonId, MAKELPARAM(FALSE, 0));
    UiUpdate()->EnableCommand(ButtonId, FALSE, FALSE);
    UiUpdate()->UpdateAll(FALSE);
    EXPECT_TRUE(::SendMessageW(toolBar, TB_ISBUTTONENABLED, ButtonId, 0)) << "an unchanged state is not marked";
    UiUpdate()->UpdateAll(TRUE);
    EXPECT_FALSE(::SendMessageW(toolBar, TB_ISBUTTONENABLED, ButtonId, 0));
    EXPECT_TRUE(::SendMessageW(toolBar, TB_ISBUTTONENABLED, OtherButtonId, 0));

    UiUpdate()->CheckCommand(ButtonId, TRUE, TRUE);
    UiUpdate()->UpdateAll(FALSE);
    EXPECT_TRUE(::SendMessageW(toolBar, TB_ISBUTTONCHECKED, ButtonId, 0));
}

TEST_F(UiUpdateTest, TheMessageLoopUpdatesAtIdleTimeWhileItIsSet)
{
    const HWND checkBox = ::CreateWindowExW(0, L"BUTTON", L"check", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 100, 20,
                                            window.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(CheckBoxId)),
                                            nullptr, nullptr);
    UiUpdate()->AddChildWindowContainer(window.window);
    UiUpdate()->AddUpdateElement(CheckBoxId, vantor::UPDUI_CHILDWINDOW);
    const auto runBriefly = [](vantor::CMessageLoop& loop) {
        ::SetTimer(nullptr, 0, 100, QuitTheLoop);
        loop.Run();
    };

    vantor::CMessageLoop loop;
    UiUpdate()->SetMessageLoop(&loop);
    UiUpdate()->CheckCommand(CheckBoxId, TRUE, FALSE);
    runBriefly(loop);
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(checkBox, BM_GETCHECK, 0, 0)) << "updated while idle";

    UiUpdate()->SetMessageLoop(nullptr);
    UiUpdate()->CheckCommand(CheckBoxId, FALSE, FALSE);
    runBriefly(loop);
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(checkBox, BM_GETCHECK, 0, 0)) << "no longer registered";
}

TEST(UiUpdateMessageLoops, AComponentMovedToAnotherLoopIsNoLongerCalledByTheFirst)
{
    TestWindow window(RECT{0, 0, 300, 200}, WS_OVERLAPPEDWINDOW);
    const HWND checkBox = ::CreateWindowExW(0, L"BUTTON", L"check", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 100, 20,
                                            window.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(CheckBoxId)),
                                            nullptr, nullptr);
    const auto runBriefly = [](vantor::CMessageLoop& loop) {
        ::SetTimer(nullptr, 0, 100, QuitTheLoop);
        loop.Run();
    };
    vantor::CMessageLoop first;
    vantor::CMessageLoop second;
    const FreedMemoryWatch watch;
    {
        OxProgramMgr manager;
        manager.RegisterCreator("OxUiUpdate", OxObjDelayCreate<OxUiUpdate>(), DependencyList());
        const boost::shared_ptr<IOxUiUpdate> uiUpdate = OxInterfacePtr<IOxUiUpdate>(&manager, "GlobalUse").Get();
        uiUpdate->AddChildWindowContainer(window.window);
        uiUpdate->AddUpdateElement(CheckBoxId, vantor::UPDUI_CHILDWINDOW);
        uiUpdate->SetMessageLoop(&first);
        uiUpdate->SetMessageLoop(&second);
        uiUpdate->CheckCommand(CheckBoxId, TRUE, FALSE);
        runBriefly(first);
        EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(checkBox, BM_GETCHECK, 0, 0)) << "the first loop was left";
        runBriefly(second);
        EXPECT_EQ(BST_CHECKED, ::SendMessageW(checkBox, BM_GETCHECK, 0, 0)) << "the second loop updates";
    }
    runBriefly(first);
    runBriefly(second);
    EXPECT_LE(1u, watch.DeletedBlocks()) << "the component went while watched";
    EXPECT_EQ(0u, watch.TouchedAfterDelete()) << "no loop calls the gone component";
}

TEST(DynamicUpdateUi, StatusBarPanesShowTheTextsOfTheirCommands)
{
    struct UpdateUi : vantor::CDynamicUpdateUI {};
    TestWindow window(RECT{0, 0, 300, 200}, WS_OVERLAPPEDWINDOW);
    const HWND statusBar = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD, 0, 0, 0, 0, window.window, nullptr,
                                             nullptr, nullptr);
    int panes[] = {100, 200, -1};
    ::SendMessageW(statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(panes));
    UpdateUi updates;
    updates.UIAddStatusBar(statusBar);
    ASSERT_TRUE(updates.UIAddUpdateElement(1, vantor::UPDUI_STATUSBAR));
    EXPECT_FALSE(updates.UIAddUpdateElement(1, vantor::UPDUI_STATUSBAR)) << "registered once";
    EXPECT_TRUE(updates.UISetText(1, L"Ready"));
    EXPECT_FALSE(updates.UISetText(7, L"unknown"));
    updates.UIUpdateStatusBar();
    wchar_t text[64] = L"";
    ::SendMessageW(statusBar, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(L"Ready", text);
    EXPECT_EQ(vantor::UPDUI_TEXT, updates.UIGetState(1));
}
