#include "platform/window_impl.h"

namespace vantor {

CWndClassInfo::CWndClassInfo(LPCWSTR className, UINT style, int background, LPCWSTR cursor)
    : className(className), style(style), background(background), cursor(cursor)
{
}

bool CWndClassInfo::Register(HINSTANCE instance)
{
    std::lock_guard<std::mutex> lock(registering);
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, className, &existing))
        return true;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = CThunkedWindow::StartWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, cursor);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
    windowClass.lpszClassName = className;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowImplBase::CreateImpl(CWndClassInfo& classInfo, HWND parent, const RECT* rect, LPCWSTR windowName,
                                 DWORD style, DWORD exStyle, HMENU menuOrId, void* param)
{
    const HINSTANCE instance = AppModule().GetModuleInstance();
    if (!classInfo.Register(instance))
        return nullptr;
    return CreateBound(GetWindowProc(), this, classInfo.ClassName(), instance, parent, rect, windowName, style,
                       exStyle, menuOrId, param);
}

LRESULT CALLBACK CWindowImplBase::WindowProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWindowImplBase* const window = reinterpret_cast<CWindowImplBase*>(self);
    const HWND handle = window->m_hWnd;
    const LRESULT result = window->Dispatch(*window, 0, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        window->OnFinalMessage(handle);
    return result;
}

} // namespace vantor
