#include "stream_source_page.h"

#include <cwchar>

#include <commctrl.h>
#include <prsht.h>

#include "page_resources.h"
#include "server_module.h"

const CLSID CLSID_StreamSourcePage = {0x8E3B5A41, 0x2C7D, 0x4F19, {0xA6, 0xE2, 0x5D, 0x0C, 0x94, 0xB1, 0xF3, 0xA7}};

namespace {

const wchar_t PageTitle[] = L"Stream";
const wchar_t MessageCaption[] = L"ZELK Vantor Source";
const UINT_PTR ParentSubclassId = 1;

INT_PTR CALLBACK IgnoreMessages(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The page's size in pixels, from its template created once, hidden. It is made the child of a
// plain window: a top-level dialog would look like a new frame to whoever watches dialogs
// being created on this thread.
SIZE PageSize()
{
    SIZE size = {0, 0};
    const HINSTANCE instance = server_module::Instance();
    const HWND host = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (host == nullptr)
        return size;
    const HWND probe = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_STREAM_PAGE), host, IgnoreMessages, 0);
    if (probe != nullptr) {
        RECT rect;
        ::GetWindowRect(probe, &rect);
        size.cx = rect.right - rect.left;
        size.cy = rect.bottom - rect.top;
    }
    ::DestroyWindow(host);
    return size;
}

int ReadNumber(HWND dialog, int controlId)
{
    BOOL valid = FALSE;
    const UINT value = ::GetDlgItemInt(dialog, controlId, &valid, FALSE);
    // Empty or out-of-range fields fail validation.
    return valid && value <= 0x7FFFFFFF ? static_cast<int>(value) : -1;
}

} // namespace

StreamSourcePage::StreamSourcePage() = default;

STDMETHODIMP StreamSourcePage::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IPropertyPage) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IPropertyPage*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP StreamSourcePage::SetPageSite(IPropertyPageSite* newSite)
{
    site = vantor::ComPtr<IPropertyPageSite>(newSite);
    return S_OK;
}

STDMETHODIMP StreamSourcePage::Activate(HWND parentWindow, LPCRECT rect, BOOL)
{
    if (dialog != nullptr)
        return E_UNEXPECTED;
    parent = parentWindow;
    dialog = ::CreateDialogParamW(server_module::Instance(), MAKEINTRESOURCEW(IDD_STREAM_PAGE), parent, DialogProc,
                                  reinterpret_cast<LPARAM>(this));
    if (dialog == nullptr)
        return E_FAIL;
    if (rect != nullptr)
        Move(rect);
    // A frame that only hands its pages PSN_APPLY (Wine's never calls Apply) still gets
    // the values applied on OK and Apply.
    ::SetWindowSubclass(parent, ParentProc, ParentSubclassId, reinterpret_cast<DWORD_PTR>(this));
    OnDialogCreated(dialog);
    return S_OK;
}

STDMETHODIMP StreamSourcePage::Deactivate()
{
    if (dialog == nullptr)
        return E_UNEXPECTED;
    ::RemoveWindowSubclass(parent, ParentProc, ParentSubclassId);
    ::DestroyWindow(dialog);
    dialog = nullptr;
    parent = nullptr;
    return S_OK;
}

STDMETHODIMP StreamSourcePage::GetPageInfo(PROPPAGEINFO* info)
{
    if (info == nullptr)
        return E_POINTER;
    info->cb = sizeof(PROPPAGEINFO);
    info->pszTitle = static_cast<LPOLESTR>(::CoTaskMemAlloc(sizeof(PageTitle)));
    if (info->pszTitle == nullptr)
        return E_OUTOFMEMORY;
    wmemcpy(info->pszTitle, PageTitle, sizeof(PageTitle) / sizeof(wchar_t));
    info->size = PageSize();
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
}

STDMETHODIMP StreamSourcePage::SetObjects(ULONG count, IUnknown** objects)
{
    filter.Reset();
    if (count == 0)
        return S_OK;
    if (objects == nullptr || objects[0] == nullptr)
        return E_POINTER;
    const HRESULT result = objects[0]->QueryInterface(IID_IStreamSourceSettings, reinterpret_cast<void**>(filter.Receive()));
    if (SUCCEEDED(result) && dialog != nullptr)
        ShowSettings(filter->GetSettings());
    return result;
}

STDMETHODIMP StreamSourcePage::Show(UINT showCommand)
{
    if (dialog == nullptr)
        return E_UNEXPECTED;
    ::ShowWindow(dialog, showCommand);
    return S_OK;
}

