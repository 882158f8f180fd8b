// The description of a banner: a child window that shows a web page or HTML text.
#pragma once

#include <string>

#include <windows.h>

enum BannerFlags : DWORD {
    BannerContentIsHtml = 0x01,   // the content is HTML text, else an address
    BannerFallbackIsHtml = 0x02,  // the fallback content is HTML text, else an address
    BannerNotifyError = 0x04,     // tell the parent about a failed load
    BannerNotifyComplete = 0x08,  // tell the parent about a completed load
    BannerAskOnLink = 0x10,       // ask the parent before a link is followed
};

struct BannerInfo {
    HWND parent;
    std::wstring content;
    std::wstring fallbackContent;  // shown once after a failed load; may be empty
    RECT rect;                     // in the parent's client coordinates
    DWORD hostFlags;               // the browser host's user-interface flags, passed unchanged
    DWORD bannerFlags;             // BannerFlags
};
