#include "services/ox_our_products.h"

#include <vector>

#include "platform/shell_functions.h"

#include "framework/interfaces/program_info.h"
#include "services/registry.h"

namespace {

const wchar_t HelpPageAddress[] = L"https://www.zelk-soft.com/support/vantor-source/";

} // namespace

OxOurProducts::OxOurProducts(IOxQueryInterface* queryInterface)
    : products{ProductRecord{"ZELK", 3, L"ZELK Vantor Source"}}, programMgr(queryInterface)
{
}

const OxOurProducts::ProductRecord* OxOurProducts::Find(const std::string& key) const
{
    for (const ProductRecord& record : products) {
        if (record.key == key)
            return &record;
    }
    return nullptr;
}

void OxOurProducts::GetProducts(ProductMap& map)
{
    map.clear();
    for (const ProductRecord& record : products)
        map.emplace(record.number, std::make_pair(record.key, record.name));
}

bool OxOurProducts::FindProduct(const std::string& key, std::wstring& name, int* number)
{
    const ProductRecord* const record = Find(key);
    if (record == nullptr)
        return false;
    name = record->name;
    if (number != nullptr)
        *number = record->number;
    return true;
}

bool OxOurProducts::IsProductInstalled(const std::string& key)
{
    std::wstring path;
    return GetProductExePath(key, path);
}

bool OxOurProducts::GetProductExePath(const std::string& key, std::wstring& path)
{
    const ProductRecord* const record = Find(key);
    if (record == nullptr)
        return false;
    const std::wstring company = programMgr.Get<IOxProgramInfo>()->GetCompanyName();
    const OxRegistry productKey(HKEY_CURRENT_USER, L"Software\\" + company + L"\\" + record->name);
    std::wstring fileName;
    if (!productKey.ReadString(L"", path) || !productKey.ReadString(L"program_exe_name", fileName))
        return false;
    // An empty folder is none: joined to the file it would name the root of the current drive.
    if (path.empty())
        return false;
    path += L"\\" + fileName;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool OxOurProducts::GetProductVersion(const std::string& key, int* major, int* minor, int* build)
{
    std::wstring path;
    if (!GetProductExePath(key, path))
        return false;
    DWORD handle = 1;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0 || handle != 0)
        return false;
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    // A block too short for the whole structure is no fixed file information.
    if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr
        || length < sizeof(VS_FIXEDFILEINFO))
        return false;
    if (major != nullptr)
        *major = HIWORD(fixed->dwFileVersionMS);
    if (minor != nullptr)
        *minor = LOWORD(fixed->dwFileVersionMS);
    if (build != nullptr)
        *build = HIWORD(fixed->dwFileVersionLS);
    return true;
}

HICON OxOurProducts::GetProductIcon(const std::string& key, bool small)
{
    std::wstring path;
    if (!GetProductExePath(key, path))
        return nullptr;
    HICON icon = nullptr;
    const UINT extracted = small ? vantor::ShellFunctions::ExtractIcons(path.c_str(), 0, nullptr, &icon, 1)
                                 : vantor::ShellFunctions::ExtractIcons(path.c_str(), 0, &icon, nullptr, 1);
    return extracted == 1 ? icon : nullptr;
}

std::wstring OxOurProducts::GetHelpUrl(int page, const std::string&)
{
    return page == 0 ? HelpPageAddress : std::wstring();
}

void OxOurProducts::ReservedA(DWORD, DWORD) {}

void OxOurProducts::ReservedB(DWORD, DWORD, DWORD, DWORD, DWORD, DWORD) {}

bool OpenHelpPage(IOxQueryInterface* queryInterface)
{
    const std::wstring address = OxInterfacePtr<IOxOurProducts>(queryInterface, "GlobalUse").Get()->GetHelpUrl(0, std::string());
    if (address.empty())
        return false;
    const HINSTANCE result = vantor::ShellFunctions::Execute(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
