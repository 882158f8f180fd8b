#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>

#include <boost/make_shared.hpp>

#include "framework/component_registration.h"
#include "program_settings_fixture.h"

namespace {

std::string Bytes(const void* data, size_t size)
{
    return std::string(static_cast<const char*>(data), size);
}

// Counts how often it is told about a name.
struct ChangeCounter {
    void operator()(const std::wstring& name) { names.push_back(name); }
    std::vector<std::wstring> names;
};

} // namespace

TEST_F(ProgramSettingsTest, LivesUnderTheCompanyAndProductKeyOfTheCurrentUser)
{
    EXPECT_EQ(TestKeyPath(), Settings()->GetRegistryKeyPath());
    ASSERT_TRUE(Settings()->SetInt(L"Controls\\12\\Column00", 80));
    EXPECT_EQ(REG_DWORD, StoredRaw(TestKeyPath() + L"\\Controls\\12", L"Column00").first);
}

TEST_F(ProgramSettingsTest, KeepsEachTypeBitForBitInItsOwnRegistryType)
{
    const boost::shared_ptr<IOxProgramSettings> settings = Settings();
    for (int value : {INT_MIN, -1, 0, 1, INT_MAX}) {
        ASSERT_TRUE(settings->SetInt(L"Number", value));
        EXPECT_EQ(value, settings->GetInt(L"Number", 12345));
    }
    EXPECT_EQ(REG_DWORD, StoredRaw(TestKeyPath(), L"Number").first);

    const float floats[] = {3.14159f, -0.0f, std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()};
    for (float value : floats) {
        ASSERT_TRUE(settings->SetFloat(L"Ratio", value));
        const float read = settings->GetFloat(L"Ratio", 1.0f);
        EXPECT_EQ(Bytes(&value, sizeof(value)), Bytes(&read, sizeof(read)));
        EXPECT_EQ(std::make_pair(DWORD(REG_BINARY), Bytes(&value, sizeof(value))), StoredRaw(TestKeyPath(), L"Ratio"));
    }

    for (const std::wstring& text : {std::wstring(), std::wstring(L"eng"), std::wstring(L"\u00e9t\u00e9 \u65e5\u672c \U0001F600")}) {
        ASSERT_TRUE(settings->SetString(L"Language\\Current", text));
        EXPECT_EQ(text, settings->GetString(L"Language\\Current", L"default"));
    }
    EXPECT_EQ(REG_SZ, StoredRaw(TestKeyPath() + L"\\Language", L"Current").first);

    const std::vector<std::wstring> list{L"first", L"second text", L"\u00fcber"};
    ASSERT_TRUE(settings->SetStringList(list, L"Recent"));
    std::vector<std::wstring> readList{L"stale"};
    ASSERT_TRUE(settings->GetStringList(readList, L"Recent"));
    EXPECT_EQ(list, readList);
    EXPECT_EQ(REG_MULTI_SZ, StoredRaw(TestKeyPath(), L"Recent").first);

    std::string binary;
    for (int i = 0; i < 256; ++i)
        binary.push_back(static_cast<char>(i));
    for (const std::string& value : {binary, std::string()}) {
        ASSERT_TRUE(settings->SetBinary(L"Blob", value));
        EXPECT_EQ(value, settings->GetBinary(L"Blob", "default"));
        EXPECT_EQ(std::make_pair(DWORD(REG_BINARY), value), StoredRaw(TestKeyPath(), L"Blob"));
    }
}

