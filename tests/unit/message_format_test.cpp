#include <gtest/gtest.h>

#include <climits>
#include <cstdarg>

#include <boost/make_shared.hpp>

#include "framework/component_registration.h"
#include "framework/program_mgr.h"
#include "localisation/message_format.h"
#include "localisation/ox_multi_language.h"
#include "pack_folder.h"
#include "shell/ox_program_info.h"
#include "version.h"

namespace {

std::wstring Format(const wchar_t* text, ...)
{
    va_list values;
    va_start(values, text);
    VariadicArguments arguments(values);
    const std::wstring formatted = FormatMessageText(text, arguments);
    va_end(values);
    return formatted;
}

// The language component of a program without packs.
class WithoutPacks : public ::testing::Test {
protected:
    WithoutPacks() : folder({}, false)
    {
        IOxProgramInfo_Add(&manager, folder.Program(), L"ZELKVS", L"ZELK Vantor Source", L"", L"ZELK Soft",
                           VANTOR_VERSION_TEXT, VANTOR_VERSION_MAJOR, VANTOR_VERSION_MINOR, VANTOR_VERSION_PATCH);
        RegisterComponentInstance(&manager, settings, DependsOn<>());
        RegisterComponent<OxMultiLanguage>(&manager, DependsOn<>());
    }
    boost::shared_ptr<IOxMultiLanguage> Languages() { return OxInterfacePtr<IOxMultiLanguage>(&manager, "GlobalUse").Get(); }

    PackFolder folder;
    boost::shared_ptr<InMemorySettings> settings = boost::make_shared<InMemorySettings>();
    OxProgramMgr manager;
};

} // namespace

TEST(MessageFormat, FormatsEachConversionFamily)
{
    EXPECT_EQ(L"3 items", Format(L"%d items", 3));
    EXPECT_EQ(L"-7|  42|42  |00042|+42", Format(L"%i|%4d|%-4d|%05d|%+d", -7, 42, 42, 42, 42));
    EXPECT_EQ(L"4294967295 ff FF 10", Format(L"%u %x %X %o", 0xFFFFFFFFu, 255u, 255u, 8u));
    EXPECT_EQ(L"3.14 1.234500e+03 1.234500E+03 0.5", Format(L"%.2f %e %E %g", 3.14159, 1234.5, 1234.5, 0.5));
    EXPECT_EQ(L"one and two", Format(L"%s and %S", L"one", L"two"));
    EXPECT_EQ(L"(null)", Format(L"%s", static_cast<const wchar_t*>(nullptr)));
    EXPECT_EQ(L"%ld", Format(L"%%ld"));
}

TEST(MessageFormat, CharacterItemsTakeTheirArgument)
{
    EXPECT_EQ(L"ok", Format(L"%c%c", L'o', L'k'));
    EXPECT_EQ(L"x is 5, y", Format(L"%c is %d, %s", L'x', 5, L"y"));
}

TEST(MessageFormat, SkipsDoublePercentSigns)
{
    EXPECT_EQ(L"100% done: 5", Format(L"100%% done: %d", 5));
    EXPECT_EQ(L"%d", Format(L"%%d"));
}

TEST(MessageFormat, BindsPositionalItemsToTheirNumbersInTheOrderOfTheText)
{
    EXPECT_EQ(L"b a", Format(L"%2$s %1$s", L"b", L"a"));
    EXPECT_EQ(L"x-y", Format(L"%1$s-%2$s", L"x", L"y"));
}

TEST(MessageFormat, GivesAnEmptyTextForMixedItemsAndBadFormats)
{
    const wchar_t* const broken[] = {
        L"%1$d %d",    // positional, then sequential
        L"%d %2$d",    // sequential, then positional
        L"%1$d %3$d",  // item 2 never given
        L"%99999999999$d",
        L"50%",
    };
    for (const wchar_t* text : broken)
        EXPECT_EQ(L"", Format(text, 1, 2, 3)) << text;
}

