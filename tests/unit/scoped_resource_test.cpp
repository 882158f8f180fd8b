#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/scoped_resource.h"

TEST(ScopedResource, ResetKeepsTheLastErrorOfTheCallThatMadeTheNewHandle)
{
    vantor::ScopedHandle handle(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
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
    EXPECT_FALSE(vantor::ScopedHandle(nullptr));
    EXPECT_FALSE(vantor::ScopedHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(vantor::ScopedFind(nullptr));
    WIN32_FIND_DATAW found;
    vantor::ScopedFind nothing(::FindFirstFileW(L"C:\\no such folder\\*", &found));
    EXPECT_FALSE(nothing) << "FindFirstFileW's answer for no match is no handle";
}

namespace {

// Handles are numbers here; closing one writes it down, so a test sees every close.
std::vector<int> closedHandles;

struct CountedTraits : vantor::NullMeansNone<int> {
    static void Close(int handle) { closedHandles.push_back(handle); }
};
typedef vantor::ScopedResource<CountedTraits> CountedResource;

struct Ending {
    const char* what;
    void (*run)();
    std::vector<int> closed;
};

const Ending Endings[] = {
    {"destroyed", [] { CountedResource owner(1); }, {1}},
    {"reset to another handle", [] { CountedResource owner(1); owner.Reset(2); }, {1, 2}},
    {"reset to none", [] { CountedResource owner(1); owner.Reset(); }, {1}},
    {"released", [] { CountedResource owner(1); EXPECT_EQ(1, owner.Release()); EXPECT_FALSE(owner); }, {}},
    {"moved into a new owner", [] { CountedResource owner(1); CountedResource moved(std::move(owner)); }, {1}},
    {"move-assigned over another handle",
     [] {
         CountedResource owner(1);
         CountedResource target(2);
         target = std::move(owner);
         EXPECT_EQ(std::vector<int>{2}, closedHandles) << "the target's old handle is closed at once";
     },
     {2, 1}},
    {"move-assigned to itself",
     [] {
         CountedResource owner(1);
         CountedResource& same = owner;
         owner = std::move(same);
         EXPECT_TRUE(closedHandles.empty());
     },
     {1}},
};

} // namespace

// The owners of BSTRs and SAFEARRAYs are made of this template as well.
TEST(ScopedResource, ClosesItsHandleExactlyOnceHoweverItsOwnershipEnds)
{
    for (const Ending& ending : Endings) {
        closedHandles.clear();
        ending.run();
        EXPECT_EQ(ending.closed, closedHandles) << ending.what;
    }
}
