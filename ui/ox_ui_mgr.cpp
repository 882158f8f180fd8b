#include "ui/ox_ui_mgr.h"

#include <algorithm>
#include <cwchar>
#include <deque>
#include <map>

#include "framework/component_view.h"
#include "framework/interfaces/base_program_stuff.h"
#include "framework/interfaces/multi_language.h"
#include "framework/interfaces/program_info.h"
#include "framework/interfaces/program_settings.h"
#include "platform/module_path.h"
#include "ui/banner_ctrl.h"
#include "ui/dialog_hooks.h"
#include "ui/quiet_error_mode.h"
#include "ui/skin_library.h"

namespace {

const wchar_t NativeSkinName[] = L"Classic Windows";
const size_t SkinNameLength = 128;

struct SkinEntry {
    std::wstring name;
    std::wstring path;  // empty for the native look
};

struct CustomInfo {
    DWORD values[4];
    DWORD extra;
};

typedef OxComponentView<IOxUiMgr> Components;

HMODULE ProgramModule(const Components& programMgr)
{
    return programMgr.Get<IOxProgramInfo>()->GetModuleInstance();
}

// The folder part of a search pattern's full path, with its separator.
std::wstring PatternFolder(const std::wstring& pattern)
{
    wchar_t full[MAX_PATH] = L"";
    const DWORD length = ::GetFullPathNameW(pattern.c_str(), MAX_PATH, full, nullptr);
    std::wstring folder = length > 0 && length < MAX_PATH ? std::wstring(full, length) : pattern;
    folder.erase(folder.find_last_of(L"\\/") + 1);
    if (folder.empty() || (folder.back() != L'\\' && folder.back() != L'/'))
        folder += L'\\';
    return folder;
}

} // namespace

class OxUiMgr::impl {
public:
    explicit impl(IOxQueryInterface* queryInterface)
        : programMgr(queryInterface),
          controls(vantor::ResolveInProgramFolder(ProgramModule(programMgr), L"skin_controls.dll"), queryInterface),
          manager(vantor::ResolveInProgramFolder(ProgramModule(programMgr), L"skin_manager.dll"), queryInterface)
    {
    }

    ~impl() { StopLibraries(); }

    // Every load starts from here, so that a second one leaves what the first did: the
    // libraries an earlier load started are shut down, and its entries and skinned state would
    // point at libraries that are gone.
    void StartAfresh()
    {
        StopLibraries();
        skins.clear();
        skinned = false;
        currentName.clear();
    }

    void StopLibraries()
    {
        Stop(controls, controlsStarted, [this] { ControlsHolder()->Shutdown(); });
        Stop(manager, managerStarted, [this] { ManagerHolder()->Shutdown(); });
    }

    SkinControlsHolder* ControlsHolder() const { return static_cast<SkinControlsHolder*>(controls.Holder()); }
    SkinManagerHolder* ManagerHolder() const { return static_cast<SkinManagerHolder*>(manager.Holder()); }
    SkinControlsObject* Controls() const { return ControlsHolder()->Controls(); }
    SkinManagerObject* Manager() const { return ManagerHolder()->Manager(); }

    // Both libraries started, or neither: a library that failed to start is never called again,
    // and one that started gets its shutdown before it goes. No system error boxes from
    // anything a library does while it starts.
    void StartLibraries()
    {
        const QuietErrorMode quiet;
        bool started = controls.Load(SkinControlsInterface);
        if (started)
            started = controlsStarted = ControlsHolder()->Start(0) != FALSE;
        if (started)
            started = manager.Load(SkinManagerInterface);
        if (started) {
            started = managerStarted = ManagerHolder()->Start() != FALSE;
            if (!started)
                manager.Unload();
        }
        if (started)
            Controls()->AttachManager(Manager());
        else
            Stop(controls, controlsStarted, [this] { ControlsHolder()->Shutdown(); });
    }

    void DiscoverSkins()
    {
        const std::wstring pattern = vantor::ResolveInProgramFolder(ProgramModule(programMgr), L"skins\\*.*");
        const std::wstring folder = PatternFolder(pattern);
        const std::wstring product = programMgr.Get<IOxProgramInfo>()->GetProductName();
        const std::wstring language = programMgr.Get<IOxMultiLanguage>()->GetCurrentLanguage().code;
        WIN32_FIND_DATAW found = {};
        const vantor::ScopedFind search(::FindFirstFileW(pattern.c_str(), &found));
        if (!search)
            return;
        do {
            const std::wstring path = folder + found.cFileName;
            wchar_t name[SkinNameLength] = L"";
            DWORD size = SkinNameLength;
            DWORD atBack = 0;
            if (!Manager()->DescribeSkin(path.c_str(), product.c_str(), language.c_str(), name, 0, &size, &atBack))
                continue;
            // Bounded by the buffer: a library may fill it without a terminator.
            SkinEntry entry = {std::wstring(name, wcsnlen(name, SkinNameLength)), path};
            if (atBack != 0)
                skins.push_back(entry);
            else
                skins.push_front(entry);
        } while (::FindNextFileW(search.Get(), &found));
    }

