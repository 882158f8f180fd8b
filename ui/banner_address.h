// What a banner makes of an address its browser is about to go to. Free of Win32, so that it
// builds and runs natively too.
#pragma once

#include <string>

enum class BannerAddressKind {
    BrowserPage,   // the browser's own pages ("res://..."), such as its error pages: never shown
    CloseCommand,  // "appcommand:close": closes the banner
    WebOrMail,     // http:, https: and mailto: addresses, the only ones the user's browser gets
    Other,         // shown inside the banner at most, never handed on
};

// Schemes and the close command in any case of ASCII letters, and only those.
BannerAddressKind ClassifyBannerAddress(const std::wstring& address);
