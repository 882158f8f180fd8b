#include <gtest/gtest.h>

#include <string>

#include <shlobj.h>

#include "program_settings_fixture.h"

namespace {

std::wstring SystemFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = L"";
    ::SHGetSpecialFolderPathW(nullptr, folder, csidl, TRUE);
    return folder;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Removes what the tests made; the company folder only when nothing else is in it.
void RemoveProgramFolders(const std::wstring& productFolder)
{
    ::RemoveDirectoryW((productFolder + L"Logs").c_str());
    ::RemoveDirectoryW(productFolder.c_str());
    const std::wstring withoutSeparator = productFolder.substr(0, productFolder.size() - 1);
    ::RemoveDirectoryW(withoutSeparator.substr(0, withoutSeparator.find_last_of(L'\\')).c_str());
}

class DataFoldersTest : public ProgramSettingsTest {};

} // namespace

TEST_F(DataFoldersTest, LieBelowTheCompanyAndProductFoldersOfTheirSpecialFolderAndAreMadeOnlyWhenAsked)
{
    typedef std::wstring (IOxProgramSettings::*Folder)(const std::wstring&, bool);
    struct Case {
        const char* what;
        Folder folder;
        int csidl;
    };
    const Case cases[] = {
        {"roaming", &IOxProgramSettings::GetRoamingDataFolder, CSIDL_APPDATA},
        {"local", &IOxProgramSettings::GetLocalDataFolder, CSIDL_LOCAL_APPDATA},
        {"all users", &IOxProgramSettings::GetCommonDataFolder, CSIDL_COMMON_APPDATA},
    };
    for (const Case& data : cases) {
        const std::wstring expected = SystemFolder(data.csidl) + L"\\ZELK Soft\\" + TestProductName() + L"\\";
        IOxProgramSettings& settings = *Settings();
        EXPECT_EQ(expected, (settings.*data.folder)(L"", false)) << data.what;
        EXPECT_FALSE(IsFolder(expected)) << data.what << ": made without being asked";

        EXPECT_EQ(expected + L"Logs", (settings.*data.folder)(L"Logs", true)) << data.what;
        EXPECT_TRUE(IsFolder(expected + L"Logs")) << data.what;
        EXPECT_EQ(expected, (settings.*data.folder)(L"", true)) << data.what << ": made already";
        RemoveProgramFolders(expected);
        EXPECT_EQ(expected + L"a\\b", (settings.*data.folder)(L"a\\b", true)) << data.what;
        EXPECT_FALSE(IsFolder(expected + L"a\\b")) << data.what << ": one level only";
        RemoveProgramFolders(expected);
    }
}

TEST_F(DataFoldersTest, SpecialFoldersAndTheirDisplayNamesComeFromTheShell)
{
    EXPECT_EQ(SystemFolder(CSIDL_APPDATA), Settings()->GetSpecialFolderPath(CSIDL_APPDATA, FOLDERID_RoamingAppData));
    EXPECT_EQ(SystemFolder(CSIDL_PERSONAL), Settings()->GetSpecialFolderPath(CSIDL_PERSONAL, FOLDERID_Documents));

    const std::wstring folder = Settings()->GetLocalDataFolder(L"", true);
    ASSERT_TRUE(IsFolder(folder));
    EXPECT_EQ(TestProductName(), Settings()->GetDisplayName(folder.substr(0, folder.size() - 1)));
    RemoveProgramFolders(folder);

    const std::wstring unparsable = L"Q:\\no such drive\\folder";
    EXPECT_EQ(unparsable, Settings()->GetDisplayName(unparsable)) << "what the shell cannot parse comes back unchanged";
    EXPECT_EQ(Settings()->GetDisplayName(SystemFolder(CSIDL_APPDATA)),
              Settings()->GetSpecialFolderDisplayName(CSIDL_APPDATA, FOLDERID_RoamingAppData));
}
