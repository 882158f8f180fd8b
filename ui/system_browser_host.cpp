// The system's WebBrowser control in a window: an OLE site of our own that places it there,
// sees its navigations and keeps its context menu and error pages away.
#include "ui/browser_host.h"

#include <cwchar>
#include <limits>
#include <new>

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <ocidl.h>

#include "platform/com_ptr.h"
#include "ui/banner_address.h"

namespace {

// How long a write waits for the empty page, and how often it looks.
const DWORD BlankPageWaitMs = 1000;
const DWORD BlankPagePollMs = 10;

class BrowserSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame,
                    public IDocHostUIHandler, public IDispatch {
public:
    BrowserSite(HWND window, DWORD hostFlags, bool forward) : window(window), hostFlags(hostFlags), forward(forward) {}

    ComPtr<IOleObject> browser;
    ComPtr<IWebBrowser2> webBrowser;
    DWORD adviseCookie = 0;

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
};

BrowserSite* SiteOf(HWND window)
{
    return reinterpret_cast<BrowserSite*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

void DestroyBrowser(HWND window)
{
    BrowserSite* const site = SiteOf(window);
    if (site == nullptr)
        return;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ComPtr<IConnectionPointContainer> points;
    ComPtr<IConnectionPoint> events;
    if (site->adviseCookie != 0 && SUCCEEDED(site->webBrowser.QueryInterface(points))
        && SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, events.Receive())))
        events->Unadvise(site->adviseCookie);
    if (site->browser) {
        site->browser->Close(OLECLOSE_NOSAVE);
        site->browser->SetClientSite(nullptr);
    }
    site->browser.Reset();
    site->webBrowser.Reset();
    site->Release();
}

int CreateBrowser(HWND window, DWORD hostFlags, int forward)
{
    BrowserSite* const site = new (std::nothrow) BrowserSite(window, hostFlags, forward != 0);
    if (site == nullptr)
        return -1;
    if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IWebBrowser2,
                                  reinterpret_cast<void**>(site->webBrowser.Receive())))) {
        site->Release();
        return -2;
    }
    if (FAILED(site->webBrowser.QueryInterface(site->browser))) {
        site->Release();
        return -3;
    }
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(site));
    RECT area;
    ::GetClientRect(window, &area);
    if (FAILED(site->browser->SetClientSite(static_cast<IOleClientSite*>(site)))
        || FAILED(site->browser->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site), 0, window, &area))) {
        DestroyBrowser(window);
        return -4;
    }
    site->webBrowser->put_Left(0);
    site->webBrowser->put_Top(0);
    site->webBrowser->put_Width(area.right);
    site->webBrowser->put_Height(area.bottom);
    ComPtr<IConnectionPointContainer> points;
    ComPtr<IConnectionPoint> events;
    if (SUCCEEDED(site->webBrowser.QueryInterface(points))
        && SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, events.Receive())))
        events->Advise(static_cast<IDispatch*>(site), &site->adviseCookie);
    return 0;
}

int NavigateBrowser(HWND window, const wchar_t* address)
{
    BrowserSite* const site = SiteOf(window);
    if (site == nullptr || !site->webBrowser)
        return -5;
    VARIANT target;
    ::VariantInit(&target);
    target.vt = VT_BSTR;
    target.bstrVal = ::SysAllocString(address);
    if (target.bstrVal == nullptr)
        return -6;
    VARIANT flags;
    ::VariantInit(&flags);
    flags.vt = VT_I4;
    flags.lVal = 0;
    site->webBrowser->Navigate2(&target, &flags, nullptr, nullptr, nullptr);
    ::VariantClear(&target);
    return 0;
}

int WriteBrowserHtml(HWND window, const wchar_t* html)
{
    if (NavigateBrowser(window, L"about:blank") != 0)
        return -1;
    const DWORD started = ::GetTickCount();
    for (;;) {
        BrowserSite* const site = SiteOf(window);
        if (!::IsWindow(window) || site == nullptr)
            return -1;
        READYSTATE state = READYSTATE_UNINITIALIZED;
        if (SUCCEEDED(site->webBrowser->get_ReadyState(&state)) && state == READYSTATE_COMPLETE)
            break;
        if (::GetTickCount() - started >= BlankPageWaitMs)
            break;
        MSG message;
        while (::PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(BlankPagePollMs);
    }
    BrowserSite* const site = SiteOf(window);
    if (site == nullptr)
        return -1;
    ComPtr<IDispatch> documentDispatch;
    ComPtr<IHTMLDocument2> document;
    if (FAILED(site->webBrowser->get_Document(documentDispatch.Receive())) || !documentDispatch
        || FAILED(documentDispatch.QueryInterface(document)))
        return -1;
    SAFEARRAY* const texts = ::SafeArrayCreateVector(VT_VARIANT, 0, 1);
    if (texts == nullptr)
        return -1;
    VARIANT* element = nullptr;
    HRESULT written = E_FAIL;
    if (SUCCEEDED(::SafeArrayAccessData(texts, reinterpret_cast<void**>(&element)))) {
        element->vt = VT_BSTR;
        element->bstrVal = ::SysAllocString(html);
        ::SafeArrayUnaccessData(texts);
        written = document->write(texts);
        document->close();
    }
    ::SafeArrayDestroy(texts);
    return SUCCEEDED(written) ? 0 : -1;
}

void BrowserCommand(HWND window, int command)
{
    BrowserSite* const site = SiteOf(window);
    if (site == nullptr || !site->webBrowser)
        return;
    IWebBrowser2* const browser = site->webBrowser.Get();
    switch (command) {
    case BrowserGoBack: browser->GoBack(); break;
    case BrowserGoForward: browser->GoForward(); break;
    case BrowserGoHome: browser->GoHome(); break;
    case BrowserGoSearch: browser->GoSearch(); break;
    case BrowserRefresh: browser->Refresh(); break;
    case BrowserStop: browser->Stop(); break;
    default: break;
    }
}

void ResizeBrowser(HWND window, int width, int height)
{
    BrowserSite* const site = SiteOf(window);
    if (site == nullptr || !site->webBrowser)
        return;
    site->webBrowser->put_Width(width);
    site->webBrowser->put_Height(height);
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
