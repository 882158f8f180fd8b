// An owned VARIANT, cleared exactly once with VariantClear, in the manner of Chromium's
// ScopedVariant: whatever it holds (a BSTR, an interface, an array) is freed with it.
#pragma once

#include <utility>

#include <windows.h>

#include <oleauto.h>

#include "platform/scoped_bstr.h"

namespace vantor {

class ScopedVariant {
public:
    // VT_EMPTY.
    ScopedVariant() { ::VariantInit(&value); }
    // Takes over owned, which the caller must no longer clear.
    explicit ScopedVariant(const VARIANT& owned) : value(owned) {}
    // A VT_BSTR that takes over text (null, the empty string, when text holds none).
    explicit ScopedVariant(ScopedBstr text)
    {
        ::VariantInit(&value);
        value.vt = VT_BSTR;
        value.bstrVal = text.Release();
    }
    // A VT_I4.
    explicit ScopedVariant(LONG number)
    {
        ::VariantInit(&value);
        value.vt = VT_I4;
        value.lVal = number;
    }
    ~ScopedVariant() { Reset(); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    ScopedVariant(ScopedVariant&& other) noexcept : value(other.Release()) {}
    ScopedVariant& operator=(ScopedVariant&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    const VARIANT& Get() const { return value; }
    VARTYPE Type() const { return value.vt; }
    // For calls that take an input VARIANT through a non-const pointer and leave it as it is
    // (IWebBrowser2::Navigate2); ownership stays here.
    VARIANT* AsInput() const { return const_cast<VARIANT*>(&value); }

    // Clears the held value and takes over owned (VT_EMPTY unless told).
    void Reset(const VARIANT& owned = EmptyVariant())
    {
        ::VariantClear(&value);
        value = owned;
    }
    // Gives up ownership without clearing; the owner is left VT_EMPTY.
    [[nodiscard]] VARIANT Release()
    {
        const VARIANT held = value;
        ::VariantInit(&value);
        return held;
    }

private:
    static VARIANT EmptyVariant()
    {
        VARIANT empty;
        ::VariantInit(&empty);
        return empty;
    }

    VARIANT value;
};

} // namespace vantor
