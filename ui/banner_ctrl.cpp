#include "ui/banner_ctrl.h"

#include "platform/shell_functions.h"
#include "ui/banner_address.h"

namespace {

// The timer that shows a banner that is still hidden.
const UINT_PTR ShowTimerId = 11;
const wchar_t BlankPage[] = L"about:blank";

int liveBanners = 0;

void OpenWithShell(const wchar_t* address)
{
    vantor::ShellFunctions::Execute(nullptr, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

BannerCtrl::BannerCtrl(const BannerInfo& info, const BannerServices& services)
    : services(services), fallbackContent(info.fallbackContent), bannerFlags(info.bannerFlags), hostFlags(info.hostFlags)
{
    ++liveBanners;
}

BannerCtrl::~BannerCtrl()
{
    --liveBanners;
}

int BannerCtrl::LiveCount()
{
    return liveBanners;
}

void BannerCtrl::OnFinalMessage(HWND)
{
    *alive = false;
    // A window that failed to be made still gets its last message; its maker deletes the object.
    if (windowMade)
        delete this;
}

LRESULT BannerCtrl::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    return services.host->createBrowser(m_hWnd, hostFlags, 0) == 0 ? 0 : -1;
}

LRESULT BannerCtrl::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
    services.host->destroyBrowser(m_hWnd);
    return 0;
}

LRESULT BannerCtrl::OnSize(UINT, WPARAM sizeType, LPARAM size, BOOL&)
{
    if (sizeType != SIZE_MINIMIZED)
        services.host->resizeBrowser(m_hWnd, LOWORD(size), HIWORD(size));
    return 0;
}

LRESULT BannerCtrl::OnTimer(UINT, WPARAM timerId, LPARAM, BOOL& handled)
{
    if (timerId != ShowTimerId) {
        handled = FALSE;
        return 0;
    }
    ::KillTimer(m_hWnd, ShowTimerId);
    if (!::IsWindowVisible(m_hWnd))
        ::ShowWindow(m_hWnd, SW_SHOW);
    return 0;
}

LRESULT BannerCtrl::OnContextMenu(UINT, WPARAM, LPARAM, BOOL&)
{
    return 0;
}

LRESULT BannerCtrl::OnRefresh(UINT, WPARAM, LPARAM, BOOL&)
{
    services.host->browserCommand(m_hWnd, BrowserRefresh);
    return 0;
}

LRESULT BannerCtrl::OnHostNotify(UINT, WPARAM code, LPARAM record, BOOL& handled)
{
    const BannerNavigation* const navigation = reinterpret_cast<const BannerNavigation*>(record);
    switch (code) {
    case BannerBeforeNavigate:
        if (navigation != nullptr)
            BeforeNavigate(*navigation);
        break;
    case BannerNavigateFailed:
        if (navigation != nullptr)
            NavigationFailed(*navigation);
        break;
    case BannerLoadFallback:
        LoadFallback();
        break;
    case BannerNavigateDone:
        NavigationDone();
        break;
    default:
        handled = FALSE;
        break;
    }
    return 0;
}

void BannerCtrl::BeforeNavigate(const BannerNavigation& navigation)
{
    const BannerAddressKind kind = ClassifyBannerAddress(navigation.address);
    if (kind == BannerAddressKind::BrowserPage) {
        *navigation.cancel = VARIANT_TRUE;
        return;
    }
    if (kind == BannerAddressKind::CloseCommand) {
        *navigation.cancel = VARIANT_TRUE;
        DestroyWindow();
        return;
    }
    // Once the banner's own page is there, a navigation is the user's click. Decided before
    // the parent is asked: it may destroy the banner meanwhile, and then only copies are left.
    bool goesOnInside = loading;
    const BannerServices world = services;
    if (bannerFlags & BannerAskOnLink) {
        BannerLinkClickedInfo link = {{m_hWnd, static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd)), BannerLinkClicked},
                                      navigation.address.c_str(), 0, 0};
        if (::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, link.header.idFrom, reinterpret_cast<LPARAM>(&link)) != 0) {
            if (link.cancel != 0) {
                *navigation.cancel = VARIANT_TRUE;
                return;
            }
            goesOnInside = link.stay != 0;
        }
    }
    if (!goesOnInside) {
        OpenOutside(world, navigation.address);
        *navigation.cancel = VARIANT_TRUE;
    }
}

void BannerCtrl::NavigationFailed(const BannerNavigation& navigation)
{
    loading = false;
    *navigation.cancel = VARIANT_TRUE;
    if (bannerFlags & BannerNotifyError) {
        const DWORD flags = bannerFlags;
        LRESULT handled = 0;
        if (!NotifyParent(BannerNavigateError, handled))
            return;
        if (handled != 0) {
            if (flags & BannerNotifyComplete)
                NotifyParent(BannerNavigateComplete, handled);
            return;
        }
    }
    // When even the empty page fails (a browser without an HTML engine) there is nothing left
    // to fall back to; trying again would never end.
    if (!showingEmptyPage)
        PostMessage(BannerHostNotify, BannerLoadFallback);
}

void BannerCtrl::LoadFallback()
{
    services.host->browserCommand(m_hWnd, BrowserStop);
    // Used once: a failing fallback falls back to the empty page.
    std::wstring content;
    content.swap(fallbackContent);
    loading = true;
    showingEmptyPage = content.empty();
    if (content.empty())
        Load(BlankPage, false);
    else
        Load(content, (bannerFlags & BannerFallbackIsHtml) != 0);
}

void BannerCtrl::NavigationDone()
{
    loading = false;
    LRESULT ignored = 0;
    if (bannerFlags & BannerNotifyComplete)
        NotifyParent(BannerNavigateComplete, ignored);
}

bool BannerCtrl::Load(const std::wstring& content, bool isHtml)
{
    const std::shared_ptr<const bool> stillAlive = alive;
    if (isHtml)
        services.host->writeBrowserHtml(m_hWnd, content.c_str());
    else
        services.host->navigateBrowser(m_hWnd, content.c_str());
    return *stillAlive;
}

bool BannerCtrl::NotifyParent(UINT code, LRESULT& answer)
{
    const std::shared_ptr<const bool> stillAlive = alive;
    NMHDR header = {m_hWnd, static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd)), code};
    answer = ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    return *stillAlive;
}

void BannerCtrl::OpenOutside(const BannerServices& world, const std::wstring& address)
{
    if (ClassifyBannerAddress(address) == BannerAddressKind::WebOrMail)
        world.openInUsersBrowser(address.c_str());
}

HWND CreateBannerWindow(const BannerInfo& info, WORD controlId)
{
    return CreateBannerWindow(info, controlId, BannerServices{&SystemBrowserHost(), OpenWithShell});
}

HWND CreateBannerWindow(const BannerInfo& info, WORD controlId, const BannerServices& services)
{
    BannerCtrl* const banner = new BannerCtrl(info, services);
    RECT rect = info.rect;
    const HWND window = banner->Create(info.parent, &rect);
    if (window == nullptr) {
        delete banner;
        return nullptr;
    }
    banner->windowMade = true;
    ::SetWindowLongW(window, GWL_ID, controlId);
    banner->loading = true;
    if (!banner->Load(info.content, (info.bannerFlags & BannerContentIsHtml) != 0))
        return nullptr;
    return window;
}
