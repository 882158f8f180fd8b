// A settings component of the program's own kind, under a product name, and so a settings
// key, of each test process's own; the key is deleted after each test.
#pragma once

#include <string>
#include <utility>

#include <gtest/gtest.h>
#include <windows.h>

#include "framework/component_registration.h"
#include "framework/interfaces/multi_monitor.h"
#include "framework/program_mgr.h"
#include "services/ox_program_settings.h"
#include "shell/ox_program_info.h"
#include "version.h"

// Every test process gets a product name, and so a settings key, of its own.
inline const std::wstring& TestProductName()
{
    static const std::wstring name = L"ZELK Vantor Source Test " + std::to_wstring(::GetCurrentProcessId());
    return name;
}

inline std::wstring TestKeyPath()
{
    return L"Software\\ZELK Soft\\" + TestProductName();
}

class ProgramSettingsTest : public ::testing::Test {
protected:
    ProgramSettingsTest()
    {
        IOxProgramInfo_Add(&manager, nullptr, L"ZELKVS", TestProductName().c_str(), L"", L"ZELK Soft",
                           VANTOR_VERSION_TEXT, VANTOR_VERSION_MAJOR, VANTOR_VERSION_MINOR, VANTOR_VERSION_PATCH);
        RegisterComponent<OxProgramSettings>(&manager, DependsOn<IOxProgramInfo, IOxMultiMonitor>());
    }
    ~ProgramSettingsTest() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, TestKeyPath().c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, TestKeyPath().c_str());
    }

    boost::shared_ptr<IOxProgramSettings> Settings() { return OxInterfacePtr<IOxProgramSettings>(&manager, "GlobalUse").Get(); }

    // Stores raw data of any type, as another program might have.
    static void StoreRaw(const std::wstring& name, DWORD type, const void* data, DWORD bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, TestKeyPath().c_str(), 0, nullptr, 0, KEY_WRITE,
                                                   nullptr, &key, nullptr));
        ::RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
        ::RegCloseKey(key);
    }
    // The type and data of a stored value; type 0 when it is missing.
    static std::pair<DWORD, std::string> StoredRaw(const std::wstring& keyPath, const std::wstring& name)
    {
        DWORD type = 0;
        DWORD bytes = 0;
        if (::RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &bytes)
            != ERROR_SUCCESS)
            return {0, std::string()};
        std::string data(bytes, '\0');
        ::RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, &data[0], &bytes);
        data.resize(bytes);
        return {type, data};
    }

    OxProgramMgr manager;
};
