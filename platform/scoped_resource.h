// Owners of Win32 handles: each releases its handle exactly once, through its traits.
#pragma once

#include <utility>

#include <windows.h>

template <class Traits>
class ScopedResource {
public:
    typedef typename Traits::Handle Handle;

    ScopedResource() = default;
    explicit ScopedResource(Handle handle) : handle(handle) {}
    ~ScopedResource() { Reset(); }
    ScopedResource(const ScopedResource&) = delete;
    ScopedResource& operator=(const ScopedResource&) = delete;
    ScopedResource(ScopedResource&& other) noexcept : handle(other.Release()) {}
    ScopedResource& operator=(ScopedResource&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle; }
    bool IsValid() const { return handle != Handle(); }
    explicit operator bool() const { return IsValid(); }

    // Releases the held handle (if any) and takes the new one.
    void Reset(Handle newHandle = Handle())
    {
        if (handle != Handle())
            Traits::Close(handle);
        handle = newHandle;
    }
    // Gives up ownership without releasing.
    Handle Release() { return std::exchange(handle, Handle()); }

private:
    Handle handle = Handle();
};

struct KernelHandleTraits {
    typedef HANDLE Handle;
    static void Close(HANDLE handle) { ::CloseHandle(handle); }
};
struct IconTraits {
    typedef HICON Handle;
    static void Close(HICON icon) { ::DestroyIcon(icon); }
};
struct LibraryTraits {
    typedef HMODULE Handle;
    static void Close(HMODULE module) { ::FreeLibrary(module); }
};
struct HookTraits {
    typedef HHOOK Handle;
    static void Close(HHOOK hook) { ::UnhookWindowsHookEx(hook); }
};

struct FindTraits {
    typedef HANDLE Handle;
    static void Close(HANDLE search) { ::FindClose(search); }
};

// Kernel objects that use null for "none" (mutexes, processes, threads; not file handles).
typedef ScopedResource<KernelHandleTraits> ScopedHandle;
typedef ScopedResource<IconTraits> ScopedIcon;
typedef ScopedResource<LibraryTraits> ScopedLibrary;
typedef ScopedResource<HookTraits> ScopedHook;
// A file search; FindFirstFileW's INVALID_HANDLE_VALUE must not be put in.
typedef ScopedResource<FindTraits> ScopedFind;
