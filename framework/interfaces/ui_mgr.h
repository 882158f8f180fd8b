// "OxUiMgr": the program's look, drawn by optional skin libraries, with plain Win32 fallbacks
// for every operation, so that callers never test for a skin.
#pragma once

#include <string>
#include <vector>

#include <boost/signals2/signal.hpp>
#include <windows.h>

#include "framework/connect_position.h"
#include "framework/interface_ptr.h"
#include "framework/interfaces/banner_info.h"

typedef boost::signals2::signal<void(const std::wstring&)> SkinChangedSignal;

class IOxUiMgr {
public:
    // What a component of this kind is handed out as.
    typedef IOxUiMgr Interface;

    // Shows an HTML page of the program folder (relative path).
    virtual void ShowHtmlPage(const std::wstring& pagePath, WORD id, HWND owner) = 0;
    // Returns the pressed button; texts may be null.
    virtual int SkinMessageBox(const wchar_t* text, UINT type, HWND owner, const wchar_t* caption) = 0;
    virtual int SkinTrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner, DWORD extra1, DWORD extra2,
                                   DWORD extra3) = 0;
    virtual bool GetCustomInfo(DWORD id, DWORD values[4], DWORD* extra) = 0;
    virtual void SetCustomInfo(DWORD id, const DWORD values[4], DWORD extra) = 0;
    virtual int DoModalCustomDialog(DWORD value, UINT dialogId, DWORD param) = 0;
    virtual int CreateCustomDialog(DWORD value, UINT dialogId, DWORD param) = 0;
    virtual void ApplySkinToWindow(HWND window, DWORD reserved) = 0;
    // False when the skin state could not be made ready.
    virtual bool LoadSkins() = 0;
    virtual void ReservedWindowOperation(DWORD value, BYTE flag) = 0;
    virtual std::wstring& GetCurrentSkin(std::wstring& name) = 0;
    virtual void GetSkinNames(std::vector<std::wstring>& names) = 0;
    virtual void SelectSkin(const std::wstring& name) = 0;
    virtual boost::signals2::connection ConnectSkinChanged(const SkinChangedSignal::slot_type& handler,
                                                           ConnectPosition position) = 0;
    // The banner's window, or null.
    virtual HWND CreateBannerWindow(const BannerInfo& banner, WORD controlId) = 0;
    virtual COLORREF GetSkinSysColor(int colorIndex) = 0;
    virtual std::wstring GetSkinString(const std::wstring& key, const std::wstring& defaultText) = 0;
    virtual DWORD QuerySkinValue(const std::wstring& text) = 0;

protected:
    ~IOxUiMgr() = default;
};

class OxUiMgrEmpty : public IOxUiMgr {
public:
    explicit OxUiMgrEmpty(IOxQueryInterface*) {}

    void ShowHtmlPage(const std::wstring&, WORD, HWND) override {}
    int SkinMessageBox(const wchar_t*, UINT, HWND, const wchar_t*) override { return 0; }
    int SkinTrackPopupMenu(HMENU, UINT, int, int, HWND, DWORD, DWORD, DWORD) override { return 0; }
    bool GetCustomInfo(DWORD, DWORD[4], DWORD*) override { return false; }
    void SetCustomInfo(DWORD, const DWORD[4], DWORD) override {}
    int DoModalCustomDialog(DWORD, UINT, DWORD) override { return -1; }
    int CreateCustomDialog(DWORD, UINT, DWORD) override { return 0; }
    void ApplySkinToWindow(HWND, DWORD) override {}
    bool LoadSkins() override { return true; }
    void ReservedWindowOperation(DWORD, BYTE) override {}
    std::wstring& GetCurrentSkin(std::wstring& name) override
    {
        name.clear();
        return name;
    }
    void GetSkinNames(std::vector<std::wstring>& names) override { names.clear(); }
    void SelectSkin(const std::wstring&) override {}
    boost::signals2::connection ConnectSkinChanged(const SkinChangedSignal::slot_type&, ConnectPosition) override
    {
        return boost::signals2::connection();
    }
    HWND CreateBannerWindow(const BannerInfo&, WORD) override { return nullptr; }
    COLORREF GetSkinSysColor(int colorIndex) override { return ::GetSysColor(colorIndex); }
    std::wstring GetSkinString(const std::wstring&, const std::wstring& defaultText) override { return defaultText; }
    DWORD QuerySkinValue(const std::wstring&) override { return 0; }
};

OX_BIND_INTERFACE(IOxUiMgr, "OxUiMgr", OxUiMgrEmpty);
