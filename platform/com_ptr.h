// An owning COM interface pointer, in the manner of ATL's CComPtr.
#pragma once

#include <utility>

#include <objbase.h>

namespace vantor {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to pointer.
    explicit ComPtr(T* pointer) : pointer(pointer)
    {
        if (pointer != nullptr)
            pointer->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.pointer) {}
    ComPtr(ComPtr&& other) noexcept : pointer(std::exchange(other.pointer, nullptr)) {}
    ~ComPtr() { Reset(); }
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(pointer, other.pointer);
        return *this;
    }

    T* Get() const { return pointer; }
    T* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }

    // The address for an out-parameter; whatever was held is released first.
    T** Receive()
    {
        Reset();
        return &pointer;
    }
    // Takes over a reference the caller owns.
    void Attach(T* owned)
    {
        Reset();
        pointer = owned;
    }
    // Gives up the held reference without releasing it; the caller owns it from then on.
    [[nodiscard]] T* Detach() { return std::exchange(pointer, nullptr); }
    void Reset()
    {
        if (pointer != nullptr)
            std::exchange(pointer, nullptr)->Release();
    }

    // Queries the held object for another interface; a null result on failure.
    template <class U>
    [[nodiscard]] HRESULT QueryInterface(ComPtr<U>& result) const
    {
        if (pointer == nullptr) {
            result.Reset();
            return E_POINTER;
        }
        return pointer->QueryInterface(__uuidof(U), reinterpret_cast<void**>(result.Receive()));
    }

private:
    T* pointer = nullptr;
};

} // namespace vantor
