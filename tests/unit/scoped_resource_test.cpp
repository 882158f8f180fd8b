#include <gtest/gtest.h>

#include "platform/scoped_resource.h"

TEST(ScopedResource, ResetKeepsTheLastErrorOfTheCallThatMadeTheNewHandle)
{
    ScopedHandle handle(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(handle);
    const HANDLE fresh = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // What CreateMutexW leaves for a mutex another instance holds.
    ::SetLastError(ERROR_ALREADY_EXISTS);
    handle.Reset(fresh);
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), ::GetLastError()) << "closing the old handle must not change it";
    EXPECT_TRUE(handle);
}

TEST(ScopedResource, KernelAndFindHandlesTakeBothNullAndInvalidHandleValueForNone)
{
    EXPECT_FALSE(ScopedHandle(nullptr));
    EXPECT_FALSE(ScopedHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(ScopedFind(nullptr));
    WIN32_FIND_DATAW found;
    ScopedFind nothing(::FindFirstFileW(L"C:\\no such folder\\*", &found));
    EXPECT_FALSE(nothing) << "FindFirstFileW's answer for no match is no handle";
}
