// Reference counting shared by the server's COM objects; each object also keeps the server
// loaded while it lives.
#pragma once

#include <windows.h>

#include "server_module.h"

class ComReferenceCount {
public:
    ComReferenceCount() { server_module::AddReference(); }
    ~ComReferenceCount() { server_module::ReleaseReference(); }
    ComReferenceCount(const ComReferenceCount&) = delete;
    ComReferenceCount& operator=(const ComReferenceCount&) = delete;

    ULONG Increment() { return static_cast<ULONG>(::InterlockedIncrement(&count)); }
    ULONG Decrement() { return static_cast<ULONG>(::InterlockedDecrement(&count)); }

private:
    volatile LONG count = 1;
};

// AddRef and Release of a class whose last Release deletes it; the object starts with one
// reference, owned by its creator.
#define IMPLEMENT_COM_REFERENCE_COUNT(references)                  \
    STDMETHODIMP_(ULONG) AddRef() override { return references.Increment(); } \
    STDMETHODIMP_(ULONG) Release() override                        \
    {                                                              \
        const ULONG remaining = references.Decrement();            \
        if (remaining == 0)                                        \
            delete this;                                           \
        return remaining;                                          \
    }
