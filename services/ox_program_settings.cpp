#include "services/ox_program_settings.h"

#include <cstring>
#include <list>
#include <map>

#include "framework/component_view.h"
#include "framework/interfaces/program_info.h"
#include "services/registry.h"
#include "services/shell_folders.h"
#include "services/window_state.h"

namespace {

// The handlers of one watched value name.
struct SettingWatch {
    boost::shared_ptr<SettingChangedSignal> signal;
    std::list<boost::signals2::connection> connections;
};

} // namespace

class OxProgramSettings::impl {
public:
    explicit impl(IOxQueryInterface* queryInterface) : programMgr(queryInterface)
    {
        const boost::shared_ptr<IOxProgramInfo> identity = programMgr.Get<IOxProgramInfo>();
        keyPath = std::wstring(L"Software\\") + identity->GetCompanyName() + L"\\" + identity->GetProductName();
        const bool currentUser = programMgr.InitParams()->GetIntParam("CurrentUser", 1) != 0;
        rootKey = currentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    }

    OxRegistry Registry() const { return OxRegistry(rootKey, keyPath); }

    // Writes a value; for a watched name only when it changes, and then tells the watchers.
    template <class Value, class Read, class Write>
    bool Store(const std::wstring& name, const Value& value, Read read, Write write)
    {
        const OxRegistry registry = Registry();
        if (watches.count(name) == 0)
            return (registry.*write)(name, value);
        Value current;
        if ((registry.*read)(name, current) && current == value)
            return true;
        if (!(registry.*write)(name, value))
            return false;
        Notify(name);
        return true;
    }

    void Notify(const std::wstring& name)
    {
        const auto found = watches.find(name);
        if (found == watches.end())
            return;
        // Held for the whole emission: a handler that watches anew may prune this very entry.
        const boost::shared_ptr<SettingChangedSignal> signal = found->second.signal;
        (*signal)(name);
    }

    void Watch(const SettingChangedSignal::slot_type& handler, const std::wstring& name)
    {
        SettingWatch& watch = watches[name];
        if (!watch.signal)
            watch.signal.reset(new SettingChangedSignal);
        watch.connections.push_back(watch.signal->connect(handler, boost::signals2::at_back));
        PruneWatches();
    }

    // A data folder of the program below the special folder csidl.
    std::wstring DataFolder(int csidl, const std::wstring& subfolder, bool create) const
    {
        const boost::shared_ptr<IOxProgramInfo> identity = programMgr.Get<IOxProgramInfo>();
        return ProgramDataFolder(csidl, identity->GetCompanyName(), identity->GetProductName(), subfolder, create);
    }

    std::wstring keyPath;
    const OxComponentView<IOxProgramSettings> programMgr;

private:
    // Forgets handlers whose tracked objects have expired, and names nobody watches any more.
    void PruneWatches()
    {
        std::vector<std::wstring> unwatched;
        for (auto& entry : watches) {
            entry.second.connections.remove_if([](const boost::signals2::connection& c) { return !c.connected(); });
            if (entry.second.connections.empty())
                unwatched.push_back(entry.first);
        }
        for (const std::wstring& name : unwatched)
            watches.erase(name);
    }

    std::map<std::wstring, SettingWatch> watches;
    HKEY rootKey;
};

OxProgramSettings::OxProgramSettings(IOxQueryInterface* queryInterface)
    : pimpl(new impl(queryInterface))
{
}

OxProgramSettings::~OxProgramSettings() = default;

float OxProgramSettings::GetFloat(const std::wstring& name, float defaultValue)
{
    const std::string bytes = GetBinary(name, std::string());
    if (bytes.size() != sizeof(float))
        return defaultValue;
    float value;
    std::memcpy(&value, bytes.data(), sizeof(value));
    return value;
}

bool OxProgramSettings::SetFloat(const std::wstring& name, float value)
{
    std::string bytes(sizeof(value), '\0');
    std::memcpy(&bytes[0], &value, sizeof(value));
    return SetBinary(name, bytes);
}

int OxProgramSettings::GetInt(const std::wstring& name, int defaultValue)
{
    int value = defaultValue;
    return pimpl->Registry().ReadInt(name, value) ? value : defaultValue;
}

bool OxProgramSettings::SetInt(const std::wstring& name, int value)
{
    return pimpl->Store(name, value, &OxRegistry::ReadInt, &OxRegistry::WriteInt);
}

std::wstring OxProgramSettings::GetString(const std::wstring& name, const std::wstring& defaultValue)
{
    std::wstring value;
    return pimpl->Registry().ReadString(name, value) ? value : defaultValue;
}

bool OxProgramSettings::SetString(const std::wstring& name, const std::wstring& value)
{
    return pimpl->Store(name, value, &OxRegistry::ReadString, &OxRegistry::WriteString);
}

bool OxProgramSettings::SetStringList(const std::vector<std::wstring>& list, const std::wstring& name)
{
    if (!pimpl->Registry().WriteStringList(name, list))
        return false;
    pimpl->Notify(name);
    return true;
}

bool OxProgramSettings::GetStringList(std::vector<std::wstring>& list, const std::wstring& name)
{
    return pimpl->Registry().ReadStringList(name, list);
}

std::string OxProgramSettings::GetBinary(const std::wstring& name, const std::string& defaultValue)
{
    std::string value;
    return pimpl->Registry().ReadBinary(name, value) ? value : defaultValue;
}

bool OxProgramSettings::SetBinary(const std::wstring& name, const std::string& value)
{
    return pimpl->Store(name, value, &OxRegistry::ReadBinary, &OxRegistry::WriteBinary);
}

std::wstring OxProgramSettings::GetRegistryKeyPath()
{
    return pimpl->keyPath;
}

void OxProgramSettings::WatchSetting(const SettingChangedSignal::slot_type& handler, const std::wstring& name)
{
    pimpl->Watch(handler, name);
}

void OxProgramSettings::RestoreWindowPosition(const std::wstring& name, HWND window, int* showCommand, bool keepSize)
{
    RestoreWindowState(*this, pimpl->programMgr, name, window, showCommand, keepSize);
}

void OxProgramSettings::SaveWindowPosition(const std::wstring& name, HWND window)
{
    SaveWindowState(*this, name, window);
}

void OxProgramSettings::RestoreControlState(HWND control, int kind)
{
    ::RestoreControlState(*this, control, kind);
}

void OxProgramSettings::SaveControlState(HWND control, int kind)
{
    ::SaveControlState(*this, control, kind);
}

std::wstring OxProgramSettings::GetRoamingDataFolder(const std::wstring& subfolder, bool create)
{
    return pimpl->DataFolder(CSIDL_APPDATA, subfolder, create);
}

std::wstring OxProgramSettings::GetLocalDataFolder(const std::wstring& subfolder, bool create)
{
    return pimpl->DataFolder(CSIDL_LOCAL_APPDATA, subfolder, create);
}

std::wstring OxProgramSettings::GetCommonDataFolder(const std::wstring& subfolder, bool create)
{
    return pimpl->DataFolder(CSIDL_COMMON_APPDATA, subfolder, create);
}

std::wstring OxProgramSettings::GetSpecialFolderPath(int csidl, const KNOWNFOLDERID& knownFolderId)
{
    return SpecialFolderPath(csidl, knownFolderId);
}

std::wstring OxProgramSettings::GetDisplayName(const std::wstring& path)
{
    return ShellDisplayName(path);
}

std::wstring OxProgramSettings::GetSpecialFolderDisplayName(int csidl, const KNOWNFOLDERID& knownFolderId)
{
    return ShellDisplayName(SpecialFolderPath(csidl, knownFolderId));
}