// Boost.Format reads "%T%" as a tabulation filled with "%", counts one item too few for "%T%%T"
// and writes past its items; huge widths pad a message to gigabytes.
TEST(MessageFormat, RefusesItemsBeyondItsPatternAndOversizedNumbers)
{
    const wchar_t* const refused[] = {
        L"%T%%T", L"%T.", L"%1%", L"%|5|", L"%n", L"%5000d", L"%.5000f", L"%5000$d", L"%1$d %1025$d",
        L"%-_5d", L"%1$-0_5d", L"%=-5d", L"%_=5d",
    };
    for (const wchar_t* text : refused)
        EXPECT_EQ(L"", Format(text, 1, 2.5, 3)) << testing::PrintToString(std::wstring(text));
    EXPECT_EQ(1024u, Format(L"%1024d", 1).size()) << "the largest width";
    EXPECT_EQ(L"1.50", Format(L"%1$.2f", 1.5));
    EXPECT_EQ(L"1    ", Format(L"%-05d", 1)) << "one alignment, with zeros that it overrides";
}

TEST(MessageFormat, ReadsNoArgumentForATextWithoutItemsAndIgnoresSpareOnes)
{
    EXPECT_EQ(L"no items", Format(L"no items"));
    EXPECT_EQ(L"1", Format(L"%d", 1, 2, 3));
}

TEST(MessageFormat, RefusesItemsWhenNoArgumentsAreGiven)
{
    NoArguments none;
    EXPECT_EQ(L"bytes KB", FormatMessageText(L"bytes KB", none));
    EXPECT_EQ(L"", FormatMessageText(L"%s KB", none));
}

TEST(MessageFormat, TellsWhichValuesATextReadsInTheOrderItReadsThem)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* kinds;
    };
    const Case cases[] = {
        {L"no items, 100%%", L""},         {L"%d files in %s", L"is"},    {L"%2$s: %1$d", L"si"},
        {L"%c %C %p %i", L"iiii"},         {L"%u %o %x %X", L"uuuu"},     {L"%e %.2f %g %E %G", L"ddddd"},
        {L"%-10S|%ls", L"ss"},
    };
    for (const Case& text : cases)
        EXPECT_EQ(text.kinds, ItemArgumentKinds(text.text)) << testing::PrintToString(std::wstring(text.text));
}

TEST(MessageFormat, SplitsUnitNamesAtEveryWhiteSpace)
{
    EXPECT_EQ(L"1.50 ", FormatUnits(1536, L"bytes  KB"));
    EXPECT_EQ(L"2.00 KB", FormatUnits(2048, L"bytes\tKB"));
}

TEST_F(WithoutPacks, FormatsSizesAndSpeedsInStepsOf1024)
{
    struct Case {
        LONGLONG value;
        const wchar_t* size;
    };
    const LONGLONG terabyte = 1024LL * 1024 * 1024 * 1024;
    const Case cases[] = {
        {0, L"0 bytes"},
        {1024, L"1024 bytes"},
        {1025, L"1.00 KB"},
        {1536, L"1.50 KB"},
        {1048575, L"1023.99 KB"},
        {1048576, L"1024.00 KB"},
        {1536 * 1024, L"1.50 MB"},
        {-5, L"-5 bytes"},
        {LLONG_MIN, L"-9223372036854775808 bytes"},
        {1024 * terabyte, L"1024.00 TB"},
        {1536 * terabyte, L""},
        {LLONG_MAX, L""},
    };
    std::wstring out;
    for (const Case& c : cases)
        EXPECT_EQ(c.size, Languages()->FormatSize(out, c.value)) << c.value;
    EXPECT_EQ(L"2.00 KB/s", Languages()->FormatSpeed(out, 2048));
    EXPECT_EQ(L"100 bytes/sec", Languages()->FormatSpeed(out, 100));
    EXPECT_EQ(L"1024.00 TB/s", Languages()->FormatSpeed(out, 1024 * terabyte));
    out = L"stale";
    EXPECT_EQ(L"", Languages()->FormatReservedValue(out, 12345));
}

TEST_F(WithoutPacks, FormatsMessagesFromTheDefaultTextWhenNoPackHasThem)
{
    std::wstring out;
    EXPECT_EQ(L"3 files in C:\\", Languages()->FormatString(out, 200, L"%d files in %s", 3, L"C:\\"));
    EXPECT_EQ(L"", Languages()->FormatString(out, 200, L"%1$d %d", 1, 2));
}
