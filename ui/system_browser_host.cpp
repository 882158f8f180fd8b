// The system's WebBrowser control in a window: an OLE site of our own that places it there,
// sees its navigations and keeps its context menu and error pages away.
#include "ui/browser_host.h"

#include <cwchar>
#include <limits>
#include <new>
#include <utility>

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <ocidl.h>

#include "platform/com_ptr.h"
#include "platform/scoped_bstr.h"
#include "platform/scoped_safe_array.h"
#include "platform/scoped_variant.h"
#include "ui/banner_address.h"

namespace {

// How long a write waits for the empty page, and how often it looks.
const DWORD BlankPageWaitMs = 1000;
const DWORD BlankPagePollMs = 10;

// The record of one window's browser: the site the browser calls back, and the browser itself
// from its creation until it is closed. The browser's two interfaces are held together, and
// the site listens to the browser's events only while it holds them.
class BrowserSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame,
                    public IDocHostUIHandler, public IDispatch {
public:
    BrowserSite(HWND window, DWORD hostFlags, bool forward) : window(window), hostFlags(hostFlags), forward(forward) {}

    // Makes the browser object: 0, -2 when there is none, -3 when it is no OLE object.
    int CreateBrowserObject()
    {
        if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IWebBrowser2,
                                      reinterpret_cast<void**>(webBrowser.Receive()))))
            return -2;
        if (FAILED(webBrowser.QueryInterface(browser))) {
            webBrowser.Reset();
            return -3;
        }
        return 0;
    }

    // Places the browser over the window's client area and listens to its events; false when
    // it cannot be placed.
    bool PlaceInWindow()
    {
        RECT area;
        ::GetClientRect(window, &area);
        if (FAILED(browser->SetClientSite(static_cast<IOleClientSite*>(this)))
            || FAILED(browser->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0, window, &area)))
            return false;
        webBrowser->put_Left(0);
        webBrowser->put_Top(0);
        webBrowser->put_Width(area.right);
        webBrowser->put_Height(area.bottom);
        const vantor::ComPtr<IConnectionPoint> events = BrowserEvents();
        if (events)
            events->Advise(static_cast<IDispatch*>(this), &adviseCookie);
        return true;
    }

    // Stops listening, closes the browser and lets it go; the site itself lives on until the
    // last reference to it goes.
    void CloseBrowser()
    {
        if (adviseCookie != 0) {
            const vantor::ComPtr<IConnectionPoint> events = BrowserEvents();
            if (events)
                events->Unadvise(adviseCookie);
            adviseCookie = 0;
        }
        if (browser) {
            browser->Close(OLECLOSE_NOSAVE);
            browser->SetClientSite(nullptr);
        }
        browser.Reset();
        webBrowser.Reset();
    }

    // 0 on success; -5 no browser, -6 the address cannot be converted.
    int Navigate(const wchar_t* address)
    {
        if (!webBrowser)
            return -5;
        vantor::ScopedBstr text(::SysAllocString(address));
        if (!text)
            return -6;
        vantor::ScopedVariant target(std::move(text));
        vantor::ScopedVariant flags(LONG(0));
        webBrowser->Navigate2(target.AsInput(), flags.AsInput(), nullptr, nullptr, nullptr);
        return 0;
    }

    bool PageComplete() const
    {
        READYSTATE state = READYSTATE_UNINITIALIZED;
        return webBrowser && SUCCEEDED(webBrowser->get_ReadyState(&state)) && state == READYSTATE_COMPLETE;
    }

    // Writes html into the page shown and closes the page's stream; 0 on success.
    int WriteDocument(const wchar_t* html)
    {
        vantor::ComPtr<IDispatch> documentDispatch;
        vantor::ComPtr<IHTMLDocument2> document;
        if (!webBrowser || FAILED(webBrowser->get_Document(documentDispatch.Receive())) || !documentDispatch
            || FAILED(documentDispatch.QueryInterface(document)))
            return -1;
        vantor::ScopedSafeArray texts(::SafeArrayCreateVector(VT_VARIANT, 0, 1));
        if (!texts)
            return -1;
        vantor::ScopedVariant text{vantor::ScopedBstr(::SysAllocString(html))};
        VARIANT* element = nullptr;
        if (FAILED(::SafeArrayAccessData(texts.Get(), reinterpret_cast<void**>(&element))))
            return -1;
        *element = text.Release();
        ::SafeArrayUnaccessData(texts.Get());
        const HRESULT written = document->write(texts.Get());
        document->close();
        return SUCCEEDED(written) ? 0 : -1;
    }

    void Command(int command)
    {
        if (!webBrowser)
            return;
        switch (command) {
        case BrowserGoBack: webBrowser->GoBack(); break;
        case BrowserGoForward: webBrowser->GoForward(); break;
        case BrowserGoHome: webBrowser->GoHome(); break;
        case BrowserGoSearch: webBrowser->GoSearch(); break;
        case BrowserRefresh: webBrowser->Refresh(); break;
        case BrowserStop: webBrowser->Stop(); break;
        default: break;
        }
    }

    void Resize(int width, int height)
    {
        if (!webBrowser)
            return;
        webBrowser->put_Width(width);
        webBrowser->put_Height(height);
    }

    // IUnknown, shared by all the interfaces.
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *object = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *object = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *object = static_cast<IOleInPlaceFrame*>(this);
        else if (iid == IID_IDocHostUIHandler)
            *object = static_cast<IDocHostUIHandler*>(this);
        else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2)
            *object = static_cast<IDispatch*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG left = ::InterlockedDecrement(&references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override
    {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** container) override
    {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, for the in-place site and the frame alike.
    STDMETHODIMP GetWindow(HWND* result) override
    {
        *result = window;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) override
    {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        ::GetClientRect(window, position);
        *clip = *position;
        frameInfo->fMDIApp = FALSE;
        frameInfo->hwndFrame = window;
        frameInfo->haccel = nullptr;
        frameInfo->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD, POINT* position, IUnknown*, IDispatch*) override
    {
        ::PostMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(position->x, position->y));
        return S_OK;
    }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override
    {
        info->cbSize = sizeof(DOCHOSTUIINFO);
        info->dwFlags = hostFlags;
        info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*, IOleInPlaceUIWindow*) override
    {
        return S_OK;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override
    {
        *key = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** target) override
    {
        *target = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetExternal(IDispatch** external) override
    {
        *external = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR address, LPWSTR* translated) override
    {
        *translated = nullptr;
        if (address == nullptr || !TakeAppAddress(address, window))
            return S_FALSE;
        static const wchar_t blank[] = L"about:blank";
        *translated = static_cast<LPWSTR>(::CoTaskMemAlloc(sizeof(blank)));
        if (*translated == nullptr)
            return S_FALSE;
        std::wmemcpy(*translated, blank, sizeof(blank) / sizeof(wchar_t));
        return S_OK;
    }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** result) override
    {
        *result = nullptr;
        return S_FALSE;
    }

    // IDispatch: the browser's events.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*, UINT*) override
    {
        // Arguments arrive last first: the address is second, the cancel flag last.
        if (event == DISPID_BEFORENAVIGATE2 && parameters->cArgs >= 7)
            Notify(BannerBeforeNavigate, parameters->rgvarg[5], parameters->rgvarg[0]);
        else if (event == DISPID_NAVIGATEERROR && parameters->cArgs >= 5)
            Notify(BannerNavigateFailed, parameters->rgvarg[3], parameters->rgvarg[0]);
        else if (event == DISPID_NAVIGATECOMPLETE2)
            ::SendMessageW(Receiver(), BannerHostNotify, BannerNavigateDone, 0);
        return S_OK;
    }

private:
    virtual ~BrowserSite() = default;

    // The browser's DWebBrowserEvents2 connection point, or null.
    vantor::ComPtr<IConnectionPoint> BrowserEvents() const
    {
        vantor::ComPtr<IConnectionPointContainer> points;
        vantor::ComPtr<IConnectionPoint> events;
        if (FAILED(webBrowser.QueryInterface(points)) || FAILED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, events.Receive())))
            events.Reset();
        return events;
    }

    HWND Receiver() const { return forward ? ::GetParent(window) : window; }

    void Notify(BannerHostCode code, const VARIANT& address, const VARIANT& cancel)
    {
        const VARIANT* const text = (address.vt & VT_BYREF) ? address.pvarVal : &address;
        BannerNavigation navigation = {text != nullptr && text->vt == VT_BSTR && text->bstrVal != nullptr ? text->bstrVal : L"",
                                       (cancel.vt & VT_BYREF) ? cancel.pboolVal : nullptr, window};
        VARIANT_BOOL ignored = VARIANT_FALSE;
        if (navigation.cancel == nullptr)
            navigation.cancel = &ignored;
        ::SendMessageW(Receiver(), BannerHostNotify, code, reinterpret_cast<LPARAM>(&navigation));
    }

    LONG references = 1;
    HWND window;
    DWORD hostFlags;
    bool forward;
    vantor::ComPtr<IOleObject> browser;
    vantor::ComPtr<IWebBrowser2> webBrowser;
    DWORD adviseCookie = 0;
};

