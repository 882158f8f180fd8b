#include "shell/ox_program_info.h"

#include <algorithm>
#include <cwchar>
#include <tuple>

namespace {

bool IsDecimalNumber(const std::wstring& piece)
{
    return !piece.empty() && std::all_of(piece.begin(), piece.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

} // namespace

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
    const size_t firstDot = text.find(L'.');
    const size_t secondDot = firstDot == std::wstring::npos ? std::wstring::npos : text.find(L'.', firstDot + 1);
    if (secondDot != std::wstring::npos) {
        const std::wstring pieces[3] = {text.substr(0, firstDot), text.substr(firstDot + 1, secondDot - firstDot - 1),
                                        text.substr(secondDot + 1)};
        if (std::all_of(std::begin(pieces), std::end(pieces), IsDecimalNumber)) {
            if (parsed != nullptr)
                *parsed = true;
            // wcstol saturates at the 32-bit limits.
            return CompareVersion(std::wcstol(pieces[0].c_str(), nullptr, 10), std::wcstol(pieces[1].c_str(), nullptr, 10),
                                  std::wcstol(pieces[2].c_str(), nullptr, 10));
        }
    }
    if (parsed != nullptr)
        *parsed = false;
    return 0;
}

int OxProgramInfo::CompareVersion(int major, int minor, int build) const
{
    const auto given = std::make_tuple(major, minor, build);
    const auto own = std::make_tuple(majorVersion, minorVersion, buildNumber);
    if (given == own)
        return 0;
    return given > own ? 1 : -1;
}

void IOxProgramInfo_Add(IOxQueryInterface* queryInterface, HINSTANCE moduleInstance, const wchar_t* shortName,
                        const wchar_t* productName, const wchar_t* nameSuffix, const wchar_t* companyName,
                        const wchar_t* versionText, int majorVersion, int minorVersion, int buildNumber)
{
    const boost::shared_ptr<OxProgramInfo> identity(new OxProgramInfo(
        moduleInstance, shortName, productName, nameSuffix, companyName, versionText, majorVersion, minorVersion, buildNumber));

    // Hands out the object built here; the registry owns it from the first request on.
    struct HandOutIdentity {
        boost::shared_ptr<OxProgramInfo> identity;
        OxComponentHandle operator()(IOxQueryInterface*) const { return OxComponentHandleOf(identity); }
    };
    queryInterface->RegisterCreator("OxProgramInfo", HandOutIdentity{identity}, std::string());
    BuildComponentNow(queryInterface, "OxProgramInfo");
}
