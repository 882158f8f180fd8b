#include <gtest/gtest.h>

#include "platform/module_path.h"

TEST(ModulePath, FilesBesideTheProgramAndPathsWithADriveAsTheyAre)
{
    const std::wstring program = vantor::ModuleFilePath(nullptr);
    const std::wstring folder = vantor::ProgramFolder(nullptr);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(L'\\', folder.back());
    EXPECT_EQ(0u, program.find(folder)) << "the folder the program file is in";
    EXPECT_EQ(folder + L"skin_manager.dll", vantor::ResolveInProgramFolder(nullptr, L"skin_manager.dll"));
    EXPECT_EQ(folder + L"skins\\*.*", vantor::ResolveInProgramFolder(nullptr, L"skins\\*.*"));
    EXPECT_EQ(L"D:\\skins\\skin_manager.dll", vantor::ResolveInProgramFolder(nullptr, L"D:\\skins\\skin_manager.dll"));
    EXPECT_EQ(L"", vantor::ModuleFilePath(reinterpret_cast<HMODULE>(0x1000))) << "no module there";
}
