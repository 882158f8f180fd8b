#include "platform/thunked_window.h"

namespace vantor {

namespace {

// The window being created on this thread, waiting for its first message.
struct PendingBinding {
    CThunkedWindow* window;
    WNDPROC proc;
    void* object;
};
thread_local PendingBinding pendingBinding = {nullptr, nullptr, nullptr};

} // namespace

CThunkedWindow::~CThunkedWindow()
{
    if (IsBoundToThisObject())
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superWindowProc));
    else if (WindowLivesOnThisThread())
        thunk.Orphan(superWindowProc, m_hWnd);
}

bool CThunkedWindow::WindowLivesOnThisThread() const
{
    return m_hWnd != nullptr && ::IsWindow(m_hWnd)
        && ::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId();
}

bool CThunkedWindow::IsBoundToThisObject() const
{
    return WindowLivesOnThisThread()
        && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == thunk.GetWindowProc();
}

LRESULT CThunkedWindow::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(superWindowProc, m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CThunkedWindow::StartWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const PendingBinding binding = pendingBinding;
    pendingBinding = PendingBinding{nullptr, nullptr, nullptr};
    if (binding.window == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    binding.window->m_hWnd = window;
    binding.window->thunk.Init(binding.proc, binding.object);
    const WNDPROC bound = binding.window->thunk.GetWindowProc();
    if (bound == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(bound));
    return bound(window, message, wParam, lParam);
}

HWND CThunkedWindow::CreateBound(WNDPROC proc, void* object, LPCWSTR className, HINSTANCE instance, HWND parent,
                                 const RECT* rect, LPCWSTR windowName, DWORD style, DWORD exStyle,
                                 HMENU menuOrId, void* param)
{
    if (m_hWnd != nullptr || thunk.GetWindowProc() == nullptr)
        return nullptr;
    const int x = rect != nullptr ? rect->left : CW_USEDEFAULT;
    const int y = rect != nullptr ? rect->top : CW_USEDEFAULT;
    const int width = rect != nullptr ? rect->right - rect->left : CW_USEDEFAULT;
    const int height = rect != nullptr ? rect->bottom - rect->top : CW_USEDEFAULT;
    pendingBinding = PendingBinding{this, proc, object};
    const HWND window = ::CreateWindowExW(exStyle, className, windowName, style, x, y, width, height,
                                         parent, menuOrId, instance, param);
    pendingBinding = PendingBinding{nullptr, nullptr, nullptr};
    if (window == nullptr)
        m_hWnd = nullptr;
    return window;
}

BOOL CThunkedWindow::SubclassBound(WNDPROC proc, void* object, HWND window)
{
    if (m_hWnd != nullptr || !::IsWindow(window) || thunk.GetWindowProc() == nullptr)
        return FALSE;
    thunk.Init(proc, object);
    const WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(thunk.GetWindowProc())));
    if (previous == nullptr)
        return FALSE;
    superWindowProc = previous;
    m_hWnd = window;
    return TRUE;
}

HWND CThunkedWindow::UnsubclassBound()
{
    if (!IsBoundToThisObject())
        return nullptr;
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superWindowProc));
    superWindowProc = ::DefWindowProcW;
    const HWND window = m_hWnd;
    m_hWnd = nullptr;
    return window;
}

LRESULT CThunkedWindow::Dispatch(CMessageMap& map, DWORD mapId, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!map.ProcessWindowMessage(m_hWnd, message, wParam, lParam, result, mapId))
        result = DefWindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        m_hWnd = nullptr;
    return result;
}

} // namespace vantor
