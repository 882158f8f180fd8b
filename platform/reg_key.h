// An owned registry key with typed value access, in the manner of ATL's CRegKey. Query
// operations fail with ERROR_INVALID_DATA when the value has another type or, for texts, is
// not properly terminated; sizes are in characters for texts and in bytes otherwise. A typed
// query that fails leaves its outputs as they were.
#pragma once

#include <windows.h>

namespace vantor {

class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    CRegKey(CRegKey&& other) noexcept;
    CRegKey& operator=(CRegKey&& other) noexcept;

    operator HKEY() const { return key; }

    // On failure the key held so far stays open.
    [[nodiscard]] LONG Open(HKEY parent, LPCWSTR path, REGSAM access = KEY_READ | KEY_WRITE);
    // Opens the key, creating it and the keys above it as needed.
    [[nodiscard]] LONG Create(HKEY parent, LPCWSTR path, LPWSTR keyClass = nullptr, DWORD options = REG_OPTION_NON_VOLATILE,
                              REGSAM access = KEY_READ | KEY_WRITE, LPSECURITY_ATTRIBUTES security = nullptr,
                              LPDWORD disposition = nullptr);
    LONG Close();

    // The value's type and size in bytes, and its data when data is not null; the system's
    // query, unchecked: data may be written even when the call fails.
    [[nodiscard]] LONG QueryValue(LPCWSTR name, DWORD* type, void* data, ULONG* bytes) const;
    [[nodiscard]] LONG QueryDWORDValue(LPCWSTR name, DWORD& value) const;
    // REG_SZ or REG_EXPAND_SZ (not expanded); chars: the buffer's size in, the characters read
    // with the terminator out. With a null value only the size is asked for.
    [[nodiscard]] LONG QueryStringValue(LPCWSTR name, LPWSTR value, ULONG* chars) const;
    [[nodiscard]] LONG QueryMultiStringValue(LPCWSTR name, LPWSTR value, ULONG* chars) const;
    [[nodiscard]] LONG QueryBinaryValue(LPCWSTR name, void* value, ULONG* bytes) const;

    LONG SetDWORDValue(LPCWSTR name, DWORD value);
    LONG SetStringValue(LPCWSTR name, LPCWSTR value, DWORD type = REG_SZ);
    // value: texts each followed by a zero, then one more zero.
    LONG SetMultiStringValue(LPCWSTR name, LPCWSTR value);
    LONG SetBinaryValue(LPCWSTR name, const void* value, ULONG bytes);

private:
    // Text data of the given type (REG_SZ also takes REG_EXPAND_SZ) that ends in zeros: one for
    // a text, two for a list of texts unless it is a single zero.
    LONG QueryText(LPCWSTR name, LPWSTR value, ULONG* chars, DWORD expectedType) const;

    HKEY key = nullptr;
};

} // namespace vantor
