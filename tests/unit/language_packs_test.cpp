#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <boost/make_shared.hpp>

#include "framework/component_registration.h"
#include "framework/program_mgr.h"
#include "localisation/language_pack.h"
#include "localisation/ox_multi_language.h"
#include "localisation/string_table.h"
#include "pack_folder.h"
#include "platform/app_module.h"
#include "shell/ox_program_info.h"
#include "version.h"

namespace {

const wchar_t CurrentLanguage[] = L"Language\\Current";

class LanguagePacksTest : public ::testing::Test {
protected:
    // Puts the packs in place; the component is built on the first use of Languages().
    void Install(const std::vector<std::wstring>& packs, bool withLangFolder = true)
    {
        manager.reset();
        folder.reset(new PackFolder(packs, withLangFolder));
        manager.reset(new OxProgramMgr);
        settings = boost::make_shared<InMemorySettings>();
        IOxProgramInfo_Add(manager.get(), folder->Program(), L"ZELKVS", L"ZELK Vantor Source", L"", L"ZELK Soft",
                           VANTOR_VERSION_TEXT, VANTOR_VERSION_MAJOR, VANTOR_VERSION_MINOR, VANTOR_VERSION_PATCH);
        RegisterComponentInstance(manager.get(), settings, DependsOn<>());
        RegisterComponent<OxMultiLanguage>(manager.get(), DependsOn<IOxProgramSettings, IOxProgramInfo>());
    }
    void Configure(const std::wstring& code) { settings->texts[CurrentLanguage] = code; }
    void SetParam(const char* key, int value) { InitParamsOf<IOxMultiLanguage>(manager.get())->SetIntParam(key, value); }
    boost::shared_ptr<IOxMultiLanguage> Languages() { return OxInterfacePtr<IOxMultiLanguage>(manager.get(), "GlobalUse").Get(); }

    std::vector<std::wstring> Codes()
    {
        std::vector<std::wstring> codes;
        for (const LanguageInfo& language : Languages()->GetLanguages())
            codes.push_back(language.code);
        return codes;
    }
    std::wstring PackName(HMODULE pack)
    {
        std::wstring name;
        LoadTableString(pack, 91, name);
        return name;
    }

    // Declared first: the component, which holds packs, goes before their files.
    std::unique_ptr<PackFolder> folder;
    std::unique_ptr<OxProgramMgr> manager;
    boost::shared_ptr<InMemorySettings> settings;

