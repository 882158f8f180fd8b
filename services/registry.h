// Typed access to values below one registry key, addressed by relative names such as
// "Language\Current": everything up to the last backslash names a subkey, the rest the value.
// Each access opens and closes its own key; nothing is cached.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace vantor {
class CRegKey;
}

class OxRegistry {
public:
    // Values live below keyPath (relative to root).
    OxRegistry(HKEY root, const std::wstring& keyPath);

    // Reads succeed only for a value of the expected type; outputs are untouched on failure.
    bool ReadInt(const std::wstring& name, int& value) const;
    bool ReadString(const std::wstring& name, std::wstring& value) const;
    bool ReadBinary(const std::wstring& name, std::string& value) const;
    // Texts up to the first empty one.
    bool ReadStringList(const std::wstring& name, std::vector<std::wstring>& list) const;

    // Writes create the subkeys on the way.
    bool WriteInt(const std::wstring& name, int value) const;
    bool WriteString(const std::wstring& name, const std::wstring& value) const;
    bool WriteBinary(const std::wstring& name, const std::string& value) const;
    bool WriteStringList(const std::wstring& name, const std::vector<std::wstring>& list) const;

private:
    struct Address {
        std::wstring subkey;
        std::wstring valueName;
    };
    Address Locate(const std::wstring& name) const;
    // Opens the subkey of name; false when it is missing (reading) or cannot be made (writing).
    bool OpenToRead(const Address& address, vantor::CRegKey& key) const;
    bool OpenToWrite(const Address& address, vantor::CRegKey& key) const;

    std::wstring basePath;
    HKEY root;
};
