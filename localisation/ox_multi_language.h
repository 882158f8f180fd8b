// The language component: finds the language packs beside the program, loads the one chosen
// in "Language\Current" as the application's resource module, and formats messages, sizes
// and speeds with the pack's texts.
#pragma once

#include <memory>

#include "framework/interfaces/multi_language.h"

class OxMultiLanguage : public IOxMultiLanguage {
public:
    // Discovers the packs and loads the chosen one.
    explicit OxMultiLanguage(IOxQueryInterface* queryInterface);

    const LanguageInfo& GetCurrentLanguage() override;
    const LanguageList& GetLanguages() override;
    HMODULE GetResourceModule() override;
    void SetAppModule(vantor::CAppModule* module) override;
    void SelectLanguage(int index) override;
    boost::signals2::connection ConnectLanguageChanged(const LanguageChangedSignal::slot_type& handler,
                                                       ConnectPosition position) override;
    boost::signals2::connection ConnectResourcesReloaded(const ResourcesReloadedSignal::slot_type& handler,
                                                         ConnectPosition position) override;
    std::wstring& FormatString(std::wstring& out, UINT stringId, const wchar_t* defaultFormat, ...) override;
    bool LoadPackString(const std::wstring& code, UINT stringId, std::wstring& out) override;
    const LanguageInfo& GetConfiguredLanguage() override;
    std::wstring& FormatSize(std::wstring& out, LONGLONG bytes) override;
    std::wstring& FormatReservedValue(std::wstring& out, ULONGLONG value) override;
    std::wstring& FormatSpeed(std::wstring& out, LONGLONG bytesPerSecond) override;

    virtual ~OxMultiLanguage();

    class impl;

private:
    LanguageChangedSignal languageChanged;
    ResourcesReloadedSignal resourcesReloaded;
    std::unique_ptr<impl> pimpl;
};
