#include <gtest/gtest.h>

#include "desktop.h"
#include "program_run.h"
#include "services/single_instance_protocol.h"
#include "test_environment.h"

namespace {

const wchar_t ProgramSettingsKey[] = L"Software\\ZELK Soft\\ZELK Vantor Source\\Language";

std::wstring ConfiguredLanguage()
{
    wchar_t code[64] = L"";
    DWORD size = sizeof(code);
    if (::RegGetValueW(HKEY_CURRENT_USER, ProgramSettingsKey, L"Current", RRF_RT_REG_SZ, nullptr, code, &size) != ERROR_SUCCESS)
        return L"(none)";
    return code;
}

void Configure(const wchar_t* code)
{
    if (code == nullptr) {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, ProgramSettingsKey, L"Current");
        return;
    }
    ::RegSetKeyValueW(HKEY_CURRENT_USER, ProgramSettingsKey, L"Current", REG_SZ, code,
                      static_cast<DWORD>((wcslen(code) + 1) * sizeof(wchar_t)));
}

class ShippedLanguagePacks : public ::testing::Test {
protected:
    void SetUp() override
    {
        ChooseFixtureBehaviour(L"");
        ASSERT_TRUE(RegisterServer(StandInFilter));
    }
    void TearDown() override { Configure(nullptr); }
};

} // namespace

TEST_F(ShippedLanguagePacks, ChooseTheConfiguredLanguageOrEnglishAndGiveTheHiddenWindowItsMenu)
{
    struct Case {
        const wchar_t* configured;
        const wchar_t* chosen;
    };
    const Case cases[] = {{nullptr, L"eng"}, {L"deu", L"deu"}, {L"fra", L"fra"}, {L"xyz", L"eng"}};
    for (const Case& c : cases) {
        Configure(c.configured);
        ProgramRun program(L"vantor_source.exe");
        const HWND frame = WaitForWindow([&program] { return FindPropertyFrame(program.ProcessId()); });
        ASSERT_NE(nullptr, frame);
        const HWND dispatch = ::FindWindowW(DispatchWindowClassName, nullptr);
        ASSERT_NE(nullptr, dispatch);
        EXPECT_NE(nullptr, ::GetMenu(dispatch)) << "the menu comes from the loaded pack";
        PressButton(frame, IDCANCEL);
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(30000, &exitCode));
        EXPECT_EQ(0u, exitCode);
        EXPECT_EQ(c.chosen, ConfiguredLanguage()) << (c.configured != nullptr ? c.configured : L"(none)");
    }
}
