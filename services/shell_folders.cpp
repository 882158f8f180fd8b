#include "services/shell_folders.h"

#include "platform/com_ptr.h"
#include "platform/scoped_resource.h"
#include "platform/shell_functions.h"

namespace {

const DWORD KnownFolderFlags = KF_FLAG_CREATE | KF_FLAG_INIT;

void MakeFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        ::CreateDirectoryW(path.c_str(), nullptr);
}

std::wstring CsidlFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = L"";
    if (!vantor::ShellFunctions::GetSpecialFolderPath(nullptr, folder, csidl, TRUE))
        return std::wstring();
    return folder;
}

// Owners of what the shell hands out.
struct TaskMemoryTraits {
    typedef void* Handle;
    static bool IsNone(void* memory) { return memory == nullptr; }
    static void Close(void* memory) { ::CoTaskMemFree(memory); }
};
struct ItemListTraits {
    typedef PIDLIST_ABSOLUTE Handle;
    static bool IsNone(PIDLIST_ABSOLUTE list) { return list == nullptr; }
    static void Close(PIDLIST_ABSOLUTE list) { vantor::ShellFunctions::FreeItemList(list); }
};

} // namespace

std::wstring ProgramDataFolder(int csidl, const std::wstring& company, const std::wstring& product,
                               const std::wstring& subfolder, bool create)
{
    std::wstring path = CsidlFolder(csidl);
    if (path.empty())
        return path;
    for (const std::wstring& level : {L"\\" + company + L"\\", product + L"\\", subfolder}) {
        if (level.empty())
            continue;
        path += level;
        if (create)
            MakeFolder(path);
    }
    return path;
}

std::wstring SpecialFolderPath(int csidl, const KNOWNFOLDERID& knownFolderId)
{
    PWSTR found = nullptr;
    if (SUCCEEDED(vantor::ShellFunctions::GetKnownFolderPath(knownFolderId, KnownFolderFlags, nullptr, &found))) {
        const vantor::ScopedResource<TaskMemoryTraits> owned(found);
        return found;
    }
    return CsidlFolder(csidl);
}

std::wstring ShellDisplayName(const std::wstring& path)
{
    PIDLIST_ABSOLUTE parsed = nullptr;
    if (FAILED(vantor::ShellFunctions::ItemListFromPath(path.c_str(), &parsed, nullptr)))
        return path;
    const vantor::ScopedResource<ItemListTraits> list(parsed);
    vantor::ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD child = nullptr;
    if (FAILED(vantor::ShellFunctions::BindToParent(list.Get(), IID_IShellFolder, reinterpret_cast<void**>(parent.Receive()), &child)))
        return path;
    STRRET name = {};
    if (FAILED(parent->GetDisplayNameOf(child, SHGDN_NORMAL, &name)))
        return path;
    PWSTR text = nullptr;
    if (FAILED(vantor::ShellFunctions::StrRetToString(&name, child, &text)))
        return path;
    const vantor::ScopedResource<TaskMemoryTraits> owned(text);
    return text;
}
