// "OxProgramInfo": what the program is (short code, product, company, version).
#pragma once

#include <string>

#include <windows.h>

#include "framework/interface_ptr.h"

class IOxProgramInfo {
public:
    // What a component of this kind is handed out as.
    typedef IOxProgramInfo Interface;

    virtual HINSTANCE GetModuleInstance() const = 0;
    virtual const wchar_t* GetProductName() const = 0;
    // The product name followed by the name suffix.
    virtual std::wstring GetFullName() const = 0;
    virtual const wchar_t* GetShortName() const = 0;
    virtual const wchar_t* GetCompanyName() const = 0;
    virtual const wchar_t* GetVersionText() const = 0;
    virtual int GetMajorVersion() const = 0;
    virtual int GetMinorVersion() const = 0;
    virtual int GetBuildNumber() const = 0;
    // Compares a "major.minor.build" text with the own version like CompareVersion; 0 when it
    // does not parse. parsed (may be null) tells whether it did.
    virtual int CompareVersionText(const std::wstring& versionText, bool* parsed) const = 0;
    // 0: equal to the own version; 1: the given version is newer; -1: it is older.
    virtual int CompareVersion(int major, int minor, int build) const = 0;

protected:
    ~IOxProgramInfo() = default;
};

class OxProgramInfoEmpty : public IOxProgramInfo {
public:
    explicit OxProgramInfoEmpty(IOxQueryInterface*) {}

    HINSTANCE GetModuleInstance() const override { return nullptr; }
    const wchar_t* GetProductName() const override { return L""; }
    std::wstring GetFullName() const override { return std::wstring(); }
    const wchar_t* GetShortName() const override { return L""; }
    const wchar_t* GetCompanyName() const override { return L""; }
    const wchar_t* GetVersionText() const override { return L"0.0.0"; }
    int GetMajorVersion() const override { return 0; }
    int GetMinorVersion() const override { return 0; }
    int GetBuildNumber() const override { return 0; }
    int CompareVersionText(const std::wstring&, bool*) const override { return 0; }
    int CompareVersion(int, int, int) const override { return 0; }
};

OX_BIND_INTERFACE(IOxProgramInfo, "OxProgramInfo", OxProgramInfoEmpty);
