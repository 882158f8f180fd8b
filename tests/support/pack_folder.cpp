#include "pack_folder.h"

#include "platform/module_path.h"
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
    const vantor::ScopedFind search(::FindFirstFileW((folder + L"*").c_str(), &found));
    if (search) {
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
    const std::wstring program = vantor::ModuleFilePath(nullptr);
    return program.substr(0, program.find_last_of(L"\\/") + 1) + L"fixture_packs\\" + file;
}

std::string ReadFileStart(const std::wstring& path, size_t limit)
{
    const vantor::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return std::string();
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
    program.Reset(::LoadLibraryW(programPath.c_str()));
    if (withLangFolder)
        ::CreateDirectoryW((folder + L"lang").c_str(), nullptr);
    for (const std::wstring& pack : packs)
        ::CopyFileW(FixturePack(pack).c_str(), LangPath(pack).c_str(), FALSE);
}

PackFolder::~PackFolder()
{
    // A loaded library's file cannot be deleted.
    program.Reset();
    DeleteFolderTree(folder);
}

void PackFolder::AddLangFile(const std::wstring& file, const std::string& bytes) const
{
    AddFile(L"lang\\" + file, bytes);
}

void PackFolder::AddFile(const std::wstring& relative, const std::string& bytes) const
{
    const vantor::ScopedHandle handle(
        ::CreateFileW(Path(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle)
        return;
    DWORD written = 0;
    ::WriteFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