    void AddNativeSkin() { skins.push_back(SkinEntry{NativeSkinName, std::wstring()}); }

    // Null when no skin has that name.
    const SkinEntry* FindSkin(const std::wstring& name) const
    {
        for (const SkinEntry& entry : skins) {
            if (entry.name == name)
                return &entry;
        }
        return nullptr;
    }

    // Null when there is no skin.
    const SkinEntry* FirstSkin() const { return skins.empty() ? nullptr : &skins.front(); }

    std::vector<std::wstring> SkinNames() const
    {
        std::vector<std::wstring> names;
        for (const SkinEntry& entry : skins)
            names.push_back(entry.name);
        return names;
    }

    // Makes one of the skins found current; the loaded skin, if any, is the chosen one's.
    void MakeCurrent(const SkinEntry& chosen)
    {
        skinned = !chosen.path.empty();
        currentName = chosen.name;
    }

    // Makes a skin found the choice for the next start; false for a name that is none.
    bool ChooseForNextStart(const std::wstring& name)
    {
        if (FindSkin(name) == nullptr)
            return false;
        currentName = name;
        return true;
    }

    const std::wstring& CurrentName() const { return currentName; }
    bool Skinned() const { return skinned; }
    bool ManagerLoaded() const { return manager.IsLoaded(); }
    const Components& ProgramMgr() const { return programMgr; }

    // With a skin its library keeps the custom values; without one they are kept here.
    bool GetCustomInfo(DWORD id, DWORD values[4], DWORD* extra) const
    {
        if (skinned) {
            const std::wstring address = L"Custom\\?Id=" + std::to_wstring(id);
            return Manager()->GetCustomInfo(address.c_str(), values, extra, &id, 0) != FALSE;
        }
        const auto found = customInfo.find(id);
        if (found == customInfo.end())
            return false;
        std::copy(found->second.values, found->second.values + 4, values);
        if (extra != nullptr)
            *extra = found->second.extra;
        return true;
    }

    void SetCustomInfo(DWORD id, const DWORD values[4], DWORD extra)
    {
        CustomInfo info = {{values[0], values[1], values[2], values[3]}, extra};
        customInfo[id] = info;
    }

private:
    template <class Shutdown>
    static void Stop(SkinLibrary& library, bool& started, Shutdown shutdown)
    {
        if (library.IsLoaded() && started)
            shutdown();
        started = false;
        library.Unload();
    }

    const Components programMgr;
    SkinLibrary controls;
    SkinLibrary manager;
    bool controlsStarted = false;
    bool managerStarted = false;
    std::deque<SkinEntry> skins;
    // True while the current skin is drawn by the libraries.
    bool skinned = false;
    std::wstring currentName;
    std::map<DWORD, CustomInfo> customInfo;
};

OxUiMgr::OxUiMgr(IOxQueryInterface* queryInterface)
    : pimpl(new impl(queryInterface))
{
}

OxUiMgr::~OxUiMgr() = default;

void OxUiMgr::ShowHtmlPage(const std::wstring&, WORD, HWND) {}

int OxUiMgr::SkinMessageBox(const wchar_t* text, UINT type, HWND owner, const wchar_t* caption)
{
    if (owner == nullptr)
        owner = pimpl->ProgramMgr().Get<IOxBaseProgramStuff>()->GetMainWindow();
    std::wstring defaultCaption;
    if (caption == nullptr) {
        defaultCaption = pimpl->ProgramMgr().Get<IOxProgramInfo>()->GetFullName();
        caption = defaultCaption.c_str();
    }
    DWORD result = 0;
    if (pimpl->Skinned() && pimpl->Controls()->DrawMessageBox(text, caption, type, owner, &result))
        return static_cast<int>(result);
    const DialogActivateHook centred;
    return ::MessageBoxW(owner, text, caption, type);
}

