#include "stream_settings.h"

#include <windows.h>

#include "platform/reg_key.h"

const wchar_t StreamSettingsKey[] = L"Software\\ZELK Soft\\ZELK Vantor Source Filter";

namespace {

const wchar_t StreamAddressValue[] = L"StreamAddress";
const wchar_t BufferLengthValue[] = L"BufferLength";
const wchar_t ReconnectAttemptsValue[] = L"ReconnectAttempts";

const wchar_t* const KnownSchemes[] = {L"rtsp://", L"rtsps://", L"rtmp://", L"http://", L"https://", L"udp://", L"srt://"};

bool ReadNumber(const vantor::CRegKey& key, const wchar_t* name, int& value)
{
    DWORD data = 0;
    if (key.QueryDWORDValue(name, data) != ERROR_SUCCESS)
        return false;
    value = static_cast<int>(data);
    return true;
}

// Also a text stored without its terminator.
bool ReadText(const vantor::CRegKey& key, const wchar_t* name, std::wstring& value)
{
    DWORD size = 0;
    DWORD type = 0;
    if (key.QueryValue(name, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    ULONG read = static_cast<ULONG>(text.size() * sizeof(wchar_t));
    if (key.QueryValue(name, &type, &text[0], &read) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    text.resize(wcsnlen(text.c_str(), text.size()));
    value = text;
    return true;
}

} // namespace

StreamSettings StreamSettings::Defaults()
{
    return StreamSettings{L"rtsp://camera.local:554/live", 3000, 5};
}

StreamSettings StreamSettings::Load()
{
    StreamSettings settings = Defaults();
    vantor::CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, StreamSettingsKey, KEY_READ) != ERROR_SUCCESS)
        return settings;
    StreamSettings stored = settings;
    ReadText(key, StreamAddressValue, stored.streamAddress);
    ReadNumber(key, BufferLengthValue, stored.bufferLengthMs);
    ReadNumber(key, ReconnectAttemptsValue, stored.reconnectAttempts);
    // Values edited by hand into something the filter cannot use count as missing.
    return stored.Validate().empty() ? stored : settings;
}

bool StreamSettings::Save() const
{
    vantor::CRegKey key;
    return key.Create(HKEY_CURRENT_USER, StreamSettingsKey) == ERROR_SUCCESS
        && key.SetStringValue(StreamAddressValue, streamAddress.c_str()) == ERROR_SUCCESS
        && key.SetDWORDValue(BufferLengthValue, static_cast<DWORD>(bufferLengthMs)) == ERROR_SUCCESS
        && key.SetDWORDValue(ReconnectAttemptsValue, static_cast<DWORD>(reconnectAttempts)) == ERROR_SUCCESS;
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
