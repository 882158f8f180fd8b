// What the skin libraries "skin_controls.dll" and "skin_manager.dll" hand out: objects that
// are tables of operations in slot order. The program calls only the named slots; the others
// keep the order. Both libraries export "ox_get_interface" (a SkinGetInterface) and "ox_free"
// (a SkinFree, called before the library is unloaded).
#pragma once

#include <windows.h>

class IOxQueryInterface;

// The kinds of holder "ox_get_interface" is asked for.
const int SkinManagerInterface = 3;
const int SkinControlsInterface = 4;

class SkinManagerObject {
public:
    virtual void Reserved1() = 0;
    // Nonzero for a skin file this library can show: its display name goes to name (size
    // characters at most), and atBack says at which end of the list it belongs.
    virtual BOOL DescribeSkin(const wchar_t* path, const wchar_t* productName, const wchar_t* languageCode,
                              wchar_t* name, DWORD zero, DWORD* size, DWORD* atBack) = 0;
    virtual void Reserved3() = 0;
    // Nonzero when the skin is loaded and applied.
    virtual BOOL LoadSkin(const wchar_t* path) = 0;
    virtual void Reserved5() = 0;
    virtual void Reserved6() = 0;
    virtual BOOL GetCustomInfo(const wchar_t* address, DWORD values[4], DWORD* extra, DWORD* id, DWORD zero) = 0;
    virtual COLORREF SysColor(int colorIndex) = 0;
    virtual const wchar_t* GetString(const wchar_t* key, const wchar_t* defaultText) = 0;
    virtual DWORD QueryValue(const wchar_t* text) = 0;

protected:
    ~SkinManagerObject() = default;
};

class SkinControlsObject {
public:
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;
    virtual void Reserved3() = 0;
    virtual void AttachManager(SkinManagerObject* manager) = 0;
    virtual void SkinWindow(HWND window, DWORD skinned) = 0;
    virtual void Reserved6() = 0;
    virtual void Reserved7() = 0;
    virtual void Reserved8() = 0;
    // Nonzero when the box was shown; result is the button pressed.
    virtual BOOL DrawMessageBox(const wchar_t* text, const wchar_t* caption, UINT type, HWND owner, DWORD* result) = 0;
    // Nonzero when the menu was shown; result is what it answered.
    virtual BOOL DrawPopupMenu(DWORD* result, HMENU menu, UINT flags, int x, int y, HWND owner, DWORD extra1,
                                DWORD extra2, DWORD extra3) = 0;
    virtual void Reserved11() = 0;
    virtual DWORD CustomDialog(DWORD value, const wchar_t* address, DWORD param, DWORD modal) = 0;

protected:
    ~SkinControlsObject() = default;
};

class SkinControlsHolder {
public:
    virtual BOOL Start(DWORD zero) = 0;
    virtual SkinControlsObject* Controls() = 0;
    virtual void Shutdown() = 0;

protected:
    ~SkinControlsHolder() = default;
};

class SkinManagerHolder {
public:
    virtual BOOL Start() = 0;
    virtual SkinManagerObject* Manager() = 0;
    virtual void Shutdown() = 0;

protected:
    ~SkinManagerHolder() = default;
};

typedef void* (*SkinGetInterface)(int kind, IOxQueryInterface* programMgr);
typedef void (*SkinFree)();