    ~LanguagePacksTest() override
    {
        manager.reset();
        folder.reset();
    }
};

bool Contains(const std::vector<std::wstring>& list, const std::wstring& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

TEST_F(LanguagePacksTest, OffersOnlyTheBuiltInEnglishWithoutALangFolder)
{
    Install({}, false);
    ASSERT_EQ(1u, Languages()->GetLanguages().size());
    const LanguageInfo& english = Languages()->GetCurrentLanguage();
    EXPECT_EQ(L"English", english.displayName);
    EXPECT_EQ(L"eng", english.code);
    EXPECT_EQ(L"en", english.shortCode);
    EXPECT_EQ(L"", english.packPath);
    EXPECT_EQ(nullptr, Languages()->GetResourceModule());
    EXPECT_EQ(std::vector<std::wstring>{CurrentLanguage}, settings->reads);
    EXPECT_TRUE(settings->writes.empty());
}

TEST_F(LanguagePacksTest, PutsEnglishFirstAndLoadsItWhenNothingIsConfigured)
{
    Install({L"pack_deu.dll", L"pack_eng.dll", L"pack_fra.dll"});
    const LanguageList& languages = Languages()->GetLanguages();
    ASSERT_EQ(3u, languages.size());
    EXPECT_EQ(L"English", languages[0].displayName);
    EXPECT_EQ(L"eng", languages[0].code);
    EXPECT_EQ(L"en", languages[0].shortCode);
    EXPECT_EQ(L"lang\\pack_eng.dll", languages[0].packPath);
    EXPECT_TRUE(Contains(Codes(), L"deu") && Contains(Codes(), L"fra"));
    EXPECT_EQ(L"eng", Languages()->GetCurrentLanguage().code);
    EXPECT_EQ(L"English", PackName(Languages()->GetResourceModule()));
    EXPECT_EQ(std::vector<std::wstring>{L"Language\\Current=eng"}, settings->writes);
}

TEST_F(LanguagePacksTest, LoadsTheConfiguredLanguageOrFallsBackToEnglishThenToTheSmallestCode)
{
    struct Case {
        const wchar_t* configured;  // null: nothing configured
        std::vector<std::wstring> packs;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"deu", {L"pack_eng.dll", L"pack_deu.dll"}, L"deu"},
        {L"xyz", {L"pack_deu.dll", L"pack_eng.dll"}, L"eng"},
        {L"xyz", {L"pack_fra.dll", L"pack_deu.dll"}, L"deu"},
        {nullptr, {L"pack_fra.dll"}, L"fra"},
    };
    for (const Case& c : cases) {
        Install(c.packs);
        if (c.configured != nullptr)
            Configure(c.configured);
        EXPECT_EQ(c.expected, Languages()->GetCurrentLanguage().code) << (c.configured ? c.configured : L"(none)");
        EXPECT_EQ(std::wstring(L"Language\\Current=") + c.expected, settings->writes.back());
        EXPECT_EQ(Languages()->GetCurrentLanguage().displayName, PackName(Languages()->GetResourceModule()));
    }
}

TEST_F(LanguagePacksTest, SkipsFilesThatAreNotWholePacksOfThisProduct)
{
    Install({L"pack_other_product.dll", L"pack_without_name.dll", L"pack_without_code.dll", L"pack_without_product.dll",
             L"pack_without_short_code.dll", L"pack_malformed.dll", L"pack_deu.dll"});
    folder->AddLangFile(L"not_a_library.dll", "This is a text file, not a library.");
    folder->AddLangFile(L"truncated.dll", ReadFileStart(FixturePack(L"pack_eng.dll"), 1024));
    EXPECT_EQ(std::vector<std::wstring>{L"deu"}, Codes());
}

TEST_F(LanguagePacksTest, ListsOnlyTheFirstPackFoundForACode)
{
    Install({L"pack_eng.dll", L"pack_eng_again.dll"});
    ASSERT_EQ(std::vector<std::wstring>{L"eng"}, Codes());
    const std::wstring name = Languages()->GetCurrentLanguage().displayName;
    EXPECT_TRUE(name == L"English" || name == L"English again") << testing::PrintToString(name);
    EXPECT_EQ(name, PackName(Languages()->GetResourceModule()));
}

TEST_F(LanguagePacksTest, UsesNoPackWhenToldSo)
{
    Install({L"pack_eng.dll", L"pack_deu.dll"});
    SetParam("nodlls", 1);
    EXPECT_EQ(std::vector<std::wstring>{L"eng"}, Codes());
    EXPECT_EQ(L"", Languages()->GetCurrentLanguage().packPath);
    EXPECT_EQ(nullptr, Languages()->GetResourceModule());
    EXPECT_TRUE(settings->writes.empty());
}

TEST_F(LanguagePacksTest, NeverRunsCodeOfAPack)
{
    const wchar_t traceKey[] = L"Software\\ZELK Soft\\Pack Start-up Trace";
    ::RegDeleteKeyW(HKEY_CURRENT_USER, traceKey);
    Install({L"pack_trace.dll", L"pack_eng.dll"});
    Configure(L"trc");
    EXPECT_EQ(L"trc", Languages()->GetCurrentLanguage().code) << "the pack is listed and loaded";
    std::wstring text;
    EXPECT_TRUE(Languages()->LoadPackString(L"trc", 91, text));
    DWORD ran = 0;
    DWORD size = sizeof(ran);
    EXPECT_NE(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER, traceKey, L"Ran", RRF_RT_REG_DWORD, nullptr, &ran, &size))
        << "the pack's start-up code ran";

