#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/reg_key.h"

namespace {

// A key of its own under the current user, deleted afterwards.
class RegKeyTest : public ::testing::Test {
protected:
    RegKeyTest() : path(L"Software\\ZELK Soft\\RegKey Test " + std::to_wstring(::GetCurrentProcessId())) {}
    void SetUp() override { ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, path.c_str())); }
    void TearDown() override
    {
        key.Close();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
    }

    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
    {
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes));
    }

    std::wstring path;
    vantor::CRegKey key;
};

} // namespace

TEST_F(RegKeyTest, AFailedTypedQueryLeavesItsOutputsAsTheyWere)
{
    // The system counts in a terminator it finds right after a text's data; the guard keeps
    // this one unterminated.
    const wchar_t unterminated[] = {L'a', L'b', L'c', L'!'};
    SetRaw(L"Unterminated", REG_SZ, unterminated, 3 * sizeof(wchar_t));
    SetRaw(L"Number", REG_DWORD, "\x01\x00\x00\x00", 4);
    SetRaw(L"Text", REG_SZ, L"text", 5 * sizeof(wchar_t));

    // The buffer of the unterminated text fits the text and no terminator: with more room the
    // system would add one.
    struct Case {
        const wchar_t* name;
        ULONG bufferChars;
        LONG expected;
    };
    for (const Case& query : {Case{L"Unterminated", 3, ERROR_INVALID_DATA}, Case{L"Number", 8, ERROR_INVALID_DATA},
                              Case{L"Missing", 8, ERROR_FILE_NOT_FOUND}}) {
        wchar_t text[8] = L"kept";
        ULONG chars = query.bufferChars;
        EXPECT_EQ(query.expected, key.QueryStringValue(query.name, text, &chars)) << query.name;
        EXPECT_STREQ(L"kept", text) << query.name;
        EXPECT_EQ(query.bufferChars, chars) << query.name;
    }

    char bytes[16] = "kept";
    ULONG size = sizeof(bytes);
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryBinaryValue(L"Text", bytes, &size)) << "a text is no binary value";
    EXPECT_STREQ("kept", bytes);
    EXPECT_EQ(sizeof(bytes), size);

    wchar_t text[8] = L"";
    ULONG chars = 8;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue(L"Text", text, &chars));
    EXPECT_STREQ(L"text", text);
    EXPECT_EQ(5u, chars) << "with the terminator";
}

TEST_F(RegKeyTest, MovingHandsTheOpenKeyOver)
{
    const HKEY opened = key;
    vantor::CRegKey moved(std::move(key));
    EXPECT_EQ(opened, static_cast<HKEY>(moved));
    EXPECT_EQ(nullptr, static_cast<HKEY>(key));
    EXPECT_EQ(ERROR_SUCCESS, moved.SetDWORDValue(L"Moved", 7));
    vantor::CRegKey assigned;
    assigned = std::move(moved);
    DWORD value = 0;
    EXPECT_EQ(ERROR_SUCCESS, assigned.QueryDWORDValue(L"Moved", value));
    EXPECT_EQ(7u, value);
}