int OxUiMgr::SkinTrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner, DWORD extra1, DWORD extra2,
                                DWORD extra3)
{
    DWORD result = 0;
    if (pimpl->Skinned() && pimpl->Controls()->DrawPopupMenu(&result, menu, flags, x, y, owner, extra1, extra2, extra3))
        return static_cast<int>(result);
    return ::TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
}

bool OxUiMgr::GetCustomInfo(DWORD id, DWORD values[4], DWORD* extra)
{
    return pimpl->GetCustomInfo(id, values, extra);
}

void OxUiMgr::SetCustomInfo(DWORD id, const DWORD values[4], DWORD extra)
{
    pimpl->SetCustomInfo(id, values, extra);
}

int OxUiMgr::DoModalCustomDialog(DWORD value, UINT dialogId, DWORD param)
{
    if (!pimpl->Skinned())
        return -1;
    const std::wstring address = L"Custom/Dialog?id=" + std::to_wstring(dialogId);
    return static_cast<int>(pimpl->Controls()->CustomDialog(value, address.c_str(), param, 1));
}

int OxUiMgr::CreateCustomDialog(DWORD value, UINT dialogId, DWORD param)
{
    if (!pimpl->Skinned())
        return 0;
    const std::wstring address = L"Custom/Dialog?id=" + std::to_wstring(dialogId);
    return static_cast<int>(pimpl->Controls()->CustomDialog(value, address.c_str(), param, 0));
}

void OxUiMgr::ApplySkinToWindow(HWND window, DWORD)
{
    if (pimpl->Skinned())
        pimpl->Controls()->SkinWindow(window, 1);
}

bool OxUiMgr::LoadSkins()
{
    const boost::shared_ptr<IOxInterfaceInitParam> parameters = pimpl->ProgramMgr().InitParams();
    const bool useSkins = parameters->GetIntParam("UseSkins", 1) != 0;
    const bool useNative = parameters->GetIntParam("UseNative", 0) != 0;
    pimpl->StartAfresh();
    if (useSkins) {
        pimpl->StartLibraries();
        if (pimpl->ManagerLoaded())
            pimpl->DiscoverSkins();
    }
    if (useNative)
        pimpl->AddNativeSkin();
    const std::wstring saved = pimpl->ProgramMgr().Get<IOxProgramSettings>()->GetString(L"Skin\\Current", std::wstring());
    const SkinEntry* chosen = pimpl->FindSkin(saved);
    if (chosen == nullptr)
        chosen = pimpl->FirstSkin();
    if (chosen == nullptr)
        return false;
    if (!chosen->path.empty() && !pimpl->Manager()->LoadSkin(chosen->path.c_str()))
        return false;
    pimpl->MakeCurrent(*chosen);
    return true;
}

void OxUiMgr::ReservedWindowOperation(DWORD, BYTE) {}

std::wstring& OxUiMgr::GetCurrentSkin(std::wstring& name)
{
    name = pimpl->CurrentName();
    return name;
}

void OxUiMgr::GetSkinNames(std::vector<std::wstring>& names)
{
    names = pimpl->SkinNames();
}

void OxUiMgr::SelectSkin(const std::wstring& name)
{
    if (!pimpl->ChooseForNextStart(name))
        return;
    pimpl->ProgramMgr().Get<IOxProgramSettings>()->SetString(L"Skin\\Current", name);
    skinChanged(pimpl->CurrentName());
}

boost::signals2::connection OxUiMgr::ConnectSkinChanged(const SkinChangedSignal::slot_type& handler, ConnectPosition position)
{
    return skinChanged.connect(handler, SignalPosition(position));
}

HWND OxUiMgr::CreateBannerWindow(const BannerInfo& banner, WORD controlId)
{
    return ::CreateBannerWindow(banner, controlId);
}

COLORREF OxUiMgr::GetSkinSysColor(int colorIndex)
{
    return pimpl->ManagerLoaded() ? pimpl->Manager()->SysColor(colorIndex) : ::GetSysColor(colorIndex);
}

std::wstring OxUiMgr::GetSkinString(const std::wstring& key, const std::wstring& defaultText)
{
    if (!pimpl->ManagerLoaded())
        return defaultText;
    const wchar_t* const text = pimpl->Manager()->GetString(key.c_str(), defaultText.c_str());
    return text != nullptr ? text : std::wstring();
}

DWORD OxUiMgr::QuerySkinValue(const std::wstring& text)
{
    return pimpl->ManagerLoaded() ? pimpl->Manager()->QueryValue(text.c_str()) : 0;
}
