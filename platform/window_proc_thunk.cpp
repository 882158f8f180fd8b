#include "platform/window_proc_thunk.h"

#include <cstring>

namespace vantor {

namespace {

// Thunks live in one private executable heap for the life of the process.
HANDLE ThunkHeap()
{
    static const HANDLE heap = ::HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
    return heap;
}

bool thunkMemoryExhausted = false;

void* AllocateThunkMemory(SIZE_T size)
{
    if (thunkMemoryExhausted || ThunkHeap() == nullptr)
        return nullptr;
    return ::HeapAlloc(ThunkHeap(), HEAP_ZERO_MEMORY, size);
}

// What an orphaned thunk forwards to.
struct Forwarding {
    WNDPROC previous;
    HWND window;
};

LRESULT CALLBACK ForwardToPrevious(HWND self, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Forwarding* const forwarding = reinterpret_cast<const Forwarding*>(self);
    return ::CallWindowProcW(forwarding->previous, forwarding->window, message, wParam, lParam);
}

} // namespace

#pragma pack(push, 1)
#if defined(_M_IX86) || defined(__i386__)
struct WindowProcThunk::Code {
    unsigned char movOpcode[4]; // mov dword ptr [esp+4], object
    void* object;
    unsigned char jmpOpcode;    // jmp proc (relative)
    LONG jmpOffset;

    void Init(WNDPROC proc, void* target)
    {
        static const unsigned char mov[4] = {0xC7, 0x44, 0x24, 0x04};
        std::memcpy(movOpcode, mov, sizeof(mov));
        object = target;
        jmpOpcode = 0xE9;
        jmpOffset = static_cast<LONG>(reinterpret_cast<INT_PTR>(proc) - (reinterpret_cast<INT_PTR>(this) + sizeof(Code)));
    }
};
#elif defined(_M_X64) || defined(__x86_64__)
struct WindowProcThunk::Code {
    unsigned short movRcx; // mov rcx, object
    void* object;
    unsigned short movRax; // mov rax, proc
    void* proc;
    unsigned short jmpRax; // jmp rax

    void Init(WNDPROC target, void* targetObject)
    {
        movRcx = 0xB948;
        object = targetObject;
        movRax = 0xB848;
        proc = reinterpret_cast<void*>(target);
        jmpRax = 0xE0FF;
    }
};
#else
#error "WindowProcThunk knows no code for this processor"
#endif
#pragma pack(pop)

// The forwarding an orphaned thunk needs is part of its block from the start, so that
// orphaning never needs memory: a thunk that may still be called is never freed.
struct WindowProcThunk::Block {
    Code code;
    Forwarding forwarding;
};

WindowProcThunk::WindowProcThunk() : block(static_cast<Block*>(AllocateThunkMemory(sizeof(Block))))
{
}

WindowProcThunk::~WindowProcThunk()
{
    if (block != nullptr)
        ::HeapFree(ThunkHeap(), 0, block);
}

void WindowProcThunk::Init(WNDPROC proc, void* object)
{
    if (block == nullptr)
        return;
    block->code.Init(proc, object);
    ::FlushInstructionCache(::GetCurrentProcess(), &block->code, sizeof(Code));
}

void WindowProcThunk::Orphan(WNDPROC previous, HWND window)
{
    if (block == nullptr)
        return;
    block->forwarding = Forwarding{previous, window};
    Init(ForwardToPrevious, &block->forwarding);
    block = nullptr;
}

WNDPROC WindowProcThunk::GetWindowProc() const
{
    return block != nullptr ? reinterpret_cast<WNDPROC>(&block->code) : nullptr;
}

void SetThunkMemoryExhaustedForTesting(bool exhausted)
{
    thunkMemoryExhausted = exhausted;
}

} // namespace vantor