TEST_F(ProgramSettingsTest, AnswersTheDefaultForEveryTypeMismatch)
{
    const DWORD number = 7;
    const wchar_t text[] = L"text";
    const wchar_t list[] = L"a\0b\0";
    const BYTE four[] = {1, 2, 3, 4};
    StoreRaw(L"Dword", REG_DWORD, &number, sizeof(number));
    StoreRaw(L"Sz", REG_SZ, text, sizeof(text));
    StoreRaw(L"MultiSz", REG_MULTI_SZ, list, sizeof(list));
    StoreRaw(L"Binary", REG_BINARY, four, sizeof(four));

    const boost::shared_ptr<IOxProgramSettings> settings = Settings();
    for (const wchar_t* name : {L"Sz", L"MultiSz", L"Binary", L"Missing"})
        EXPECT_EQ(5, settings->GetInt(name, 5)) << name;
    for (const wchar_t* name : {L"Dword", L"MultiSz", L"Binary", L"Missing"})
        EXPECT_EQ(L"default", settings->GetString(name, L"default")) << name;
    for (const wchar_t* name : {L"Dword", L"Sz", L"MultiSz", L"Missing"}) {
        EXPECT_EQ("default", settings->GetBinary(name, "default")) << name;
        EXPECT_EQ(2.5f, settings->GetFloat(name, 2.5f)) << name;
    }
    for (const wchar_t* name : {L"Dword", L"Sz", L"Binary", L"Missing"}) {
        std::vector<std::wstring> untouched{L"kept"};
        EXPECT_FALSE(settings->GetStringList(untouched, name)) << name;
        EXPECT_EQ(std::vector<std::wstring>{L"kept"}, untouched) << name;
    }
    EXPECT_TRUE(settings->SetInt(L"Sz", 9)) << "a write replaces a value of another type";
    EXPECT_EQ(9, settings->GetInt(L"Sz", 5));
}

TEST_F(ProgramSettingsTest, ReadsShortAndOddValuesSafely)
{
    const boost::shared_ptr<IOxProgramSettings> settings = Settings();
    const BYTE bytes[] = {0x41, 0x00, 0x42, 0x00, 0x43};
    StoreRaw(L"NoBytes", REG_SZ, nullptr, 0);
    StoreRaw(L"OneByte", REG_SZ, bytes, 1);
    StoreRaw(L"OddBytes", REG_SZ, bytes, 5);
    StoreRaw(L"Unterminated", REG_SZ, bytes, 4);
    EXPECT_EQ(L"", settings->GetString(L"NoBytes", L"default")) << "no data is the empty text";
    EXPECT_EQ(L"default", settings->GetString(L"OneByte", L"default"));
    EXPECT_EQ(L"default", settings->GetString(L"OddBytes", L"default"));
    EXPECT_EQ(L"default", settings->GetString(L"Unterminated", L"default"));

    for (DWORD size : {3u, 5u}) {
        StoreRaw(L"Ratio", REG_BINARY, bytes, size);
        EXPECT_EQ(2.5f, settings->GetFloat(L"Ratio", 2.5f)) << size << " bytes";
    }

    ASSERT_TRUE(settings->SetStringList(std::vector<std::wstring>(), L"Empty"));
    EXPECT_EQ(std::make_pair(DWORD(REG_MULTI_SZ), std::string(2, '\0')), StoredRaw(TestKeyPath(), L"Empty"));
    std::vector<std::wstring> list{L"stale"};
    EXPECT_TRUE(settings->GetStringList(list, L"Empty"));
    EXPECT_TRUE(list.empty());

    const wchar_t gap[] = L"first\0\0third\0";
    StoreRaw(L"Gap", REG_MULTI_SZ, gap, sizeof(gap));
    EXPECT_TRUE(settings->GetStringList(list, L"Gap"));
    EXPECT_EQ(std::vector<std::wstring>{L"first"}, list) << "an empty text ends the list";
}

