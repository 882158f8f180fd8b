// Runs the installer tests on a thread with COM, for reading the Start-menu shortcuts.
#include <gtest/gtest.h>
#include <objbase.h>

int wmain(int argc, wchar_t** argv)
{
    ::CoInitialize(nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    ::CoUninitialize();
    return result;
}
