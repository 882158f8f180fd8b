// The program's identity as the component "OxProgramInfo".
#pragma once

#include "framework/interfaces/program_info.h"

class OxProgramInfo : public IOxProgramInfo {
public:
    // The texts are borrowed and must outlive the object.
    OxProgramInfo(HINSTANCE moduleInstance, const wchar_t* shortName, const wchar_t* productName,
                  const wchar_t* nameSuffix, const wchar_t* companyName, const wchar_t* versionText,
                  int majorVersion, int minorVersion, int buildNumber);

    HINSTANCE GetModuleInstance() const override;
    const wchar_t* GetProductName() const override;
    std::wstring GetFullName() const override;
    const wchar_t* GetShortName() const override;
    const wchar_t* GetCompanyName() const override;
    const wchar_t* GetVersionText() const override;
    int GetMajorVersion() const override;
    int GetMinorVersion() const override;
    int GetBuildNumber() const override;
    int CompareVersionText(const std::wstring& versionText, bool* parsed) const override;
    int CompareVersion(int major, int minor, int build) const override;

    virtual ~OxProgramInfo() = default;

private:
    HINSTANCE moduleInstance;
    const wchar_t* productName;
    const wchar_t* nameSuffix;
    const wchar_t* shortName;
    const wchar_t* companyName;
    const wchar_t* versionText;
    int majorVersion;
    int minorVersion;
    int buildNumber;
};

// Registers the identity under "OxProgramInfo" and has the registry take it at once. The texts
// must outlive the registry.
void IOxProgramInfo_Add(IOxQueryInterface* queryInterface, HINSTANCE moduleInstance, const wchar_t* shortName,
                        const wchar_t* productName, const wchar_t* nameSuffix, const wchar_t* companyName,
                        const wchar_t* versionText, int majorVersion, int minorVersion, int buildNumber);
