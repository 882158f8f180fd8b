#include "stream_settings.h"

#include <windows.h>

const wchar_t StreamSettingsKey[] = L"Software\\ZELK Soft\\ZELK Vantor Source Filter";

namespace {

const wchar_t StreamAddressValue[] = L"StreamAddress";
const wchar_t BufferLengthValue[] = L"BufferLength";
const wchar_t ReconnectAttemptsValue[] = L"ReconnectAttempts";

const wchar_t* const KnownSchemes[] = {L"rtsp://", L"rtsps://", L"rtmp://", L"http://", L"https://", L"udp://", L"srt://"};

// An owned registry key.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey()
    {
        if (key != nullptr)
            ::RegCloseKey(key);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool Open(REGSAM access) { return ::RegOpenKeyExW(HKEY_CURRENT_USER, StreamSettingsKey, 0, access, &key) == ERROR_SUCCESS; }
    bool Create()
    {
        return ::RegCreateKeyExW(HKEY_CURRENT_USER, StreamSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_READ | KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS;
    }
    HKEY Get() const { return key; }

private:
    HKEY key = nullptr;
};

bool ReadNumber(HKEY key, const wchar_t* name, int& value)
{
    DWORD data = 0;
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS
        || type != REG_DWORD || size != sizeof(data))
        return false;
    value = static_cast<int>(data);
    return true;
}

bool ReadText(HKEY key, const wchar_t* name, std::wstring& value)
{
    DWORD size = 0;
    DWORD type = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &read) != ERROR_SUCCESS
        || type != REG_SZ)
        return false;
    text.resize(wcsnlen(text.c_str(), text.size()));
    value = text;
    return true;
}

bool WriteNumber(HKEY key, const wchar_t* name, int value)
{
    const DWORD data = static_cast<DWORD>(value);
    return ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data)) == ERROR_SUCCESS;
}

bool WriteText(HKEY key, const wchar_t* name, const std::wstring& value)
{
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

} // namespace

StreamSettings StreamSettings::Defaults()
{
    return StreamSettings{L"rtsp://camera.local:554/live", 3000, 5};
}

StreamSettings StreamSettings::Load()
{
    StreamSettings settings = Defaults();
    RegistryKey key;
    if (!key.Open(KEY_READ))
        return settings;
    StreamSettings stored = settings;
    ReadText(key.Get(), StreamAddressValue, stored.streamAddress);
    ReadNumber(key.Get(), BufferLengthValue, stored.bufferLengthMs);
    ReadNumber(key.Get(), ReconnectAttemptsValue, stored.reconnectAttempts);
    // Values edited by hand into something the filter cannot use count as missing.
    return stored.Validate().empty() ? stored : settings;
}

bool StreamSettings::Save() const
{
    RegistryKey key;
    return key.Create() && WriteText(key.Get(), StreamAddressValue, streamAddress)
        && WriteNumber(key.Get(), BufferLengthValue, bufferLengthMs)
        && WriteNumber(key.Get(), ReconnectAttemptsValue, reconnectAttempts);
}

std::wstring StreamSettings::Validate() const
{
    bool knownScheme = false;
    for (const wchar_t* scheme : KnownSchemes) {
        const size_t length = wcslen(scheme);
        knownScheme = knownScheme || (streamAddress.size() > length && streamAddress.compare(0, length, scheme) == 0);
    }
    if (!knownScheme)
        return L"The stream address must be a URL starting with rtsp://, rtsps://, rtmp://, http://, https://, udp:// or srt://.";
    if (streamAddress.size() > MaxStreamAddressLength)
        return L"The stream address is too long.";
    if (bufferLengthMs < MinBufferLengthMs || bufferLengthMs > MaxBufferLengthMs)
        return L"The buffer length must be between 100 and 60000 milliseconds.";
    if (reconnectAttempts < 0 || reconnectAttempts > MaxReconnectAttempts)
        return L"The number of reconnect attempts must be between 0 and 100.";
    return std::wstring();
}
