#include "shell/dispatch_window.h"

#include <strmif.h>

#include "framework/interfaces/base_program_stuff.h"
#include "framework/interfaces/program_info.h"
#include "framework/interfaces/ui_mgr.h"
#include "framework/program_mgr.h"
#include "platform/com_ptr.h"
#include "shell/property_pages.h"
#include "ui/dialog_hooks.h"

namespace {

const int DispatchResourceId = 101;

// The ZELK Vantor Source filter.
const CLSID VantorSourceFilterClassId = {0x55C39876, 0xFF76, 0x4AB0, {0xAA, 0xB0, 0x0A, 0x46, 0xD5, 0x35, 0xA2, 0x6B}};

HICON LoadProgramIcon(int resourceId, int widthMetric, int heightMetric)
{
    return static_cast<HICON>(::LoadImageW(vantor::AppModule().GetModuleInstance(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric),
                                           LR_DEFAULTCOLOR));
}

boost::shared_ptr<IOxBaseProgramStuff> BaseProgramStuff()
{
    return OxInterfacePtr<IOxBaseProgramStuff>(GetProgramMgr(), "GlobalUse").Get();
}

} // namespace

CDispatchWindowBase::CDispatchWindowBase(int resourceId)
    : bigIcon(LoadProgramIcon(resourceId, SM_CXICON, SM_CYICON)),
      smallIcon(LoadProgramIcon(resourceId, SM_CXSMICON, SM_CYSMICON)),
      resourceId(resourceId)
{
}

std::wstring CDispatchWindowBase::GetMainCaption()
{
    return OxInterfacePtr<IOxProgramInfo>(GetProgramMgr(), "GlobalUse").Get()->GetFullName();
}

void CDispatchWindowBase::CloseDispatchWindow()
{
    OnBeforeClose();
    DestroyWindow();
    ::PostQuitMessage(0);
}

LRESULT CDispatchWindowBase::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled)
{
    // From now on command lines forwarded by later starts arrive through this window.
    BaseProgramStuff()->AttachMainWindow(m_hWnd);
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.Get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.Get()));
    // A language pack may carry a menu; the program file itself has none, and setting no menu
    // would only have the system lay out the window's frame again.
    if (const HMENU menu = ::LoadMenuW(vantor::AppModule().GetResourceInstance(), MAKEINTRESOURCEW(resourceId)))
        ::SetMenu(m_hWnd, menu);
    PostMessage(DispatchStartMessage);
    // Creation goes on in the default procedure.
    handled = FALSE;
    return 0;
}

LRESULT CDispatchWindowBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
    BaseProgramStuff()->AttachMainWindow(nullptr);
    return 0;
}

LRESULT CDispatchWindowBase::OnStart(UINT, WPARAM, LPARAM, BOOL&)
{
    if (started)
        return 0;
    started = true;
    ShowSettings();
    return 0;
}

LRESULT CDispatchWindowBase::OnAbout(WORD, WORD, HWND, BOOL&)
{
    OxInterfacePtr<IOxUiMgr>(GetProgramMgr(), "GlobalUse").Get()->ShowHtmlPage(L"copyrights\\index.html", 101, nullptr);
    return 0;
}

LRESULT CDispatchWindowBase::OnCloseCommand(WORD, WORD, HWND, BOOL&)
{
    CloseDispatchWindow();
    return 0;
}

CDispatchWindow::CDispatchWindow()
    : CDispatchWindowBase(DispatchResourceId)
{
}

void CDispatchWindow::ShowSettings()
{
    vantor::ComPtr<IBaseFilter> filter;
    HRESULT status = ::CoCreateInstance(VantorSourceFilterClassId, nullptr, CLSCTX_ALL, IID_IBaseFilter,
                                        reinterpret_cast<void**>(filter.Receive()));
    if (SUCCEEDED(status)) {
        vantor::ComPtr<ISpecifyPropertyPages> pages;
        if (FAILED(filter.QueryInterface(pages)))
            status = E_NOINTERFACE;
    }
    if (FAILED(status)) {
        ::MessageBoxW(nullptr, L"Error creating settings page", nullptr, MB_ICONERROR);
    } else {
        const DialogCreateHook taskbarButton;
        const DialogActivateHook centring;
        ShowPropertyPages(filter.Get(), m_hWnd);
    }
    CloseDispatchWindow();
}

namespace {

// A window that outlives its object would keep the subclasses chained over it calling freed code.
void DestroyDispatchWindow(CDispatchWindow* window)
{
    if (window->IsWindow())
        window->DestroyWindow();
    delete window;
}

} // namespace

boost::shared_ptr<CDispatchWindow> CreateDispatchWindow()
{
    boost::shared_ptr<CDispatchWindow> window(new CDispatchWindow, DestroyDispatchWindow);
    if (window->Create(nullptr) == nullptr)
        window.reset();
    return window;
}
