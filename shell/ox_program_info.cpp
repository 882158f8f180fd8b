#include "shell/ox_program_info.h"

#include "framework/component_registration.h"
#include "shell/version_text.h"

OxProgramInfo::OxProgramInfo(HINSTANCE moduleInstance, const wchar_t* shortName, const wchar_t* productName,
                             const wchar_t* nameSuffix, const wchar_t* companyName, const wchar_t* versionText,
                             int majorVersion, int minorVersion, int buildNumber)
    : moduleInstance(moduleInstance), productName(productName), nameSuffix(nameSuffix), shortName(shortName),
      companyName(companyName), versionText(versionText), majorVersion(majorVersion), minorVersion(minorVersion),
      buildNumber(buildNumber)
{
}

HINSTANCE OxProgramInfo::GetModuleInstance() const { return moduleInstance; }
const wchar_t* OxProgramInfo::GetProductName() const { return productName; }
std::wstring OxProgramInfo::GetFullName() const { return std::wstring(productName) + nameSuffix; }
const wchar_t* OxProgramInfo::GetShortName() const { return shortName; }
const wchar_t* OxProgramInfo::GetCompanyName() const { return companyName; }
const wchar_t* OxProgramInfo::GetVersionText() const { return versionText; }
int OxProgramInfo::GetMajorVersion() const { return majorVersion; }
int OxProgramInfo::GetMinorVersion() const { return minorVersion; }
int OxProgramInfo::GetBuildNumber() const { return buildNumber; }

int OxProgramInfo::CompareVersionText(const std::wstring& text, bool* parsed) const
{
    int major = 0;
    int minor = 0;
    int build = 0;
    const bool isVersion = ParseVersionText(text, major, minor, build);
    if (parsed != nullptr)
        *parsed = isVersion;
    return isVersion ? CompareVersion(major, minor, build) : 0;
}

int OxProgramInfo::CompareVersion(int major, int minor, int build) const
{
    return CompareVersions(major, minor, build, majorVersion, minorVersion, buildNumber);
}

void IOxProgramInfo_Add(IOxQueryInterface* queryInterface, HINSTANCE moduleInstance, const wchar_t* shortName,
                        const wchar_t* productName, const wchar_t* nameSuffix, const wchar_t* companyName,
                        const wchar_t* versionText, int majorVersion, int minorVersion, int buildNumber)
{
    const boost::shared_ptr<OxProgramInfo> identity(new OxProgramInfo(
        moduleInstance, shortName, productName, nameSuffix, companyName, versionText, majorVersion, minorVersion, buildNumber));

    RegisterBuiltComponent(queryInterface, identity, DependsOn<>());
    BuildComponentNow<IOxProgramInfo>(queryInterface);
}
