// Finds code that touches memory after it was deleted, which otherwise goes unseen: while a
// watch lasts, every block made with operator new gets pages of its own, and a deleted block
// keeps its pages, guarded, until the watch ends. The first read or write of a deleted block is
// counted and then allowed, so that the code under test goes on as it would have. One watch at
// a time, on any thread.
#pragma once

#include <cstddef>

class FreedMemoryWatch {
public:
    FreedMemoryWatch();
    // Releases the deleted blocks; blocks still alive are freed normally when they go.
    ~FreedMemoryWatch();
    FreedMemoryWatch(const FreedMemoryWatch&) = delete;
    FreedMemoryWatch& operator=(const FreedMemoryWatch&) = delete;

    // Blocks deleted so far while watching.
    size_t DeletedBlocks() const;
    // Deleted blocks that were read or written afterwards.
    size_t TouchedAfterDelete() const;
};