// The window's user data holds one reference to its site, from CreateBrowser to DestroyBrowser.
void KeepSiteInWindow(HWND window, vantor::ComPtr<BrowserSite> site)
{
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(site.Detach()));
}

vantor::ComPtr<BrowserSite> TakeSiteFromWindow(HWND window)
{
    vantor::ComPtr<BrowserSite> site;
    site.Attach(reinterpret_cast<BrowserSite*>(::SetWindowLongPtrW(window, GWLP_USERDATA, 0)));
    return site;
}

// Borrowed from the window's user data: null once the window's browser is destroyed.
BrowserSite* SiteOf(HWND window)
{
    return reinterpret_cast<BrowserSite*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

void DestroyBrowser(HWND window)
{
    const vantor::ComPtr<BrowserSite> site = TakeSiteFromWindow(window);
    if (site)
        site->CloseBrowser();
}

int CreateBrowser(HWND window, DWORD hostFlags, int forward)
{
    vantor::ComPtr<BrowserSite> site;
    site.Attach(new (std::nothrow) BrowserSite(window, hostFlags, forward != 0));
    if (!site)
        return -1;
    const int created = site->CreateBrowserObject();
    if (created != 0)
        return created;
    // In the window before the browser is placed, so that DestroyBrowser undoes a failed placement.
    KeepSiteInWindow(window, site);
    if (!site->PlaceInWindow()) {
        DestroyBrowser(window);
        return -4;
    }
    return 0;
}

int NavigateBrowser(HWND window, const wchar_t* address)
{
    BrowserSite* const site = SiteOf(window);
    return site == nullptr ? -5 : site->Navigate(address);
}

int WriteBrowserHtml(HWND window, const wchar_t* html)
{
    if (NavigateBrowser(window, L"about:blank") != 0)
        return -1;
    const DWORD started = ::GetTickCount();
    for (;;) {
        // Looked up afresh each time: the window may be destroyed while its messages are pumped.
        BrowserSite* const site = SiteOf(window);
        if (!::IsWindow(window) || site == nullptr)
            return -1;
        if (site->PageComplete() || ::GetTickCount() - started >= BlankPageWaitMs)
            break;
        MSG message;
        while (::PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(BlankPagePollMs);
    }
    BrowserSite* const site = SiteOf(window);
    return site == nullptr ? -1 : site->WriteDocument(html);
}

void BrowserCommand(HWND window, int command)
{
    if (BrowserSite* const site = SiteOf(window))
        site->Command(command);
}

void ResizeBrowser(HWND window, int width, int height)
{
    if (BrowserSite* const site = SiteOf(window))
        site->Resize(width, height);
}

const BrowserHostOperations SystemHost = {CreateBrowser, DestroyBrowser, NavigateBrowser, WriteBrowserHtml,
                                          BrowserCommand, ResizeBrowser};

} // namespace

const BrowserHostOperations& SystemBrowserHost()
{
    return SystemHost;
}

bool TakeAppAddress(const wchar_t* address, HWND window)
{
    if (address == nullptr)
        return false;
    const AppAddress app = ReadAppAddress(address, std::numeric_limits<WPARAM>::max());
    if (app.postsNumber)
        ::PostMessageW(window, WM_APP, static_cast<WPARAM>(app.number), 0);
    return app.isAppAddress;
}
