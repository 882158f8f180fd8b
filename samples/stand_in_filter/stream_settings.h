// The settings of a network stream source, as the filter keeps them under the current user.
#pragma once

#include <string>

struct StreamSettings {
    std::wstring streamAddress;
    int bufferLengthMs;
    int reconnectAttempts;

    static StreamSettings Defaults();
    // The stored settings; defaults for anything missing or unreadable.
    static StreamSettings Load();
    // False when the registry could not be written.
    bool Save() const;
    // An empty text when the settings are valid, else what is wrong, for the user.
    std::wstring Validate() const;
};

// Where the settings live below HKEY_CURRENT_USER.
extern const wchar_t StreamSettingsKey[];

const int MinBufferLengthMs = 100;
const int MaxBufferLengthMs = 60000;
const int MaxReconnectAttempts = 100;
const size_t MaxStreamAddressLength = 1024;
