#include <gtest/gtest.h>

#include "framework/interfaces/base_program_stuff.h"
#include "framework/interfaces/check_for_update.h"
#include "framework/interfaces/multi_language.h"
#include "framework/interfaces/multi_monitor.h"
#include "framework/interfaces/our_products.h"
#include "framework/interfaces/program_settings.h"
#include "framework/interfaces/ui_mgr.h"
#include "framework/interfaces/ui_update.h"
#include "framework/program_mgr.h"

// What the program relies on when a component is absent: harmless answers, outputs untouched.

TEST(NullClasses, AreWhatTheAccessorAnswersForEachNameKey)
{
    OxProgramMgr manager;
    EXPECT_TRUE(OxInterfacePtr<IOxBaseProgramStuff>(&manager, "GlobalUse").Get()->CheckSingleInstance());
    EXPECT_TRUE(OxInterfacePtr<IOxUiMgr>(&manager, "GlobalUse").Get()->LoadSkins());
    EXPECT_EQ(L"", OxInterfacePtr<IOxProgramSettings>(&manager, "GlobalUse").Get()->GetRegistryKeyPath());
    EXPECT_EQ(L"eng", OxInterfacePtr<IOxMultiLanguage>(&manager, "GlobalUse").Get()->GetCurrentLanguage().code);
    EXPECT_EQ(0, OxInterfacePtr<IOxMultiMonitor>(&manager, "GlobalUse").Get()->GetMonitorCount());
    EXPECT_EQ(L"", OxInterfacePtr<IOxOurProducts>(&manager, "GlobalUse").Get()->GetHelpUrl(0, ""));
    EXPECT_FALSE(OxInterfacePtr<IOxCheckForUpdate>(&manager, "GlobalUse").Get()->IsBusy());
    OxInterfacePtr<IOxUiUpdate>(&manager, "GlobalUse").Get()->SetMessageLoop(nullptr);
}

TEST(NullClasses, BaseProgramStuffStoresNothing)
{
    OxBaseProgramStuffEmpty stuff(nullptr);
    stuff.AttachMainWindow(::GetDesktopWindow());
    stuff.SetExitCode(7);
    EXPECT_EQ(nullptr, stuff.GetMainWindow());
    EXPECT_FALSE(stuff.IsMainThread());
    int exitCode = 42;
    EXPECT_FALSE(stuff.GetExitCode(&exitCode));
    EXPECT_EQ(42, exitCode);
    EXPECT_FALSE(stuff.ConnectCommandLine([](const std::vector<std::wstring>&) {}, ConnectAtBack).connected());
}

TEST(NullClasses, SettingsAnswerDefaultsAndLeaveOutputsAlone)
{
    OxProgramSettingsEmpty settings(nullptr);
    EXPECT_EQ(5, settings.GetInt(L"Skin\\Current", 5));
    EXPECT_EQ(1.5f, settings.GetFloat(L"Any", 1.5f));
    EXPECT_EQ(L"eng", settings.GetString(L"Language\\Current", L"eng"));
    EXPECT_EQ("raw", settings.GetBinary(L"Any", "raw"));
    EXPECT_FALSE(settings.SetInt(L"Any", 1));
    EXPECT_FALSE(settings.SetString(L"Any", L"x"));
    std::vector<std::wstring> list{L"kept"};
    EXPECT_FALSE(settings.GetStringList(list, L"Any"));
    EXPECT_EQ(std::vector<std::wstring>{L"kept"}, list);
    int showCommand = SW_SHOWNORMAL;
    settings.RestoreWindowPosition(L"Main", ::GetDesktopWindow(), &showCommand, false);
    EXPECT_EQ(SW_SHOWNORMAL, showCommand);
    EXPECT_EQ(L"C:\\folder", settings.GetDisplayName(L"C:\\folder"));
    EXPECT_EQ(L"", settings.GetRoamingDataFolder(L"sub", true));
}

TEST(NullClasses, UserInterfaceServicesFallBackToThePlainSystem)
{
    OxUiMgrEmpty uiMgr(nullptr);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), uiMgr.GetSkinSysColor(COLOR_BTNFACE));
    EXPECT_EQ(L"default", uiMgr.GetSkinString(L"key", L"default"));
    EXPECT_EQ(-1, uiMgr.DoModalCustomDialog(0, 1, 0));
    EXPECT_EQ(0, uiMgr.SkinMessageBox(L"text", MB_OK, nullptr, nullptr)) << "nothing is shown";
    std::vector<std::wstring> names{L"stale"};
    uiMgr.GetSkinNames(names);
    EXPECT_TRUE(names.empty());
    std::wstring current = L"stale";
    EXPECT_EQ(L"", uiMgr.GetCurrentSkin(current));
    EXPECT_EQ(nullptr, uiMgr.CreateBannerWindow(BannerInfo(), 1));
}

TEST(NullClasses, LanguagesHoldOnlyTheBuiltInEnglishAndFormatNothing)
{
    OxMultiLanguageEmpty languages(nullptr);
    ASSERT_EQ(1u, languages.GetLanguages().size());
    const LanguageInfo& english = languages.GetLanguages().front();
    EXPECT_EQ(L"English", english.displayName);
    EXPECT_EQ(L"en", english.shortCode);
    EXPECT_EQ(L"", english.packPath);
    EXPECT_EQ(nullptr, languages.GetResourceModule());
    std::wstring out = L"stale";
    EXPECT_EQ(L"", languages.FormatString(out, 100, L"%d items", 3));
    out = L"stale";
    EXPECT_EQ(L"", languages.FormatSize(out, 1536));
    std::wstring text = L"kept";
    EXPECT_FALSE(languages.LoadPackString(L"eng", 91, text));
    EXPECT_EQ(L"kept", text);
}

TEST(NullClasses, ProductsAndMonitorsKnowNothing)
{
    OxOurProductsEmpty products(nullptr);
    ProductMap map{{1, {"key", L"name"}}};
    products.GetProducts(map);
    EXPECT_TRUE(map.empty());
    std::wstring name = L"kept";
    int number = 9;
    EXPECT_FALSE(products.FindProduct("ZELK", name, &number));
    EXPECT_EQ(L"kept", name);
    EXPECT_EQ(9, number);

    OxMultiMonitorEmpty monitors(nullptr);
    RECT rect = {1, 2, 3, 4};
    monitors.GetMonitorRect(L"\\\\.\\DISPLAY1", &rect);
    EXPECT_EQ(1, rect.left);
    EXPECT_EQ(4, rect.bottom);
    EXPECT_EQ(nullptr, monitors.GetMonitorName(0));
}
