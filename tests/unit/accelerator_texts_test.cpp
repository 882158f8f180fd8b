#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ui/accelerator_texts.h"

namespace {

ACCEL Virtual(WORD key, BYTE modifiers = 0, WORD command = 1)
{
    return ACCEL{static_cast<BYTE>(FVIRTKEY | modifiers), key, command};
}

ACCEL Character(wchar_t key)
{
    return ACCEL{0, static_cast<WORD>(key), 1};
}

} // namespace

TEST(AcceleratorTexts, NameTheKeysWithTheModifiersInAFixedOrder)
{
    struct Case {
        ACCEL accelerator;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {Virtual(VK_F5, FCONTROL | FSHIFT), L"Ctrl+Shift+F5"},
        {Virtual(VK_DELETE, FALT | FCONTROL), L"Ctrl+Alt+Del"},
        {Virtual('S', FALT | FSHIFT | FCONTROL), L"Ctrl+Shift+Alt+S"},
        {Virtual(VK_RETURN), L"Enter"},
        {Virtual(VK_ESCAPE), L"Esc"},
        {Virtual(VK_SPACE), L"Space"},
        {Virtual(VK_PRIOR), L"PgUp"},
        {Virtual(VK_NEXT), L"PgDown"},
        {Virtual(VK_END), L"End"},
        {Virtual(VK_HOME), L"Home"},
        {Virtual(VK_LEFT), L"Left"},
        {Virtual(VK_UP), L"Up"},
        {Virtual(VK_RIGHT), L"Right"},
        {Virtual(VK_DOWN), L"Down"},
        {Virtual(VK_INSERT), L"Ins"},
        {Virtual(VK_DELETE), L"Del"},
        {Virtual(VK_OEM_PERIOD), L"Period"},
        {Virtual(VK_F1), L"F1"},
        {Virtual(VK_F9), L"F9"},
        {Virtual(VK_F10), L"F10"},
        {Virtual(VK_F19), L"F19"},
        {Virtual(VK_F20), L""},
        {Virtual(VK_TAB), L""},
        {Virtual('0'), L"0"},
        {Virtual('9'), L"9"},
        {Virtual('Z', FCONTROL), L"Ctrl+Z"},
        {Character(L'A'), L"A"},
        {Character(L'7'), L"7"},
        {Character(L'a'), L""},
        {Character(L'+'), L""},
    };
    for (const Case& named : cases)
        EXPECT_EQ(named.expected, AcceleratorText(named.accelerator))
            << "key " << named.accelerator.key << ", flags 0x" << std::hex << int(named.accelerator.fVirt);
}

TEST(AcceleratorTexts, ComeFromAWholeTableAndTheLastAcceleratorOfACommandWins)
{
    std::vector<ACCEL> entries = {Virtual('O', FCONTROL, 10), Virtual(VK_F12, 0, 11), Virtual('S', FCONTROL, 12),
                                  Virtual(VK_F2, FSHIFT, 12), Virtual(VK_F20, 0, 13)};
    const HACCEL table = ::CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size()));
    ASSERT_NE(nullptr, table);
    std::map<UINT, std::wstring> texts = {{11, L"replaced"}, {99, L"Ctrl+Q"}};
    EXPECT_TRUE(AddAcceleratorTexts(table, texts));
    ::DestroyAcceleratorTable(table);
    EXPECT_EQ((std::map<UINT, std::wstring>{{10, L"Ctrl+O"}, {11, L"F12"}, {12, L"Shift+F2"}, {99, L"Ctrl+Q"}}), texts)
        << "F20 has no name";
}
