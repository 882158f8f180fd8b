// A child window that shows a web page or HTML text for display, not for browsing: links the
// user clicks open in the user's browser, "appcommand:close" closes the banner, the browser's
// own error pages are never shown, and a failed load shows the fallback content once. The
// parent takes part through WM_NOTIFY.
#pragma once

#include <memory>
#include <string>

#include "framework/interfaces/banner_info.h"
#include "platform/window_impl.h"
#include "ui/browser_host.h"

// WM_NOTIFY codes a banner sends its parent.
enum BannerNotification : UINT {
    BannerNavigateError = 1,     // answer nonzero when the parent dealt with the failed load
    BannerNavigateComplete = 2,
    BannerLinkClicked = 3,       // BannerLinkClickedInfo; answer nonzero when the parent decided
};

struct BannerLinkClickedInfo {
    NMHDR header;
    const wchar_t* address;
    LONG cancel;  // set by the parent: the link is not followed at all
    LONG stay;    // set by the parent: the link is followed inside the banner
};

// What a banner uses of the world: its browser and the user's browser for clicked links.
struct BannerServices {
    const BrowserHostOperations* host;
    void (*openInUsersBrowser)(const wchar_t* address);
};

typedef vantor::CWinTraits<WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0> BannerWinTraits;

class BannerCtrl : public vantor::CWindowImpl<BannerCtrl, vantor::CWindow, BannerWinTraits> {
public:
    DECLARE_WND_CLASS_EX(L"ZELK Banner", 0, COLOR_WINDOW)

    BannerCtrl(const BannerInfo& info, const BannerServices& services);
    virtual ~BannerCtrl();

    BEGIN_MSG_MAP(BannerCtrl)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenu)
        MESSAGE_HANDLER(BannerRefresh, OnRefresh)
        MESSAGE_HANDLER(BannerHostNotify, OnHostNotify)
    END_MSG_MAP()

    // The object deletes itself after its window's last message, once the window was made.
    void OnFinalMessage(HWND) override;

    // Banners alive in this process.
    static int LiveCount();

private:
    friend HWND CreateBannerWindow(const BannerInfo& info, WORD controlId, const BannerServices& services);

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnContextMenu(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRefresh(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnHostNotify(UINT, WPARAM, LPARAM, BOOL&);

    void BeforeNavigate(const BannerNavigation& navigation);
    void NavigationFailed(const BannerNavigation& navigation);
    void LoadFallback();
    void NavigationDone();

    // Shows content as HTML or goes to it as an address; false when the banner was destroyed
    // meanwhile (a write pumps messages, and loads may nest), and then the object must not be
    // touched.
    bool Load(const std::wstring& content, bool isHtml);
    // Sends the notification and gives the parent's answer; false when the parent destroyed
    // the banner meanwhile, and then the object must not be touched.
    bool NotifyParent(UINT code, LRESULT& answer);
    // Only web and mail addresses go to the user's browser; every other one is just refused.
    static void OpenOutside(const BannerServices& world, const std::wstring& address);

    BannerServices services;
    std::wstring fallbackContent;
    bool loading = false;
    DWORD bannerFlags;
    DWORD hostFlags;
    bool showingEmptyPage = false;
    bool windowMade = false;
    // Set false when the object goes; a call that may destroy the banner holds a copy to look
    // at afterwards, however deeply such calls nest.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

// The banner of the description with the system's browser, hidden, loading its content;
// null when the window or its browser cannot be made.
HWND CreateBannerWindow(const BannerInfo& info, WORD controlId);
HWND CreateBannerWindow(const BannerInfo& info, WORD controlId, const BannerServices& services);