STDMETHODIMP StreamSourcePage::Move(LPCRECT rect)
{
    if (dialog == nullptr)
        return E_UNEXPECTED;
    if (rect == nullptr)
        return E_POINTER;
    ::MoveWindow(dialog, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
}

STDMETHODIMP StreamSourcePage::IsPageDirty()
{
    return dirty ? S_OK : S_FALSE;
}

STDMETHODIMP StreamSourcePage::Apply()
{
    if (!dirty)
        return S_OK;
    if (!filter || dialog == nullptr)
        return E_UNEXPECTED;
    const StreamSettings settings = ReadControls();
    const std::wstring problem = settings.Validate();
    if (!problem.empty()) {
        ::MessageBoxW(dialog, problem.c_str(), MessageCaption, MB_OK | MB_ICONWARNING);
        return E_FAIL;
    }
    const HRESULT stored = filter->SetSettings(settings);
    if (FAILED(stored)) {
        ::MessageBoxW(dialog, L"The settings could not be stored.", MessageCaption, MB_OK | MB_ICONERROR);
        return stored;
    }
    dirty = false;
    if (site)
        site->OnStatusChange(PROPPAGESTATUS_CLEAN);
    return S_OK;
}

STDMETHODIMP StreamSourcePage::Help(LPCOLESTR)
{
    return E_NOTIMPL;
}

STDMETHODIMP StreamSourcePage::TranslateAccelerator(MSG* message)
{
    return dialog != nullptr && ::IsDialogMessageW(dialog, message) ? S_OK : S_FALSE;
}

void StreamSourcePage::ShowSettings(const StreamSettings& settings)
{
    showingSettings = true;
    ::SetDlgItemTextW(dialog, IDC_STREAM_ADDRESS, settings.streamAddress.c_str());
    ::SetDlgItemInt(dialog, IDC_BUFFER_LENGTH, static_cast<UINT>(settings.bufferLengthMs), FALSE);
    ::SetDlgItemInt(dialog, IDC_RECONNECT_ATTEMPTS, static_cast<UINT>(settings.reconnectAttempts), FALSE);
    showingSettings = false;
}

StreamSettings StreamSourcePage::ReadControls() const
{
    StreamSettings settings;
    const HWND address = ::GetDlgItem(dialog, IDC_STREAM_ADDRESS);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(address)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(address, &text[0], static_cast<int>(text.size()))));
    settings.streamAddress = text;
    settings.bufferLengthMs = ReadNumber(dialog, IDC_BUFFER_LENGTH);
    settings.reconnectAttempts = ReadNumber(dialog, IDC_RECONNECT_ATTEMPTS);
    return settings;
}

void StreamSourcePage::MarkDirty()
{
    dirty = true;
    if (site)
        site->OnStatusChange(PROPPAGESTATUS_DIRTY);
    // Enables the sheet's Apply button also where the frame ignores OnStatusChange.
    ::SendMessageW(::GetParent(parent), PSM_CHANGED, reinterpret_cast<WPARAM>(parent), 0);
}

INT_PTR CALLBACK StreamSourcePage::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        StreamSourcePage* const page = reinterpret_cast<StreamSourcePage*>(lParam);
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        page->dialog = dialog;
        ::SendDlgItemMessageW(dialog, IDC_STREAM_ADDRESS, EM_LIMITTEXT, MaxStreamAddressLength, 0);
        ::SendDlgItemMessageW(dialog, IDC_BUFFER_LENGTH, EM_LIMITTEXT, 5, 0);
        ::SendDlgItemMessageW(dialog, IDC_RECONNECT_ATTEMPTS, EM_LIMITTEXT, 3, 0);
        if (page->filter)
            page->ShowSettings(page->filter->GetSettings());
        return TRUE;
    }
    StreamSourcePage* const page = reinterpret_cast<StreamSourcePage*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (page != nullptr && message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && !page->showingSettings) {
        page->MarkDirty();
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK StreamSourcePage::ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR pagePointer)
{
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY)) {
        // A later Apply from the frame finds the page clean and stores nothing twice.
        StreamSourcePage* const page = reinterpret_cast<StreamSourcePage*>(pagePointer);
        if (FAILED(page->Apply())) {
            ::SetWindowLongPtrW(window, DWLP_MSGRESULT, PSNRET_INVALID_NOCHANGEPAGE);
            return PSNRET_INVALID_NOCHANGEPAGE;
        }
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}
