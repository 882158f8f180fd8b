#include "platform/contained_window.h"

#include "platform/app_module.h"

namespace vantor {

CContainedWindow::CContainedWindow(CMessageMap* map, DWORD mapId)
    : map(map), mapId(mapId)
{
}

CContainedWindow::CContainedWindow(LPCWSTR superclassName, CMessageMap* map, DWORD mapId)
    : superclassName(superclassName != nullptr ? superclassName : L""), map(map), mapId(mapId)
{
}

HWND CContainedWindow::Create(HWND parent, const RECT& rect, LPCWSTR windowName, DWORD style, DWORD exStyle,
                              UINT id, void* param)
{
    if (superclassName.empty())
        return nullptr;
    WNDCLASSEXW base = {};
    base.cbSize = sizeof(base);
    if (!::GetClassInfoExW(nullptr, superclassName.c_str(), &base)
        && !::GetClassInfoExW(AppModule().GetModuleInstance(), superclassName.c_str(), &base))
        return nullptr;

    const std::wstring className = L"ATL:" + superclassName;
    const HINSTANCE instance = AppModule().GetModuleInstance();
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (!::GetClassInfoExW(instance, className.c_str(), &existing)) {
        WNDCLASSEXW superclass = base;
        superclass.lpfnWndProc = StartWindowProc;
        superclass.hInstance = instance;
        superclass.lpszClassName = className.c_str();
        superclass.lpszMenuName = nullptr;
        if (!::RegisterClassExW(&superclass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return nullptr;
    }
    superWindowProc = base.lpfnWndProc;
    return CreateBound(WindowProc, this, className.c_str(), instance, parent, &rect, windowName, style, exStyle,
                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CContainedWindow::SubclassWindow(HWND window)
{
    return SubclassBound(WindowProc, this, window);
}

HWND CContainedWindow::UnsubclassWindow()
{
    return UnsubclassBound();
}

LRESULT CALLBACK CContainedWindow::WindowProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam)
{
    CContainedWindow* const window = reinterpret_cast<CContainedWindow*>(self);
    return window->Dispatch(*window->map, window->mapId, message, wParam, lParam);
}

} // namespace vantor
