#include <gtest/gtest.h>

#include "localisation/language_pack.h"
#include "localisation/string_table.h"
#include "pack_folder.h"

TEST(StringTable, ReadsCountedStringsAndRefusesAnyThatRunPastTheirBlock)
{
    const vantor::ScopedLibrary pack = MapLanguagePack(FixturePack(L"pack_deu.dll"));
    ASSERT_TRUE(pack);
    std::wstring text;
    EXPECT_TRUE(LoadTableString(pack.Get(), 94, text));
    EXPECT_EQ(L"de", text);
    EXPECT_TRUE(LoadTableString(pack.Get(), 200, text));
    EXPECT_EQ(L"%d Dateien in %s", text);
    text = L"kept";
    EXPECT_FALSE(LoadTableString(pack.Get(), 90, text)) << "an empty entry is no string";
    EXPECT_FALSE(LoadTableString(pack.Get(), 5000, text)) << "a missing block";
    EXPECT_EQ(L"kept", text);

    // Ids 80 to 90 are empty; 91 claims 32767 characters in a block of 13 code units.
    const vantor::ScopedLibrary malformed = MapLanguagePack(FixturePack(L"pack_malformed.dll"));
    ASSERT_TRUE(malformed);
    for (UINT id = 91; id <= 95; ++id)
        EXPECT_FALSE(LoadTableString(malformed.Get(), id, text)) << id;
    EXPECT_EQ(L"kept", text);
}
