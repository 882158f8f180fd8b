// "OxMultiLanguage": language packs chosen by a three-letter code, and message formatting with
// the pack's texts and unit names.
#pragma once

#include <deque>
#include <string>

#include <boost/signals2/signal.hpp>
#include <windows.h>

#include "framework/connect_position.h"
#include "framework/interface_ptr.h"

namespace vantor {
class CAppModule;
}

// One language.
struct LanguageInfo {
    std::wstring displayName;  // "English"
    std::wstring code;         // "eng": the key languages are stored and compared by
    std::wstring shortCode;    // "en"
    std::wstring packPath;     // "lang\" + file name, relative to the program folder; empty when built in
};

typedef std::deque<LanguageInfo> LanguageList;
typedef boost::signals2::signal<void(int)> LanguageChangedSignal;
typedef boost::signals2::signal<void()> ResourcesReloadedSignal;

// The language the program carries itself.
inline LanguageInfo BuiltInLanguage()
{
    return LanguageInfo{L"English", L"eng", L"en", L""};
}

class IOxMultiLanguage {
public:
    // What a component of this kind is handed out as.
    typedef IOxMultiLanguage Interface;

    virtual const LanguageInfo& GetCurrentLanguage() = 0;
    virtual const LanguageList& GetLanguages() = 0;
    // The loaded pack; null when none.
    virtual HMODULE GetResourceModule() = 0;
    // Makes the loaded pack (or the program itself) the module's resource instance.
    virtual void SetAppModule(vantor::CAppModule* module) = 0;
    virtual void SelectLanguage(int index) = 0;
    virtual boost::signals2::connection ConnectLanguageChanged(const LanguageChangedSignal::slot_type& handler,
                                                               ConnectPosition position) = 0;
    virtual boost::signals2::connection ConnectResourcesReloaded(const ResourcesReloadedSignal::slot_type& handler,
                                                                 ConnectPosition position) = 0;
    // Formats the message stringId (or defaultFormat when the pack lacks it) with printf-style
    // items; an empty text on any formatting error.
    virtual std::wstring& FormatString(std::wstring& out, UINT stringId, const wchar_t* defaultFormat, ...) = 0;
    virtual bool LoadPackString(const std::wstring& code, UINT stringId, std::wstring& out) = 0;
    virtual const LanguageInfo& GetConfiguredLanguage() = 0;
    virtual std::wstring& FormatSize(std::wstring& out, LONGLONG bytes) = 0;
    virtual std::wstring& FormatReservedValue(std::wstring& out, ULONGLONG value) = 0;
    virtual std::wstring& FormatSpeed(std::wstring& out, LONGLONG bytesPerSecond) = 0;

protected:
    ~IOxMultiLanguage() = default;
};

class OxMultiLanguageEmpty : public IOxMultiLanguage {
public:
    explicit OxMultiLanguageEmpty(IOxQueryInterface*) : languages(1, BuiltInLanguage()) {}

    const LanguageInfo& GetCurrentLanguage() override { return languages.front(); }
    const LanguageList& GetLanguages() override { return languages; }
    HMODULE GetResourceModule() override { return nullptr; }
    void SetAppModule(vantor::CAppModule*) override {}
    void SelectLanguage(int) override {}
    boost::signals2::connection ConnectLanguageChanged(const LanguageChangedSignal::slot_type&, ConnectPosition) override
    {
        return boost::signals2::connection();
    }
    boost::signals2::connection ConnectResourcesReloaded(const ResourcesReloadedSignal::slot_type&, ConnectPosition) override
    {
        return boost::signals2::connection();
    }
    std::wstring& FormatString(std::wstring& out, UINT, const wchar_t*, ...) override { return EmptyText(out); }
    bool LoadPackString(const std::wstring&, UINT, std::wstring&) override { return false; }
    const LanguageInfo& GetConfiguredLanguage() override { return languages.front(); }
    std::wstring& FormatSize(std::wstring& out, LONGLONG) override { return EmptyText(out); }
    std::wstring& FormatReservedValue(std::wstring& out, ULONGLONG) override { return EmptyText(out); }
    std::wstring& FormatSpeed(std::wstring& out, LONGLONG) override { return EmptyText(out); }

private:
    static std::wstring& EmptyText(std::wstring& out)
    {
        out.clear();
        return out;
    }

    LanguageList languages;
};

OX_BIND_INTERFACE(IOxMultiLanguage, "OxMultiLanguage", OxMultiLanguageEmpty);
