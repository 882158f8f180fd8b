#include "pack_folder.h"

#include "platform/scoped_resource.h"

namespace {

std::wstring TestFolder()
{
    static int counter = 0;
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"vantor-packs-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L"\\";
}

void DeleteFolderTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found = {};
    const HANDLE first = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (first != INVALID_HANDLE_VALUE) {
        const ScopedFind search(first);
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteFolderTree(folder + name + L"\\");
            else
                ::DeleteFileW((folder + name).c_str());
        } while (::FindNextFileW(search.Get(), &found));
    }
    ::RemoveDirectoryW(folder.c_str());
}

} // namespace

std::wstring FixturePack(const std::wstring& file)
{
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"fixture_packs\\" + file;
}

std::string ReadFileStart(const std::wstring& path, size_t limit)
{
    const HANDLE opened = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return std::string();
    const ScopedHandle file(opened);
    std::string bytes(limit, '\0');
    DWORD read = 0;
    ::ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(limit), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

PackFolder::PackFolder(const std::vector<std::wstring>& packs, bool withLangFolder)
    : folder(TestFolder())
{
    ::CreateDirectoryW(folder.c_str(), nullptr);
    // A resource-only library has no start-up code: loading it stands in for the program file.
    const std::wstring programPath = folder + L"program.dll";
    ::CopyFileW(FixturePack(L"pack_fra.dll").c_str(), programPath.c_str(), FALSE);
    program = ::LoadLibraryW(programPath.c_str());
    if (withLangFolder)
        ::CreateDirectoryW((folder + L"lang").c_str(), nullptr);
    for (const std::wstring& pack : packs)
        ::CopyFileW(FixturePack(pack).c_str(), LangPath(pack).c_str(), FALSE);
}

PackFolder::~PackFolder()
{
    ::FreeLibrary(program);
    DeleteFolderTree(folder);
}

void PackFolder::AddLangFile(const std::wstring& file, const std::string& bytes) const
{
    const HANDLE created = ::CreateFileW(LangPath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE)
        return;
    const ScopedHandle handle(created);
    DWORD written = 0;
    ::WriteFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
