#include "freed_memory_watch.h"

#include <atomic>
#include <cstdlib>
#include <new>

#include <windows.h>

// The test program's own operator new and delete: plain malloc and free, except for blocks made
// while a watch lasts. Those live on pages of their own (VirtualAlloc), listed below; a deleted
// one is guarded (PAGE_GUARD), and the system reports its first touch as a guard page violation.

namespace {

struct WatchedBlock {
    void* start;
    size_t bytes;  // whole pages
    bool deleted;
    bool touched;
};

SRWLOCK blocksLock = SRWLOCK_INIT;
// On the process heap, so that the list never calls operator new itself.
WatchedBlock* blocks = nullptr;
size_t blockCapacity = 0;
std::atomic<size_t> blockCount(0);
std::atomic<bool> watching(false);
PVOID touchHandler = nullptr;

class LockedBlocks {
public:
    LockedBlocks() { ::AcquireSRWLockExclusive(&blocksLock); }
    ~LockedBlocks() { ::ReleaseSRWLockExclusive(&blocksLock); }
    LockedBlocks(const LockedBlocks&) = delete;
    LockedBlocks& operator=(const LockedBlocks&) = delete;
};

size_t PageSize()
{
    SYSTEM_INFO system = {};
    ::GetSystemInfo(&system);
    return system.dwPageSize;
}

// Caller holds the lock.
bool MakeRoomForOneMore()
{
    if (blockCount < blockCapacity)
        return true;
    const size_t capacity = blockCapacity == 0 ? 256 : blockCapacity * 2;
    void* const grown = blocks == nullptr
        ? ::HeapAlloc(::GetProcessHeap(), 0, capacity * sizeof(WatchedBlock))
        : ::HeapReAlloc(::GetProcessHeap(), 0, blocks, capacity * sizeof(WatchedBlock));
    if (grown == nullptr)
        return false;
    blocks = static_cast<WatchedBlock*>(grown);
    blockCapacity = capacity;
    return true;
}

// Null when the block cannot be watched; it is then made as usual.
void* AllocateWatched(size_t size)
{
    const size_t page = PageSize();
    const size_t bytes = (size + page - 1) / page * page;
    const LockedBlocks locked;
    if (!MakeRoomForOneMore())
        return nullptr;
    void* const start = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (start == nullptr)
        return nullptr;
    blocks[blockCount] = WatchedBlock{start, bytes, false, false};
    ++blockCount;
    return start;
}

// Caller holds the lock.
void Forget(size_t index)
{
    ::VirtualFree(blocks[index].start, 0, MEM_RELEASE);
    blocks[index] = blocks[blockCount - 1];
    --blockCount;
}

// False for a block that was not made while watching.
bool ReleaseWatched(void* start)
{
    if (blockCount == 0)
        return false;
    const LockedBlocks locked;
    for (size_t i = 0; i < blockCount; ++i) {
        if (blocks[i].start != start)
            continue;
        DWORD previous = 0;
        if (watching && ::VirtualProtect(start, blocks[i].bytes, PAGE_READWRITE | PAGE_GUARD, &previous))
            blocks[i].deleted = true;
        else
            Forget(i);
        return true;
    }
    return false;
}

void* Allocate(size_t size)
{
    if (size == 0)
        size = 1;
    for (;;) {
        void* const block = watching ? AllocateWatched(size) : nullptr;
        if (block != nullptr)
            return block;
        if (void* const made = std::malloc(size))
            return made;
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr)
            throw std::bad_alloc();
        handler();
    }
}

void Release(void* block)
{
    if (block != nullptr && !ReleaseWatched(block))
        std::free(block);
}

// A touch of a deleted block is counted, and the access goes on: the system has lifted the guard.
LONG CALLBACK NoteTouch(EXCEPTION_POINTERS* exception)
{
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode != STATUS_GUARD_PAGE_VIOLATION || record.NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const ULONG_PTR address = record.ExceptionInformation[1];
    const LockedBlocks locked;
    for (size_t i = 0; i < blockCount; ++i) {
        const ULONG_PTR start = reinterpret_cast<ULONG_PTR>(blocks[i].start);
        if (blocks[i].deleted && address >= start && address < start + blocks[i].bytes) {
            blocks[i].touched = true;
            return EXCEPTION_CONTINUE_EXECUTION;
        }
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}

void* operator new[](std::size_t size)
{
    return Allocate(size);
}

void operator delete(void* block) noexcept
{
    Release(block);
}

void operator delete[](void* block) noexcept
{
    Release(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    Release(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    Release(block);
}

FreedMemoryWatch::FreedMemoryWatch()
{
    touchHandler = ::AddVectoredExceptionHandler(1, NoteTouch);
    watching = true;
}

FreedMemoryWatch::~FreedMemoryWatch()
{
    watching = false;
    {
        const LockedBlocks locked;
        for (size_t i = blockCount; i > 0; --i) {
            if (blocks[i - 1].deleted)
                Forget(i - 1);
        }
    }
    ::RemoveVectoredExceptionHandler(touchHandler);
}

namespace {

size_t CountBlocks(bool WatchedBlock::*flag)
{
    const LockedBlocks locked;
    size_t counted = 0;
    for (size_t i = 0; i < blockCount; ++i)
        counted += blocks[i].*flag ? 1 : 0;
    return counted;
}

} // namespace

size_t FreedMemoryWatch::DeletedBlocks() const
{
    return CountBlocks(&WatchedBlock::deleted);
}

size_t FreedMemoryWatch::TouchedAfterDelete() const
{
    return CountBlocks(&WatchedBlock::touched);
}
