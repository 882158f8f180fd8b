// Owners of Win32 handles: each releases its handle exactly once, through its traits, which
// also say which values mean "no handle".
#pragma once

#include <utility>

#include <windows.h>

namespace vantor {

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
    bool IsValid() const { return !Traits::IsNone(handle); }
    explicit operator bool() const { return IsValid(); }

    // Releases the held handle (if any) and takes the new one. The caller's last error is kept:
    // it may still be reading the error of the call that made the new handle.
    void Reset(Handle newHandle = Handle())
    {
        if (!Traits::IsNone(handle)) {
            const DWORD lastError = ::GetLastError();
            Traits::Close(handle);
            ::SetLastError(lastError);
        }
        handle = newHandle;
    }
    // Gives up ownership without releasing.
    [[nodiscard]] Handle Release() { return std::exchange(handle, Handle()); }

private:
    Handle handle = Handle();
};

template <class H>
struct NullMeansNone {
    typedef H Handle;
    static bool IsNone(H handle) { return handle == H(); }
};

// Kernel objects: null and INVALID_HANDLE_VALUE both mean "none", as the creating calls differ.
struct KernelHandleTraits {
    typedef HANDLE Handle;
    static bool IsNone(HANDLE handle) { return handle == nullptr || handle == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { ::CloseHandle(handle); }
};
struct IconTraits : NullMeansNone<HICON> {
    static void Close(HICON icon) { ::DestroyIcon(icon); }
};
struct LibraryTraits : NullMeansNone<HMODULE> {
    static void Close(HMODULE module) { ::FreeLibrary(module); }
};
struct HookTraits : NullMeansNone<HHOOK> {
    static void Close(HHOOK hook) { ::UnhookWindowsHookEx(hook); }
};
// FindFirstFileW answers INVALID_HANDLE_VALUE when it finds nothing.
struct FindTraits {
    typedef HANDLE Handle;
    static bool IsNone(HANDLE search) { return search == nullptr || search == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE search) { ::FindClose(search); }
};

typedef ScopedResource<KernelHandleTraits> ScopedHandle;
typedef ScopedResource<IconTraits> ScopedIcon;
typedef ScopedResource<LibraryTraits> ScopedLibrary;
typedef ScopedResource<HookTraits> ScopedHook;
typedef ScopedResource<FindTraits> ScopedFind;

} // namespace vantor
