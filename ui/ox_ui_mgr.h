// The skin manager component: the program's look, drawn by the optional skin libraries
// "skin_controls.dll" and "skin_manager.dll" with the skins found in "skins", or the native
// look ("Classic Windows"); every operation falls back to plain Win32 without a skin.
#pragma once

#include <boost/shared_ptr.hpp>

#include "framework/interfaces/ui_mgr.h"

class OxUiMgr : public IOxUiMgr {
public:
    explicit OxUiMgr(IOxQueryInterface* queryInterface);

    void ShowHtmlPage(const std::wstring& pagePath, WORD id, HWND owner) override;
    int SkinMessageBox(const wchar_t* text, UINT type, HWND owner, const wchar_t* caption) override;
    int SkinTrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner, DWORD extra1, DWORD extra2,
                           DWORD extra3) override;
    bool GetCustomInfo(DWORD id, DWORD values[4], DWORD* extra) override;
    void SetCustomInfo(DWORD id, const DWORD values[4], DWORD extra) override;
    int DoModalCustomDialog(DWORD value, UINT dialogId, DWORD param) override;
    int CreateCustomDialog(DWORD value, UINT dialogId, DWORD param) override;
    void ApplySkinToWindow(HWND window, DWORD reserved) override;
    // Loads the libraries (with "UseSkins"), finds the skins, adds "Classic Windows" (with
    // "UseNative") and makes the skin saved under "Skin\Current", or the first one, current.
    bool LoadSkins() override;
    void ReservedWindowOperation(DWORD value, BYTE flag) override;
    std::wstring& GetCurrentSkin(std::wstring& name) override;
    void GetSkinNames(std::vector<std::wstring>& names) override;
    // Remembers the choice for the next start; the look does not change now.
    void SelectSkin(const std::wstring& name) override;
    boost::signals2::connection ConnectSkinChanged(const SkinChangedSignal::slot_type& handler,
                                                   ConnectPosition position) override;
    HWND CreateBannerWindow(const BannerInfo& banner, WORD controlId) override;
    COLORREF GetSkinSysColor(int colorIndex) override;
    std::wstring GetSkinString(const std::wstring& key, const std::wstring& defaultText) override;
    DWORD QuerySkinValue(const std::wstring& text) override;

    virtual ~OxUiMgr();

    class impl;

private:
    SkinChangedSignal skinChanged;
    boost::shared_ptr<impl> pimpl;
};