TEST_F(ProgramSettingsTest, TellsWatchersOnlyAboutWritesThatChangeTheirValue)
{
    const boost::shared_ptr<IOxProgramSettings> settings = Settings();
    ASSERT_TRUE(settings->SetInt(L"Skin\\Level", 1));
    const boost::shared_ptr<ChangeCounter> counter = boost::make_shared<ChangeCounter>();
    settings->WatchSetting(SettingChangedSignal::slot_type(&ChangeCounter::operator(), counter.get(), boost::placeholders::_1).track(counter),
                           L"Skin\\Level");

    EXPECT_TRUE(settings->SetInt(L"Skin\\Level", 1)) << "the value is already there";
    EXPECT_TRUE(counter->names.empty());
    EXPECT_TRUE(settings->SetInt(L"Skin\\Level", 2));
    EXPECT_EQ(std::vector<std::wstring>{L"Skin\\Level"}, counter->names);
    EXPECT_TRUE(settings->SetInt(L"skin\\level", 3)) << "the registry ignores case";
    EXPECT_EQ(3, settings->GetInt(L"Skin\\Level", 0));
    EXPECT_EQ(1u, counter->names.size()) << "watched names do not";
    EXPECT_TRUE(settings->SetStringList({L"x"}, L"Skin\\Level"));
    EXPECT_EQ(2u, counter->names.size()) << "lists are not compared";
}

TEST_F(ProgramSettingsTest, WritesUnwatchedValuesWithoutComparing)
{
    // A REG_EXPAND_SZ reads as the same text, so only a write turns it into REG_SZ.
    const wchar_t text[] = L"Classic Windows";
    StoreRaw(L"Unwatched", REG_EXPAND_SZ, text, sizeof(text));
    StoreRaw(L"Watched", REG_EXPAND_SZ, text, sizeof(text));
    const boost::shared_ptr<IOxProgramSettings> settings = Settings();
    settings->WatchSetting([](const std::wstring&) {}, L"Watched");
    EXPECT_TRUE(settings->SetString(L"Unwatched", text));
    EXPECT_TRUE(settings->SetString(L"Watched", text));
    EXPECT_EQ(DWORD(REG_SZ), StoredRaw(TestKeyPath(), L"Unwatched").first);
    EXPECT_EQ(DWORD(REG_EXPAND_SZ), StoredRaw(TestKeyPath(), L"Watched").first);
}

TEST_F(ProgramSettingsTest, ForgetsWatchersWhoseObjectsAreGoneEvenWhileBeingNotified)
{
    const boost::shared_ptr<IOxProgramSettings> settings = Settings();
    boost::shared_ptr<ChangeCounter> leaving = boost::make_shared<ChangeCounter>();
    int calls = 0;
    // Its object goes while it is notified, and it watches anew, which prunes its own entry.
    settings->WatchSetting(SettingChangedSignal::slot_type([&](const std::wstring&) {
                               ++calls;
                               leaving.reset();
                               settings->WatchSetting([](const std::wstring&) {}, L"Other");
                           }).track(leaving),
                           L"Value");
    EXPECT_TRUE(settings->SetInt(L"Value", 1));
    EXPECT_EQ(1, calls);
    EXPECT_TRUE(settings->SetInt(L"Value", 2));
    EXPECT_EQ(1, calls) << "a watcher whose object is gone was told again";
}

TEST_F(ProgramSettingsTest, UsesTheLocalMachineWhenCurrentUserIsOff)
{
    InitParamsOf<IOxProgramSettings>(&manager)->SetIntParam("CurrentUser", 0);
    const boost::shared_ptr<IOxProgramSettings> settings = Settings();
    const bool written = settings->SetInt(L"Machine", 11);
    DWORD value = 0;
    DWORD size = sizeof(value);
    const bool onMachine = ::RegGetValueW(HKEY_LOCAL_MACHINE, TestKeyPath().c_str(), L"Machine", RRF_RT_REG_DWORD, nullptr,
                                          &value, &size) == ERROR_SUCCESS;
    EXPECT_EQ(written, onMachine) << "a write reports where it went";
    EXPECT_EQ(0u, StoredRaw(TestKeyPath(), L"Machine").first) << "nothing goes to the current user";
    if (onMachine) {
        EXPECT_EQ(11u, value);
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, TestKeyPath().c_str());
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, TestKeyPath().c_str());
    }
}