    // The trace does appear when the library is loaded as code.
    const HMODULE asCode = ::LoadLibraryW(folder->LangPath(L"pack_trace.dll").c_str());
    ASSERT_NE(nullptr, asCode);
    ::FreeLibrary(asCode);
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER, traceKey, L"Ran", RRF_RT_REG_DWORD, nullptr, &ran, &size));
    ::RegDeleteKeyW(HKEY_CURRENT_USER, traceKey);
}

TEST_F(LanguagePacksTest, MakesTheLoadedPackOrTheProgramTheResourceInstance)
{
    for (bool withPacks : {true, false}) {
        Install(withPacks ? std::vector<std::wstring>{L"pack_deu.dll"} : std::vector<std::wstring>{});
        vantor::CAppModule module;
        module.Init(nullptr, folder->Program(), nullptr);
        module.SetResourceInstance(nullptr);
        Languages()->SetAppModule(&module);
        EXPECT_EQ(withPacks ? Languages()->GetResourceModule() : folder->Program(), module.GetResourceInstance());
    }
}

TEST_F(LanguagePacksTest, SelectingALanguageSavesItAndAppliesItAtOnceOnlyWhenAskedTo)
{
    for (bool onTheFly : {false, true}) {
        Install({L"pack_eng.dll", L"pack_deu.dll"});
        SetParam("onfly", onTheFly ? 1 : 0);
        vantor::CAppModule module;
        Languages()->SetAppModule(&module);
        std::vector<std::string> events;
        const boost::signals2::scoped_connection changed = Languages()->ConnectLanguageChanged(
            [&events](int index) { events.push_back("changed " + std::to_string(index)); }, ConnectAtBack);
        const boost::signals2::scoped_connection reloaded =
            Languages()->ConnectResourcesReloaded([&events] { events.push_back("reloaded"); }, ConnectAtBack);

        const int german = Languages()->GetLanguages()[0].code == L"deu" ? 0 : 1;
        Languages()->SelectLanguage(1 - german);
        EXPECT_TRUE(events.empty()) << "selecting the current language changes nothing";
        for (int outOfRange : {-1, 2, 1000})
            Languages()->SelectLanguage(outOfRange);
        EXPECT_TRUE(events.empty());

        Languages()->SelectLanguage(german);
        EXPECT_EQ(L"deu", settings->texts[CurrentLanguage]);
        if (onTheFly) {
            EXPECT_EQ((std::vector<std::string>{"reloaded", "changed " + std::to_string(german)}), events);
            EXPECT_EQ(L"deu", Languages()->GetCurrentLanguage().code);
            EXPECT_EQ(L"Deutsch", PackName(Languages()->GetResourceModule()));
            EXPECT_EQ(Languages()->GetResourceModule(), module.GetResourceInstance());
        } else {
            EXPECT_EQ((std::vector<std::string>{"changed " + std::to_string(german)}), events);
            EXPECT_EQ(L"eng", Languages()->GetCurrentLanguage().code) << "the language changes with the next start";
            EXPECT_EQ(L"English", PackName(module.GetResourceInstance()));
        }
    }
}

TEST_F(LanguagePacksTest, FallsBackToTheBuiltInEnglishWhenARediscoveryFindsNoPack)
{
    Install({L"pack_eng.dll", L"pack_deu.dll"});
    Configure(L"deu");
    ASSERT_EQ(L"deu", Languages()->GetCurrentLanguage().code);
    SetParam("onfly", 1);
    SetParam("nodlls", 1);
    Languages()->SelectLanguage(Languages()->GetLanguages()[0].code == L"eng" ? 0 : 1);
    ASSERT_EQ(1u, Languages()->GetLanguages().size());
    EXPECT_EQ(L"English", Languages()->GetCurrentLanguage().displayName);
    EXPECT_EQ(L"", Languages()->GetCurrentLanguage().packPath);
    EXPECT_EQ(nullptr, Languages()->GetResourceModule());
}

