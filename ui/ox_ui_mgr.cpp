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
          controls(ResolveInProgramFolder(ProgramModule(programMgr), L"skin_controls.dll"), queryInterface),
          manager(ResolveInProgramFolder(ProgramModule(programMgr), L"skin_manager.dll"), queryInterface)
    {
    }

    ~impl()
    {
        Stop(controls, controlsStarted, [this] { ControlsHolder()->Shutdown(); });
        Stop(manager, managerStarted, [this] { ManagerHolder()->Shutdown(); });
    }

    SkinControlsHolder* ControlsHolder() const { return static_cast<SkinControlsHolder*>(controls.Holder()); }
    SkinManagerHolder* ManagerHolder() const { return static_cast<SkinManagerHolder*>(manager.Holder()); }
    SkinControlsObject* Controls() const { return ControlsHolder()->Controls(); }
    SkinManagerObject* Manager() const { return ManagerHolder()->Manager(); }

    // Both libraries started, or neither: a library that failed to start is never called again,
    // and one that started gets its shutdown before it goes.
    void StartLibraries()
    {
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
        const std::wstring pattern = ResolveInProgramFolder(ProgramModule(programMgr), L"skins\\*.*");
        const std::wstring folder = PatternFolder(pattern);
        const std::wstring product = programMgr.Get<IOxProgramInfo>()->GetProductName();
        const std::wstring language = programMgr.Get<IOxMultiLanguage>()->GetCurrentLanguage().code;
        WIN32_FIND_DATAW found = {};
        const ScopedFind search(::FindFirstFileW(pattern.c_str(), &found));
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

    const SkinEntry* FindSkin(const std::wstring& name) const
    {
        for (const SkinEntry& entry : skins) {
            if (entry.name == name)
                return &entry;
        }
        return nullptr;
    }

    bool ManagerLoaded() const { return manager.IsLoaded(); }

    const Components programMgr;
    std::deque<SkinEntry> skins;
    bool skinned = false;
    std::wstring currentName;
    std::map<DWORD, CustomInfo> customInfo;

private:
    template <class Shutdown>
    static void Stop(SkinLibrary& library, bool& started, Shutdown shutdown)
    {
        if (library.IsLoaded() && started)
            shutdown();
        started = false;
        library.Unload();
    }

    SkinLibrary controls;
    SkinLibrary manager;
    bool controlsStarted = false;
    bool managerStarted = false;
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
        owner = pimpl->programMgr.Get<IOxBaseProgramStuff>()->GetMainWindow();
    std::wstring defaultCaption;
    if (caption == nullptr) {
        defaultCaption = pimpl->programMgr.Get<IOxProgramInfo>()->GetFullName();
        caption = defaultCaption.c_str();
    }
    DWORD result = 0;
    if (pimpl->skinned && pimpl->Controls()->DrawMessageBox(text, caption, type, owner, &result))
        return static_cast<int>(result);
    const DialogActivateHook centred;
    return ::MessageBoxW(owner, text, caption, type);
}

int OxUiMgr::SkinTrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner, DWORD extra1, DWORD extra2,
                                DWORD extra3)
{
    DWORD result = 0;
    if (pimpl->skinned && pimpl->Controls()->DrawPopupMenu(&result, menu, flags, x, y, owner, extra1, extra2, extra3))
        return static_cast<int>(result);
    return ::TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
}

bool OxUiMgr::GetCustomInfo(DWORD id, DWORD values[4], DWORD* extra)
{
    if (pimpl->skinned) {
        const std::wstring address = L"Custom\\?Id=" + std::to_wstring(id);
        return pimpl->Manager()->GetCustomInfo(address.c_str(), values, extra, &id, 0) != FALSE;
    }
    const auto found = pimpl->customInfo.find(id);
    if (found == pimpl->customInfo.end())
        return false;
    std::copy(found->second.values, found->second.values + 4, values);
    if (extra != nullptr)
        *extra = found->second.extra;
    return true;
}

void OxUiMgr::SetCustomInfo(DWORD id, const DWORD values[4], DWORD extra)
{
    CustomInfo info = {{values[0], values[1], values[2], values[3]}, extra};
    pimpl->customInfo[id] = info;
}

int OxUiMgr::DoModalCustomDialog(DWORD value, UINT dialogId, DWORD param)
{
    if (!pimpl->skinned)
        return -1;
    const std::wstring address = L"Custom/Dialog?id=" + std::to_wstring(dialogId);
    return static_cast<int>(pimpl->Controls()->CustomDialog(value, address.c_str(), param, 1));
}

int OxUiMgr::CreateCustomDialog(DWORD value, UINT dialogId, DWORD param)
{
    if (!pimpl->skinned)
        return 0;
    const std::wstring address = L"Custom/Dialog?id=" + std::to_wstring(dialogId);
    return static_cast<int>(pimpl->Controls()->CustomDialog(value, address.c_str(), param, 0));
}

void OxUiMgr::ApplySkinToWindow(HWND window, DWORD)
{
    if (pimpl->skinned)
        pimpl->Controls()->SkinWindow(window, 1);
}

bool OxUiMgr::LoadSkins()
{
    const boost::shared_ptr<IOxInterfaceInitParam> parameters = pimpl->programMgr.InitParams();
    const bool useSkins = parameters->GetIntParam("UseSkins", 1) != 0;
    const bool useNative = parameters->GetIntParam("UseNative", 0) != 0;
    if (useSkins) {
        pimpl->StartLibraries();
        if (pimpl->ManagerLoaded())
            pimpl->DiscoverSkins();
    }
    if (useNative)
        pimpl->skins.push_back(SkinEntry{NativeSkinName, std::wstring()});
    const std::wstring saved = pimpl->programMgr.Get<IOxProgramSettings>()->GetString(L"Skin\\Current", std::wstring());
    const SkinEntry* chosen = pimpl->FindSkin(saved);
    if (chosen == nullptr && !pimpl->skins.empty())
        chosen = &pimpl->skins.front();
    if (chosen == nullptr)
        return false;
    if (!chosen->path.empty() && !pimpl->Manager()->LoadSkin(chosen->path.c_str()))
        return false;
    pimpl->skinned = !chosen->path.empty();
    pimpl->currentName = chosen->name;
    return true;
}

void OxUiMgr::ReservedWindowOperation(DWORD, BYTE) {}

std::wstring& OxUiMgr::GetCurrentSkin(std::wstring& name)
{
    name = pimpl->currentName;
    return name;
}

void OxUiMgr::GetSkinNames(std::vector<std::wstring>& names)
{
    names.clear();
    for (const SkinEntry& entry : pimpl->skins)
        names.push_back(entry.name);
}

void OxUiMgr::SelectSkin(const std::wstring& name)
{
    if (pimpl->FindSkin(name) == nullptr)
        return;
    pimpl->currentName = name;
    pimpl->programMgr.Get<IOxProgramSettings>()->SetString(L"Skin\\Current", name);
    skinChanged(pimpl->currentName);
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
