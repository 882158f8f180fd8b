#include "localisation/ox_multi_language.h"

#include <map>

#include "framework/component_view.h"
#include "framework/interfaces/program_info.h"
#include "framework/interfaces/program_settings.h"
#include "localisation/language_pack.h"
#include "localisation/message_format.h"
#include "localisation/string_table.h"
#include "platform/app_module.h"
#include "platform/module_path.h"

namespace {

const wchar_t CurrentLanguageSetting[] = L"Language\\Current";
const wchar_t EnglishCode[] = L"eng";
const wchar_t DefaultSizeUnits[] = L"bytes KB MB GB TB";
const wchar_t DefaultSpeedUnits[] = L"bytes/sec KB/s MB/s GB/s TB/s";

} // namespace

class OxMultiLanguage::impl {
public:
    explicit impl(IOxQueryInterface* programMgr) : programMgr(programMgr) { Discover(); }

    // Finds the packs, loads the chosen one and frees the rest.
    void Discover()
    {
        packModule.Reset();
        languages.clear();

        const bool noLibraries = IntParam("nodlls") != 0;
        const std::wstring wanted = noLibraries ? std::wstring(EnglishCode) : Settings()->GetString(CurrentLanguageSetting, EnglishCode);
        std::map<std::wstring, vantor::ScopedLibrary> packs;
        if (!noLibraries)
            ScanPacks(packs);
        if (packs.empty()) {
            languages.push_back(BuiltInLanguage());
            currentIndex = 0;
            return;
        }

        auto chosen = packs.find(wanted);
        if (chosen == packs.end())
            chosen = packs.find(EnglishCode);
        if (chosen == packs.end())
            chosen = packs.begin();
        Settings()->SetString(CurrentLanguageSetting, chosen->first);
        packModule = std::move(chosen->second);
        for (size_t i = languages.size(); i-- > 0;) {
            if (languages[i].code == chosen->first) {
                currentIndex = static_cast<int>(i);
                break;
            }
        }
    }

    // The pack module, or the program itself.
    HMODULE ResourceModule() const { return packModule ? packModule.Get() : ProgramModule(); }

    void ApplyToAppModule()
    {
        if (appModule != nullptr)
            appModule->SetResourceInstance(ResourceModule());
    }

    bool LoadPackString(const std::wstring& code, UINT stringId, std::wstring& out) const
    {
        for (const std::wstring& file : FindPackFiles(ProgramModule())) {
            const vantor::ScopedLibrary pack = MapLanguagePack(PackPath(file));
            LanguageInfo language;
            if (!pack || !ReadPackLanguage(pack.Get(), ProductName(), language) || language.code != code)
                continue;
            std::wstring text;
            if (!LoadTableString(pack.Get(), stringId, text))
                return false;
            out = text;
            return true;
        }
        return false;
    }

    const LanguageInfo& ConfiguredLanguage() const
    {
        const std::wstring configured = Settings()->GetString(CurrentLanguageSetting, EnglishCode);
        for (const std::wstring& code : {configured, std::wstring(EnglishCode)}) {
            for (const LanguageInfo& language : languages) {
                if (language.code == code)
                    return language;
            }
        }
        return languages.front();
    }

    // The text of a unit list; a pack's text that asks for values gives no units at all.
    std::wstring& FormatUnitValue(std::wstring& out, LONGLONG value, UINT stringId, const wchar_t* defaultNames) const
    {
        std::wstring names;
        if (!LoadTableString(ResourceModule(), stringId, names))
            names = defaultNames;
        NoArguments none;
        const std::wstring formattedNames = FormatMessageText(names, none);
        out = formattedNames.empty() ? std::wstring() : FormatUnits(value, formattedNames);
        return out;
    }

    int IntParam(const char* key) const { return programMgr.InitParams()->GetIntParam(key, 0); }
    boost::shared_ptr<IOxProgramSettings> Settings() const { return programMgr.Get<IOxProgramSettings>(); }