TEST_F(LanguagePacksTest, ReadsStringsOfAnInstalledPackByCode)
{
    Install({L"pack_eng.dll", L"pack_deu.dll"});
    std::wstring text = L"kept";
    EXPECT_TRUE(Languages()->LoadPackString(L"deu", 91, text));
    EXPECT_EQ(L"Deutsch", text);
    EXPECT_TRUE(Languages()->LoadPackString(L"deu", 200, text));
    EXPECT_EQ(L"%d Dateien in %s", text);
    text = L"kept";
    EXPECT_FALSE(Languages()->LoadPackString(L"xyz", 91, text));
    EXPECT_FALSE(Languages()->LoadPackString(L"deu", 999, text));
    EXPECT_EQ(L"kept", text);
}

TEST_F(LanguagePacksTest, NamesTheConfiguredLanguageOrEnglishOrTheFirst)
{
    Install({L"pack_eng.dll", L"pack_fra.dll"});
    Configure(L"fra");
    EXPECT_EQ(L"fra", Languages()->GetConfiguredLanguage().code);
    settings->texts[CurrentLanguage] = L"xyz";
    EXPECT_EQ(L"eng", Languages()->GetConfiguredLanguage().code);

    Install({L"pack_deu.dll", L"pack_fra.dll"});
    Configure(L"deu");
    const boost::shared_ptr<IOxMultiLanguage> languages = Languages();
    settings->texts[CurrentLanguage] = L"xyz";
    EXPECT_EQ(&languages->GetLanguages().front(), &languages->GetConfiguredLanguage());
}

TEST_F(LanguagePacksTest, FormatsWithTheTextsAndUnitsOfTheLoadedPack)
{
    Install({L"pack_deu.dll"});
    std::wstring out;
    EXPECT_EQ(L"3 Dateien in C:\\", Languages()->FormatString(out, 200, L"%d files in %s", 3, L"C:\\"));
    EXPECT_EQ(L"2 files", Languages()->FormatString(out, 201, L"%d files", 2)) << "a missing id takes the default text";
    // A pack's text that would read other arguments than the program's own falls back to it.
    EXPECT_EQ(L"3 errors", Languages()->FormatString(out, 202, L"%d errors", 3)) << "a string for an int";
    EXPECT_EQ(L"3 errors in C:", Languages()->FormatString(out, 203, L"%d errors in %s", 3, L"C:")) << "read in another order";
    EXPECT_EQ(L"3 errors in C:", Languages()->FormatString(out, 204, L"%d errors in %s", 3, L"C:")) << "one more value";
    EXPECT_EQ(L"3 errors", Languages()->FormatString(out, 205, L"%d errors", 3)) << "unsigned for signed";
    EXPECT_EQ(L"4 Fehler", Languages()->FormatString(out, 205, L"%u errors", 4u)) << "the same arguments: the pack's text";
    EXPECT_EQ(L"512 Bytes", Languages()->FormatSize(out, 512));
    EXPECT_EQ(L"1.50 KB", Languages()->FormatSize(out, 1536));
    EXPECT_EQ(L"2.00 KB/s", Languages()->FormatSpeed(out, 2048));
    EXPECT_EQ(L"100 Bytes/s", Languages()->FormatSpeed(out, 100));
}

TEST_F(LanguagePacksTest, GivesNoUnitTextWhenThePacksUnitNamesAskForValues)
{
    Install({L"pack_printf_units.dll"});
    std::wstring out = L"stale";
    EXPECT_EQ(L"", Languages()->FormatSize(out, 512));
    EXPECT_EQ(L"", Languages()->FormatSize(out, 1 << 20));
    EXPECT_EQ(L"", Languages()->FormatSpeed(out, 2048));
}
