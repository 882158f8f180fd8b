#include "localisation/language_pack.h"

#include "localisation/string_table.h"
#include "platform/module_path.h"

namespace {

const wchar_t PackFolder[] = L"lang\\";

} // namespace


std::vector<std::wstring> FindPackFiles(HMODULE programModule)
{
    std::vector<std::wstring> files;
    const std::wstring pattern = vantor::ResolveInProgramFolder(programModule, std::wstring(PackFolder) + L"*.dll");
    WIN32_FIND_DATAW found = {};
    const vantor::ScopedFind search(::FindFirstFileW(pattern.c_str(), &found));
    if (!search)
        return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(found.cFileName);
    } while (::FindNextFileW(search.Get(), &found));
    return files;
}

vantor::ScopedLibrary MapLanguagePack(const std::wstring& path)
{
    return vantor::ScopedLibrary(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

bool ReadPackLanguage(HMODULE pack, const std::wstring& productName, LanguageInfo& language)
{
    std::wstring product;
    LanguageInfo read;
    if (!LoadTableString(pack, PackIdentityStringId, product) || product != productName
        || !LoadTableString(pack, PackCodeStringId, read.code) || !LoadTableString(pack, PackShortCodeStringId, read.shortCode)
        || !LoadTableString(pack, PackNameStringId, read.displayName))
        return false;
    language = read;
    return true;
}
