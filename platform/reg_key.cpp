#include "platform/reg_key.h"

#include <cstring>
#include <utility>
#include <vector>

#include "platform/text_list.h"

namespace vantor {

CRegKey::CRegKey(CRegKey&& other) noexcept
    : key(std::exchange(other.key, nullptr))
{
}

CRegKey& CRegKey::operator=(CRegKey&& other) noexcept
{
    if (this != &other) {
        Close();
        key = std::exchange(other.key, nullptr);
    }
    return *this;
}

LONG CRegKey::Open(HKEY parent, LPCWSTR path, REGSAM access)
{
    HKEY opened = nullptr;
    const LONG result = ::RegOpenKeyExW(parent, path, 0, access, &opened);
    if (result == ERROR_SUCCESS) {
        Close();
        key = opened;
    }
    return result;
}

LONG CRegKey::Create(HKEY parent, LPCWSTR path, LPWSTR keyClass, DWORD options, REGSAM access,
                     LPSECURITY_ATTRIBUTES security, LPDWORD disposition)
{
    HKEY created = nullptr;
    const LONG result = ::RegCreateKeyExW(parent, path, 0, keyClass, options, access, security, &created, disposition);
    if (result == ERROR_SUCCESS) {
        Close();
        key = created;
    }
    return result;
}

LONG CRegKey::Close()
{
    if (key == nullptr)
        return ERROR_SUCCESS;
    const LONG result = ::RegCloseKey(key);
    key = nullptr;
    return result;
}

LONG CRegKey::QueryValue(LPCWSTR name, DWORD* type, void* data, ULONG* bytes) const
{
    return ::RegQueryValueExW(key, name, nullptr, type, static_cast<BYTE*>(data), bytes);
}

LONG CRegKey::QueryDWORDValue(LPCWSTR name, DWORD& value) const
{
    DWORD type = 0;
    DWORD data = 0;
    ULONG bytes = sizeof(data);
    const LONG result = QueryValue(name, &type, &data, &bytes);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_DWORD || bytes != sizeof(data))
        return ERROR_INVALID_DATA;
    value = data;
    return ERROR_SUCCESS;
}

LONG CRegKey::QueryStringValue(LPCWSTR name, LPWSTR value, ULONG* chars) const
{
    return QueryText(name, value, chars, REG_SZ);
}

LONG CRegKey::QueryMultiStringValue(LPCWSTR name, LPWSTR value, ULONG* chars) const
{
    return QueryText(name, value, chars, REG_MULTI_SZ);
}

// Reads into a buffer of its own first, so that a failed query leaves the caller's untouched.
LONG CRegKey::QueryText(LPCWSTR name, LPWSTR value, ULONG* chars, DWORD expectedType) const
{
    DWORD type = 0;
    std::vector<wchar_t> text(value != nullptr ? *chars : 0);
    ULONG bytes = static_cast<ULONG>(text.size() * sizeof(wchar_t));
    const LONG result = QueryValue(name, &type, value != nullptr ? text.data() : nullptr, &bytes);
    if (result != ERROR_SUCCESS)
        return result;
    const bool typeAccepted = type == expectedType || (expectedType == REG_SZ && type == REG_EXPAND_SZ);
    if (!typeAccepted)
        return ERROR_INVALID_DATA;
    const ULONG count = bytes / sizeof(wchar_t);
    if (value != nullptr) {
        const bool terminated =
            bytes % sizeof(wchar_t) == 0 && EndsAsRegistryText(text.data(), count, expectedType == REG_MULTI_SZ);
        if (!terminated)
            return ERROR_INVALID_DATA;
        std::memcpy(value, text.data(), count * sizeof(wchar_t));
    }
    *chars = count;
    return ERROR_SUCCESS;
}

LONG CRegKey::QueryBinaryValue(LPCWSTR name, void* value, ULONG* bytes) const
{
    DWORD type = 0;
    std::vector<BYTE> data(value != nullptr ? *bytes : 0);
    ULONG size = *bytes;
    const LONG result = QueryValue(name, &type, value != nullptr ? data.data() : nullptr, &size);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_BINARY)
        return ERROR_INVALID_DATA;
    if (value != nullptr)
        std::memcpy(value, data.data(), size);
    *bytes = size;
    return ERROR_SUCCESS;
}

LONG CRegKey::SetDWORDValue(LPCWSTR name, DWORD value)
{
    return ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG CRegKey::SetStringValue(LPCWSTR name, LPCWSTR value, DWORD type)
{
    const size_t chars = wcslen(value) + 1;
    return ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>(chars * sizeof(wchar_t)));
}

LONG CRegKey::SetMultiStringValue(LPCWSTR name, LPCWSTR value)
{
    size_t chars = 0;
    while (value[chars] != L'\0')
        chars += wcslen(value + chars) + 1;
    ++chars;
    return ::RegSetValueExW(key, name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(value),
                            static_cast<DWORD>(chars * sizeof(wchar_t)));
}

LONG CRegKey::SetBinaryValue(LPCWSTR name, const void* value, ULONG bytes)
{
    return ::RegSetValueExW(key, name, 0, REG_BINARY, static_cast<const BYTE*>(value), bytes);
}

} // namespace vantor
