#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "freed_memory_watch.h"

namespace {

// Hidden from the compiler, so that it neither warns about nor drops the touches below.
volatile std::uintptr_t hiddenAddress = 0;

int* Hidden(int* block)
{
    hiddenAddress = reinterpret_cast<std::uintptr_t>(block);
    return reinterpret_cast<int*>(hiddenAddress);
}

} // namespace

TEST(FreedMemoryWatch, CountsTheBlocksTouchedAfterTheyWereDeleted)
{
    const FreedMemoryWatch watch;
    int* const read = Hidden(new int(7));
    int* const written = Hidden(new int(8));
    int* const leftAlone = Hidden(new int(9));
    delete read;
    delete written;
    delete leftAlone;
    EXPECT_EQ(3u, watch.DeletedBlocks());
    EXPECT_EQ(0u, watch.TouchedAfterDelete());

    EXPECT_EQ(7, *Hidden(read)) << "the touch goes on as it would have";
    *Hidden(written) = 1;
    EXPECT_EQ(2u, watch.TouchedAfterDelete());
}

TEST(FreedMemoryWatch, BlocksMadeWhileWatchingMayOutliveTheWatch)
{
    std::unique_ptr<int> outliving;
    {
        const FreedMemoryWatch watch;
        outliving.reset(new int(5));
        delete Hidden(new int(6));
        EXPECT_EQ(1u, watch.DeletedBlocks());
    }
    EXPECT_EQ(5, *outliving) << "a live block stays when the watch ends";
}