    vantor::ScopedLibrary packModule;
    LanguageList languages;
    int currentIndex = 0;
    const OxComponentView<IOxMultiLanguage> programMgr;
    vantor::CAppModule* appModule = nullptr;

private:
    void ScanPacks(std::map<std::wstring, vantor::ScopedLibrary>& packs)
    {
        for (const std::wstring& file : FindPackFiles(ProgramModule())) {
            vantor::ScopedLibrary pack = MapLanguagePack(PackPath(file));
            LanguageInfo language;
            if (!pack || !ReadPackLanguage(pack.Get(), ProductName(), language) || packs.count(language.code) != 0)
                continue;
            language.packPath = L"lang\\" + file;
            if (language.code == EnglishCode)
                languages.push_front(language);
            else
                languages.push_back(language);
            packs.emplace(language.code, std::move(pack));
        }
    }

    std::wstring PackPath(const std::wstring& file) const { return vantor::ResolveInProgramFolder(ProgramModule(), L"lang\\" + file); }
    HMODULE ProgramModule() const { return Identity()->GetModuleInstance(); }
    std::wstring ProductName() const { return Identity()->GetProductName(); }
    boost::shared_ptr<IOxProgramInfo> Identity() const { return programMgr.Get<IOxProgramInfo>(); }
};

OxMultiLanguage::OxMultiLanguage(IOxQueryInterface* queryInterface)
    : pimpl(new impl(queryInterface))
{
}

OxMultiLanguage::~OxMultiLanguage() = default;

const LanguageInfo& OxMultiLanguage::GetCurrentLanguage()
{
    return pimpl->languages[pimpl->currentIndex];
}

const LanguageList& OxMultiLanguage::GetLanguages()
{
    return pimpl->languages;
}

HMODULE OxMultiLanguage::GetResourceModule()
{
    return pimpl->packModule.Get();
}

void OxMultiLanguage::SetAppModule(vantor::CAppModule* module)
{
    pimpl->appModule = module;
    pimpl->ApplyToAppModule();
}

void OxMultiLanguage::SelectLanguage(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= pimpl->languages.size())
        return;
    const std::wstring code = pimpl->languages[index].code;
    const boost::shared_ptr<IOxProgramSettings> settings = pimpl->Settings();
    if (settings->GetString(CurrentLanguageSetting, std::wstring()) == code)
        return;
    settings->SetString(CurrentLanguageSetting, code);
    if (pimpl->IntParam("onfly") != 0) {
        pimpl->Discover();
        pimpl->ApplyToAppModule();
        resourcesReloaded();
    }
    languageChanged(index);
}

boost::signals2::connection OxMultiLanguage::ConnectLanguageChanged(const LanguageChangedSignal::slot_type& handler,
                                                                    ConnectPosition position)
{
    return languageChanged.connect(handler, SignalPosition(position));
}

boost::signals2::connection OxMultiLanguage::ConnectResourcesReloaded(const ResourcesReloadedSignal::slot_type& handler,
                                                                      ConnectPosition position)
{
    return resourcesReloaded.connect(handler, SignalPosition(position));
}

std::wstring& OxMultiLanguage::FormatString(std::wstring& out, UINT stringId, const wchar_t* defaultFormat, ...)
{
    const std::wstring ownText = defaultFormat != nullptr ? defaultFormat : L"";
    std::wstring text;
    // The arguments are those of the program's own text: a pack's text that would read others
    // (another number, or another type) is not used.
    if (!LoadTableString(pimpl->ResourceModule(), stringId, text) || ItemArgumentKinds(text) != ItemArgumentKinds(ownText))
        text = ownText;
    va_list values;
    va_start(values, defaultFormat);
    VariadicArguments arguments(values);
    out = FormatMessageText(text, arguments);
    va_end(values);
    return out;
}

bool OxMultiLanguage::LoadPackString(const std::wstring& code, UINT stringId, std::wstring& out)
{
    return pimpl->LoadPackString(code, stringId, out);
}

const LanguageInfo& OxMultiLanguage::GetConfiguredLanguage()
{
    return pimpl->ConfiguredLanguage();
}

std::wstring& OxMultiLanguage::FormatSize(std::wstring& out, LONGLONG bytes)
{
    return pimpl->FormatUnitValue(out, bytes, SizeUnitsStringId, DefaultSizeUnits);
}

std::wstring& OxMultiLanguage::FormatReservedValue(std::wstring& out, ULONGLONG)
{
    out.clear();
    return out;
}

std::wstring& OxMultiLanguage::FormatSpeed(std::wstring& out, LONGLONG bytesPerSecond)
{
    return pimpl->FormatUnitValue(out, bytesPerSecond, SpeedUnitsStringId, DefaultSpeedUnits);
}
