// Window implementation in the manner of ATL's CWindowImpl: a C++ object that owns the
// procedure of a window of its own registered class and handles its messages in a message map.
#pragma once

#include <mutex>
#include <type_traits>

#include "platform/app_module.h"
#include "platform/thunked_window.h"

namespace vantor {

template <DWORD Style = 0, DWORD ExStyle = 0>
struct CWinTraits {
    static DWORD GetWndStyle(DWORD style) { return style == 0 ? Style : style; }
    static DWORD GetWndExStyle(DWORD exStyle) { return exStyle == 0 ? ExStyle : exStyle; }
};

typedef CWinTraits<WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0> CControlWinTraits;

// The class a window implementation registers when it creates a window and the module has no
// class of that name; an existing class of that name is used as it is.
class CWndClassInfo {
public:
    CWndClassInfo(LPCWSTR className, UINT style, int background, LPCWSTR cursor = IDC_ARROW);

    // False when the class neither exists nor could be registered.
    bool Register(HINSTANCE instance);
    LPCWSTR ClassName() const { return className; }

private:
    LPCWSTR className;
    UINT style;
    int background;
    LPCWSTR cursor;
    std::mutex registering;
};

// Declares the window class of a CWindowImpl: name, class style and system background colour.
#define DECLARE_WND_CLASS_EX(name, style, background)                                     \
    static ::vantor::CWndClassInfo& GetWndClassInfo()                                    \
    {                                                                                    \
        static ::vantor::CWndClassInfo info(name, style, background);                    \
        return info;                                                                     \
    }

class CWindowImplBase : public CThunkedWindow, public CMessageMap {
public:
    virtual ~CWindowImplBase() = default;
    // The procedure the window's messages are bound to.
    virtual WNDPROC GetWindowProc() { return WindowProc; }
    // Called after the window's last message; the object may delete itself here.
    virtual void OnFinalMessage(HWND) {}

protected:
    HWND CreateImpl(CWndClassInfo& classInfo, HWND parent, const RECT* rect, LPCWSTR windowName,
                    DWORD style, DWORD exStyle, HMENU menuOrId, void* param);

private:
    static LRESULT CALLBACK WindowProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam);
};

template <class T, class TBase = CWindow, class TWinTraits = CControlWinTraits>
class CWindowImpl : public CWindowImplBase {
    static_assert(std::is_same<TBase, CWindow>::value, "window implementations derive from CWindow");

public:
    // A null rectangle means the default position and size.
    HWND Create(HWND parent, const RECT* rect = nullptr, LPCWSTR windowName = nullptr, DWORD style = 0,
                DWORD exStyle = 0, HMENU menuOrId = nullptr, void* param = nullptr)
    {
        return CreateImpl(T::GetWndClassInfo(), parent, rect, windowName, TWinTraits::GetWndStyle(style),
                          TWinTraits::GetWndExStyle(exStyle), menuOrId, param);
    }
};

} // namespace vantor
