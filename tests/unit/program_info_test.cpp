#include <gtest/gtest.h>

#include "framework/program_mgr.h"
#include "shell/ox_program_info.h"

namespace {

OxProgramInfo ThisProgram()
{
    return OxProgramInfo(nullptr, L"ZELKVS", L"ZELK Vantor Source", L"", L"ZELK Soft", L"1.0.4", 1, 0, 4);
}

} // namespace

TEST(ProgramInfo, ComparesVersionsMajorFirst)
{
    struct Case {
        int major, minor, build, expected;
    };
    const Case cases[] = {
        {1, 0, 4, 0}, {1, 0, 5, 1}, {2, 0, 0, 1}, {1, 1, 0, 1}, {1, 0, 3, -1}, {0, 9, 9, -1}, {-1, 0, 4, -1},
    };
    const OxProgramInfo info = ThisProgram();
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, info.CompareVersion(c.major, c.minor, c.build)) << c.major << "." << c.minor << "." << c.build;
}

TEST(ProgramInfo, ComparesVersionTextsOfThreeDecimalPieces)
{
    struct Case {
        const wchar_t* text;
        bool parses;
        int expected;
    };
    const Case cases[] = {
        {L"1.0.4", true, 0},
        {L"1.1.0", true, 1},
        {L"1.0.3", true, -1},
        {L"01.00.0004", true, 0},
        {L"99999999999.0.0", true, 1},  // saturates at the 32-bit limit
        {L"1.0", false, 0},
        {L"1..4", false, 0},
        {L"1.0.4.2", false, 0},
        {L"1.0.4a", false, 0},
        {L"1.x.4", false, 0},
        {L".0.4", false, 0},
        {L"1.0.", false, 0},
        {L"1.0.-4", false, 0},
        {L"", false, 0},
    };
    const OxProgramInfo info = ThisProgram();
    for (const Case& c : cases) {
        bool parsed = !c.parses;
        EXPECT_EQ(c.expected, info.CompareVersionText(c.text, &parsed)) << c.text;
        EXPECT_EQ(c.parses, parsed) << c.text;
        EXPECT_EQ(c.expected, info.CompareVersionText(c.text, nullptr)) << c.text;
    }
}

TEST(ProgramInfo, NullIdentityAnswersNeutralValuesAndLeavesTheFlagAlone)
{
    OxProgramInfoEmpty empty(nullptr);
    EXPECT_STREQ(L"0.0.0", empty.GetVersionText());
    EXPECT_EQ(L"", empty.GetFullName());
    bool parsed = true;
    EXPECT_EQ(0, empty.CompareVersionText(L"1.0.4", &parsed));
    EXPECT_TRUE(parsed);
}
