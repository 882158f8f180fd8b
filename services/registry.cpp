#include "services/registry.h"

#include <algorithm>

#include "platform/reg_key.h"
#include "platform/text_list.h"

namespace {

// The size in bytes of a value of the given type; false when it is missing or of another type.
bool ValueSize(const vantor::CRegKey& key, const std::wstring& name, DWORD expectedType, ULONG& bytes)
{
    DWORD type = 0;
    bytes = 0;
    return key.QueryValue(name.c_str(), &type, nullptr, &bytes) == ERROR_SUCCESS && type == expectedType;
}

} // namespace

OxRegistry::OxRegistry(HKEY root, const std::wstring& keyPath)
    : basePath(keyPath.empty() || keyPath.back() == L'\\' ? keyPath : keyPath + L"\\"), root(root)
{
}

OxRegistry::Address OxRegistry::Locate(const std::wstring& name) const
{
    const std::wstring fullPath = basePath + name;
    const size_t lastBackslash = fullPath.rfind(L'\\');
    if (lastBackslash == std::wstring::npos)
        return Address{std::wstring(), fullPath};
    return Address{fullPath.substr(0, lastBackslash), fullPath.substr(lastBackslash + 1)};
}

bool OxRegistry::OpenToRead(const Address& address, vantor::CRegKey& key) const
{
    return key.Open(root, address.subkey.c_str(), KEY_READ) == ERROR_SUCCESS;
}

bool OxRegistry::OpenToWrite(const Address& address, vantor::CRegKey& key) const
{
    return key.Create(root, address.subkey.c_str()) == ERROR_SUCCESS;
}

bool OxRegistry::ReadInt(const std::wstring& name, int& value) const
{
    const Address address = Locate(name);
    vantor::CRegKey key;
    DWORD data = 0;
    if (!OpenToRead(address, key)
        || key.QueryDWORDValue(address.valueName.c_str(), data) != ERROR_SUCCESS)
        return false;
    value = static_cast<int>(data);
    return true;
}

bool OxRegistry::ReadString(const std::wstring& name, std::wstring& value) const
{
    const Address address = Locate(name);
    vantor::CRegKey key;
    if (!OpenToRead(address, key))
        return false;
    DWORD type = 0;
    ULONG bytes = 0;
    if (key.QueryValue(address.valueName.c_str(), &type, nullptr, &bytes) != ERROR_SUCCESS
        || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    // No data at all is the empty text; anything shorter than a terminator is no text.
    if (bytes == 0) {
        value.clear();
        return true;
    }
    if (bytes < sizeof(wchar_t))
        return false;
    std::wstring buffer(bytes / sizeof(wchar_t), L'\0');
    ULONG chars = static_cast<ULONG>(buffer.size());
    if (key.QueryStringValue(address.valueName.c_str(), &buffer[0], &chars) != ERROR_SUCCESS)
        return false;
    buffer.resize(std::find(buffer.begin(), buffer.end(), L'\0') - buffer.begin());
    value = buffer;
    return true;
}

bool OxRegistry::ReadBinary(const std::wstring& name, std::string& value) const
{
    const Address address = Locate(name);
    vantor::CRegKey key;
    ULONG bytes = 0;
    if (!OpenToRead(address, key)
        || !ValueSize(key, address.valueName, REG_BINARY, bytes))
        return false;
    std::string buffer(bytes, '\0');
    if (bytes > 0 && key.QueryBinaryValue(address.valueName.c_str(), &buffer[0], &bytes) != ERROR_SUCCESS)
        return false;
    buffer.resize(bytes);
    value = buffer;
    return true;
}

bool OxRegistry::ReadStringList(const std::wstring& name, std::vector<std::wstring>& list) const
{
    const Address address = Locate(name);
    vantor::CRegKey key;
    ULONG bytes = 0;
    if (!OpenToRead(address, key)
        || !ValueSize(key, address.valueName, REG_MULTI_SZ, bytes))
        return false;
    // Room to spare: as many code units as the value has bytes, and two more.
    std::vector<wchar_t> buffer(bytes + 2, L'\0');
    ULONG chars = static_cast<ULONG>(buffer.size());
    if (key.QueryMultiStringValue(address.valueName.c_str(), buffer.data(), &chars) != ERROR_SUCCESS)
        return false;
    list = vantor::SplitTextList(buffer.data(), std::min<size_t>(chars, buffer.size()));
    return true;
}

bool OxRegistry::WriteInt(const std::wstring& name, int value) const
{
    const Address address = Locate(name);
    vantor::CRegKey key;
    return OpenToWrite(address, key)
        && key.SetDWORDValue(address.valueName.c_str(), static_cast<DWORD>(value)) == ERROR_SUCCESS;
}

bool OxRegistry::WriteString(const std::wstring& name, const std::wstring& value) const
{
    const Address address = Locate(name);
    vantor::CRegKey key;
    return OpenToWrite(address, key)
        && key.SetStringValue(address.valueName.c_str(), value.c_str(), REG_SZ) == ERROR_SUCCESS;
}

bool OxRegistry::WriteBinary(const std::wstring& name, const std::string& value) const
{
    const Address address = Locate(name);
    vantor::CRegKey key;
    return OpenToWrite(address, key)
        && key.SetBinaryValue(address.valueName.c_str(), value.data(), static_cast<ULONG>(value.size())) == ERROR_SUCCESS;
}

bool OxRegistry::WriteStringList(const std::wstring& name, const std::vector<std::wstring>& list) const
{
    const std::wstring joined = vantor::JoinTextList(list);
    const Address address = Locate(name);
    vantor::CRegKey key;
    return OpenToWrite(address, key)
        && key.SetMultiStringValue(address.valueName.c_str(), joined.c_str()) == ERROR_SUCCESS;
}
