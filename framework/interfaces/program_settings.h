// "OxProgramSettings": typed settings in the registry, watched values, window and control
// state, and the program's folders.
#pragma once

#include <string>
#include <vector>

#include <boost/signals2/signal.hpp>
#include <shlobj.h>
#include <windows.h>

#include "framework/interface_ptr.h"

// Emitted with the value name after a write that changed a watched value.
typedef boost::signals2::signal<void(const std::wstring&)> SettingChangedSignal;

// Typed values addressed by a name relative to the settings key ("Language\Current"). Reads
// answer the default on any failure or type mismatch.
class IOxSettings {
public:
    // What a component of this kind is handed out as.
    typedef IOxSettings Interface;

    virtual float GetFloat(const std::wstring& name, float defaultValue) = 0;
    virtual bool SetFloat(const std::wstring& name, float value) = 0;
    virtual int GetInt(const std::wstring& name, int defaultValue) = 0;
    virtual bool SetInt(const std::wstring& name, int value) = 0;
    virtual std::wstring GetString(const std::wstring& name, const std::wstring& defaultValue) = 0;
    virtual bool SetString(const std::wstring& name, const std::wstring& value) = 0;
    virtual bool SetStringList(const std::vector<std::wstring>& list, const std::wstring& name) = 0;
    // False leaves list untouched.
    virtual bool GetStringList(std::vector<std::wstring>& list, const std::wstring& name) = 0;
    virtual std::string GetBinary(const std::wstring& name, const std::string& defaultValue) = 0;
    virtual bool SetBinary(const std::wstring& name, const std::string& value) = 0;

protected:
    ~IOxSettings() = default;
};

// Control-state kinds, the values of the kind arguments below; scoped, so that the names are
// not taken in the global namespace, and still plain ints for the interface.
struct ControlStateKind {
    enum : int {
        ListViewColumns = 0,
        ListBoxSelection = 1,
    };
};

class IOxProgramSettings : public IOxSettings {
public:
    // What a component of this kind is handed out as.
    typedef IOxProgramSettings Interface;

    virtual void RestoreWindowPosition(const std::wstring& name, HWND window, int* showCommand, bool keepSize) = 0;
    virtual void SaveWindowPosition(const std::wstring& name, HWND window) = 0;
    virtual void RestoreControlState(HWND control, int kind) = 0;
    virtual void SaveControlState(HWND control, int kind) = 0;
    virtual std::wstring GetRoamingDataFolder(const std::wstring& subfolder, bool create) = 0;
    virtual std::wstring GetLocalDataFolder(const std::wstring& subfolder, bool create) = 0;
    virtual std::wstring GetCommonDataFolder(const std::wstring& subfolder, bool create) = 0;
    // The settings key below its root, without a trailing backslash.
    virtual std::wstring GetRegistryKeyPath() = 0;
    // Calls handler after each write that changes the named value; the watch ends when the
    // handler's tracked objects expire.
    virtual void WatchSetting(const SettingChangedSignal::slot_type& handler, const std::wstring& name) = 0;
    virtual std::wstring GetSpecialFolderPath(int csidl, const KNOWNFOLDERID& knownFolderId) = 0;
    virtual std::wstring GetDisplayName(const std::wstring& path) = 0;
    virtual std::wstring GetSpecialFolderDisplayName(int csidl, const KNOWNFOLDERID& knownFolderId) = 0;

protected:
    ~IOxProgramSettings() = default;
};

class OxProgramSettingsEmpty : public IOxProgramSettings {
public:
    explicit OxProgramSettingsEmpty(IOxQueryInterface*) {}

    float GetFloat(const std::wstring&, float defaultValue) override { return defaultValue; }
    bool SetFloat(const std::wstring&, float) override { return false; }
    int GetInt(const std::wstring&, int defaultValue) override { return defaultValue; }
    bool SetInt(const std::wstring&, int) override { return false; }
    std::wstring GetString(const std::wstring&, const std::wstring& defaultValue) override { return defaultValue; }
    bool SetString(const std::wstring&, const std::wstring&) override { return false; }
    bool SetStringList(const std::vector<std::wstring>&, const std::wstring&) override { return false; }
    bool GetStringList(std::vector<std::wstring>&, const std::wstring&) override { return false; }
    std::string GetBinary(const std::wstring&, const std::string& defaultValue) override { return defaultValue; }
    bool SetBinary(const std::wstring&, const std::string&) override { return false; }

    void RestoreWindowPosition(const std::wstring&, HWND, int*, bool) override {}
    void SaveWindowPosition(const std::wstring&, HWND) override {}
    void RestoreControlState(HWND, int) override {}
    void SaveControlState(HWND, int) override {}
    std::wstring GetRoamingDataFolder(const std::wstring&, bool) override { return std::wstring(); }
    std::wstring GetLocalDataFolder(const std::wstring&, bool) override { return std::wstring(); }
    std::wstring GetCommonDataFolder(const std::wstring&, bool) override { return std::wstring(); }
    std::wstring GetRegistryKeyPath() override { return std::wstring(); }
    void WatchSetting(const SettingChangedSignal::slot_type&, const std::wstring&) override {}
    std::wstring GetSpecialFolderPath(int, const KNOWNFOLDERID&) override { return std::wstring(); }
    std::wstring GetDisplayName(const std::wstring& path) override { return path; }
    std::wstring GetSpecialFolderDisplayName(int, const KNOWNFOLDERID&) override { return std::wstring(); }
};

OX_BIND_INTERFACE(IOxProgramSettings, "OxProgramSettings", OxProgramSettingsEmpty);
