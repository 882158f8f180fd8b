// A small piece of executable code that calls a window procedure with an object pointer in
// place of the window handle, as ATL's thunks do: it lets any number of C++ objects receive the
// messages of windows they create or subclass, without a lookup table.
#pragma once

#include <windows.h>

namespace vantor {

class WindowProcThunk {
public:
    WindowProcThunk();
    ~WindowProcThunk();
    WindowProcThunk(const WindowProcThunk&) = delete;
    WindowProcThunk& operator=(const WindowProcThunk&) = delete;

    // After this, calling GetWindowProc()(window, ...) calls proc(object, ...).
    void Init(WNDPROC proc, void* object);
    // Null when no executable memory could be had.
    WNDPROC GetWindowProc() const;
    // For a window that may still call the code after this object is gone: from now on the
    // code calls previous for window, and it stays valid for the rest of the process.
    void Orphan(WNDPROC previous, HWND window);

private:
    struct Code;
    struct Block;
    Block* block;
};

// For tests: while true, no thunk memory can be had, as when memory has run out.
void SetThunkMemoryExhaustedForTesting(bool exhausted);

} // namespace vantor
