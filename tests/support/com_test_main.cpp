// Runs a test program's tests on a thread with COM, as the program's main thread has.
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
