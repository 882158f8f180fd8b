// The browser a banner shows, behind a small table of operations: the system's WebBrowser
// control in the program, a scripted stand-in in tests. A host reports navigations to its
// window with BannerHostNotify messages.
#pragma once

#include <string>

#include <windows.h>

#include <oleauto.h>

// Sent by the host to its window: wParam a BannerHostCode, lParam a BannerNavigation or 0.
const UINT BannerHostNotify = WM_APP + 0x114;
// Makes a banner reload its page.
const UINT BannerRefresh = WM_APP + 0x155;

enum BannerHostCode : WPARAM {
    BannerLoadFallback = 12,   // posted by the banner to itself
    BannerBeforeNavigate = 13,
    BannerNavigateFailed = 14,
    BannerNavigateDone = 15,
};

// What a navigation is about; the window that receives it may cancel it.
struct BannerNavigation {
    std::wstring address;
    VARIANT_BOOL* cancel;
    HWND browserWindow;
};

enum BrowserCommandCode {
    BrowserGoBack = 0,
    BrowserGoForward = 1,
    BrowserGoHome = 2,
    BrowserGoSearch = 3,
    BrowserRefresh = 4,
    BrowserStop = 5,
};

// The operations of a browser host; each takes the window the browser lives in first.
struct BrowserHostOperations {
    // 0 on success; -1 no memory, -2 no browser object, -3 it is no OLE object, -4 it cannot be
    // placed in the window. forward: notifications go to the window's parent.
    int (*createBrowser)(HWND window, DWORD hostFlags, int forward);
    void (*destroyBrowser)(HWND window);
    // 0 on success; -5 no browser, -6 the address cannot be converted.
    int (*navigateBrowser)(HWND window, const wchar_t* address);
    // Waits (pumping the window's messages) for an empty page, then writes the text into it;
    // 0 on success. The window may be destroyed while it waits.
    int (*writeBrowserHtml)(HWND window, const wchar_t* html);
    void (*browserCommand)(HWND window, int command);
    void (*resizeBrowser)(HWND window, int width, int height);
};

// The system's WebBrowser control. It keeps its record of a window's browser in that window's
// user data (GWLP_USERDATA), from createBrowser until destroyBrowser: a window that hosts it
// must leave its user data to it.
const BrowserHostOperations& SystemBrowserHost();

// For an address "app:" + number: posts WM_APP with the number (0 without digits; blanks and
// tabs before it are skipped) to window and answers true, the address to show instead being
// "about:blank". A number beyond the range of WPARAM posts nothing. False for every other
// address.
bool TakeAppAddress(const wchar_t* address, HWND window);
