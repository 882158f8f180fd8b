// What a banner makes of an address its browser is about to go to. Free of Win32, so that it
// builds and runs natively too.
#pragma once

#include <cstdint>
#include <string>

enum class BannerAddressKind {
    BrowserPage,   // the browser's own pages ("res://..."), such as its error pages: never shown
    CloseCommand,  // "appcommand:close": closes the banner
    WebOrMail,     // http:, https: and mailto: addresses, the only ones the user's browser gets
    Other,         // shown inside the banner at most, never handed on
};

// Schemes and the close command in any case of ASCII letters, and only those.
BannerAddressKind ClassifyBannerAddress(const std::wstring& address);

// What an address "app:" + number asks for ("app:" in any case of ASCII letters, blanks and
// tabs before the digits skipped, the digits read up to the first other character).
struct AppAddress {
    bool isAppAddress;  // shown as the empty page instead
    bool postsNumber;   // false for a number beyond the largest one: nothing is posted
    uint64_t number;    // 0 without digits
};

AppAddress ReadAppAddress(const std::wstring& address, uint64_t largest);
