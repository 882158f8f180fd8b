// The program's visible job done with plain Win32 calls and nothing else, as the baseline the
// program is measured against: one instance at a time (a later start hands its command line to
// the running one and ends with -1), the filter's property pages in the system frame with a
// taskbar button, centred on its monitor, and exit code 0 when the frame closes. Its mutex and
// window class are its own, so it never talks to the program.
#include <windows.h>

#include <olectl.h>
#include <strmif.h>

namespace {

const wchar_t MutexName[] = L"ZELK-Vantor-Minimal-Baseline";
const wchar_t WindowClassName[] = L"ZELK Vantor Minimal Baseline";
const ULONG_PTR CommandLineTag = 0x890DF6AE;
const CLSID FilterClassId = {0x55C39876, 0xFF76, 0x4AB0, {0xAA, 0xB0, 0x0A, 0x46, 0xD5, 0x35, 0xA2, 0x6B}};

// Owners small enough for a baseline: a COM pointer, a kernel handle, a page list.
template <class Interface>
struct Com {
    Interface* pointer = nullptr;
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com()
    {
        if (pointer != nullptr)
            pointer->Release();
    }
    void** Receive() { return reinterpret_cast<void**>(&pointer); }
};

struct Handle {
    HANDLE handle;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle()
    {
        if (handle != nullptr)
            ::CloseHandle(handle);
    }
};

struct Pages {
    CAUUID list = {0, nullptr};
    Pages() = default;
    Pages(const Pages&) = delete;
    Pages& operator=(const Pages&) = delete;
    ~Pages() { ::CoTaskMemFree(list.pElems); }
};

HHOOK hook = nullptr;
bool frameCreated = false;
bool frameCentred = false;

bool IsTopLevelDialog(HWND window, const CREATESTRUCTW* creation)
{
    wchar_t className[16] = L"";
    ::GetClassNameW(window, className, 16);
    const HWND parent = creation != nullptr ? creation->hwndParent : ::GetParent(window);
    const LONG style = creation != nullptr ? creation->style : ::GetWindowLongW(window, GWL_STYLE);
    return lstrcmpW(className, L"#32770") == 0 && (parent == nullptr || (style & WS_CHILD) == 0);
}

LRESULT CALLBACK OnDialog(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && !frameCreated
        && IsTopLevelDialog(window, reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs)) {
        frameCreated = true;
        ::SetWindowLongW(window, GWL_EXSTYLE, ::GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_APPWINDOW);
    } else if (code == HCBT_ACTIVATE && window != nullptr && frameCreated && !frameCentred
               && IsTopLevelDialog(window, nullptr)) {
        frameCentred = true;
        // Some systems drop a style set while the window is being created.
        ::SetWindowLongW(window, GWL_EXSTYLE, ::GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_APPWINDOW);
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        RECT frame;
        if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)
            && ::GetWindowRect(window, &frame)) {
            const RECT& work = monitor.rcWork;
            ::SetWindowPos(window, nullptr, (work.left + work.right - (frame.right - frame.left)) / 2,
                           (work.top + work.bottom - (frame.bottom - frame.top)) / 2, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

LRESULT CALLBACK OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA)
        return reinterpret_cast<const COPYDATASTRUCT*>(lParam)->dwData == CommandLineTag;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool ForwardToRunningInstance(HANDLE mutex)
{
    const DWORD waited = ::WaitForSingleObject(mutex, 5000);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        return false;
    const HWND running = ::FindWindowW(WindowClassName, nullptr);
    if (running == nullptr)
        return false;
    const wchar_t* const commandLine = ::GetCommandLineW();
    COPYDATASTRUCT record = {CommandLineTag, static_cast<DWORD>(lstrlenW(commandLine) * sizeof(wchar_t)),
                             const_cast<wchar_t*>(commandLine)};
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record),
                               SMTO_NORMAL | SMTO_ABORTIFHUNG, 5000, &result)
        || result == 0)
        return false;
    const HWND popup = ::GetWindow(running, GW_ENABLEDPOPUP);
    if (popup != nullptr) {
        ::SetForegroundWindow(popup);
        if (::IsIconic(popup))
            ::ShowWindow(popup, SW_RESTORE);
    }
    return true;
}

void ShowFilterPages(HWND owner)
{
    Com<IBaseFilter> filter;
    if (FAILED(::CoCreateInstance(FilterClassId, nullptr, CLSCTX_ALL, IID_IBaseFilter, filter.Receive()))) {
        ::MessageBoxW(nullptr, L"Error creating settings page", nullptr, MB_ICONERROR);
        return;
    }
    Com<ISpecifyPropertyPages> pageSource;
    if (FAILED(filter.pointer->QueryInterface(IID_ISpecifyPropertyPages, pageSource.Receive())))
        return;
    CAUUID received = {0, nullptr};
    if (FAILED(pageSource.pointer->GetPages(&received)))
        return;
    Pages pages;
    pages.list = received;
    FILTER_INFO info = {};
    if (SUCCEEDED(filter.pointer->QueryFilterInfo(&info)) && info.pGraph != nullptr)
        info.pGraph->Release();
    hook = ::SetWindowsHookExW(WH_CBT, OnDialog, nullptr, ::GetCurrentThreadId());
    IUnknown* objects[1] = {filter.pointer};
    ::OleCreatePropertyFrame(owner, 0, 0, info.achName, 1, objects, pages.list.cElems, pages.list.pElems, 0, 0, nullptr);
    ::UnhookWindowsHookEx(hook);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    const Handle mutex = {::CreateMutexW(nullptr, TRUE, MutexName)};
    if (::GetLastError() == ERROR_ALREADY_EXISTS && ForwardToRunningInstance(mutex.handle))
        return -1;
    ::CoInitialize(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = OnMessage;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = WindowClassName;
    ::RegisterClassW(&windowClass);
    const HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT, WindowClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          instance, nullptr);
    ::ReleaseMutex(mutex.handle);
    ShowFilterPages(window);
    ::DestroyWindow(window);
    ::CoUninitialize();
    return 0;
}
