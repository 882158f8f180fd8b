// The settings component: typed values in the registry under "Software\<company>\<product>"
// of the current user (or, by the init parameter "CurrentUser" = 0, of the local machine),
// with watched names announced after each write that changes them.
#pragma once

#include <memory>

#include "framework/interfaces/program_settings.h"

class OxProgramSettings : public IOxProgramSettings {
public:
    explicit OxProgramSettings(IOxQueryInterface* queryInterface);

    float GetFloat(const std::wstring& name, float defaultValue) override;
    bool SetFloat(const std::wstring& name, float value) override;
    int GetInt(const std::wstring& name, int defaultValue) override;
    bool SetInt(const std::wstring& name, int value) override;
    std::wstring GetString(const std::wstring& name, const std::wstring& defaultValue) override;
    bool SetString(const std::wstring& name, const std::wstring& value) override;
    bool SetStringList(const std::vector<std::wstring>& list, const std::wstring& name) override;
    bool GetStringList(std::vector<std::wstring>& list, const std::wstring& name) override;
    std::string GetBinary(const std::wstring& name, const std::string& defaultValue) override;
    bool SetBinary(const std::wstring& name, const std::string& value) override;

    void RestoreWindowPosition(const std::wstring& name, HWND window, int* showCommand, bool keepSize) override;
    void SaveWindowPosition(const std::wstring& name, HWND window) override;
    void RestoreControlState(HWND control, int kind) override;
    void SaveControlState(HWND control, int kind) override;
    std::wstring GetRoamingDataFolder(const std::wstring& subfolder, bool create) override;
    std::wstring GetLocalDataFolder(const std::wstring& subfolder, bool create) override;
    std::wstring GetCommonDataFolder(const std::wstring& subfolder, bool create) override;
    std::wstring GetRegistryKeyPath() override;
    void WatchSetting(const SettingChangedSignal::slot_type& handler, const std::wstring& name) override;
    std::wstring GetSpecialFolderPath(int csidl, const KNOWNFOLDERID& knownFolderId) override;
    std::wstring GetDisplayName(const std::wstring& path) override;
    std::wstring GetSpecialFolderDisplayName(int csidl, const KNOWNFOLDERID& knownFolderId) override;

    virtual ~OxProgramSettings();

    class impl;

private:
    std::unique_ptr<impl> pimpl;
};
