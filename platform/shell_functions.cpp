#include "platform/shell_functions.h"

#include <shlwapi.h>

#include "platform/scoped_resource.h"

namespace vantor {

namespace {

// Kept until the process ends, as imported libraries are.
HMODULE ShellModule()
{
    static const ScopedLibrary library(::LoadLibraryW(L"shell32.dll"));
    return library.Get();
}

HMODULE UtilitiesModule()
{
    static const ScopedLibrary library(::LoadLibraryW(L"shlwapi.dll"));
    return library.Get();
}

// The function of that name, typed as its declaration; null when it cannot be loaded.
template <class Function>
Function* Find(HMODULE library, const char* name, Function*)
{
    return library != nullptr ? reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(library, name)))
                              : nullptr;
}

} // namespace

namespace ShellFunctions {

UINT ExtractIcons(LPCWSTR file, int index, HICON* largeIcons, HICON* smallIcons, UINT icons)
{
    static const auto function = Find(ShellModule(), "ExtractIconExW", &::ExtractIconExW);
    return function != nullptr ? function(file, index, largeIcons, smallIcons, icons) : 0;
}

HINSTANCE Execute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show)
{
    static const auto function = Find(ShellModule(), "ShellExecuteW", &::ShellExecuteW);
    return function != nullptr ? function(owner, verb, file, parameters, folder, show)
                               : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}

BOOL GetSpecialFolderPath(HWND owner, LPWSTR path, int csidl, BOOL create)
{
    static const auto function = Find(ShellModule(), "SHGetSpecialFolderPathW", &::SHGetSpecialFolderPathW);
    return function != nullptr ? function(owner, path, csidl, create) : FALSE;
}

HRESULT GetKnownFolderPath(REFKNOWNFOLDERID folder, DWORD flags, HANDLE token, PWSTR* path)
{
    // Systems before Vista have no known folders.
    static const auto function = Find(ShellModule(), "SHGetKnownFolderPath", &::SHGetKnownFolderPath);
    return function != nullptr ? function(folder, flags, token, path) : E_NOTIMPL;
}

HRESULT ItemListFromPath(PCWSTR path, PIDLIST_ABSOLUTE* list, DWORD* attributes)
{
    static const auto function = Find(ShellModule(), "SHILCreateFromPath", &::SHILCreateFromPath);
    return function != nullptr ? function(path, list, attributes) : E_NOTIMPL;
}

HRESULT BindToParent(PCIDLIST_ABSOLUTE list, REFIID interfaceId, void** parent, PCUITEMID_CHILD* child)
{
    static const auto function = Find(ShellModule(), "SHBindToParent", &::SHBindToParent);
    return function != nullptr ? function(list, interfaceId, parent, child) : E_NOTIMPL;
}

void FreeItemList(PIDLIST_ABSOLUTE list)
{
    static const auto function = Find(ShellModule(), "ILFree", &::ILFree);
    if (function != nullptr)
        function(list);
}

HRESULT StrRetToString(STRRET* name, PCUITEMID_CHILD child, LPWSTR* text)
{
    static const auto function = Find(UtilitiesModule(), "StrRetToStrW", &::StrRetToStrW);
    return function != nullptr ? function(name, child, text) : E_NOTIMPL;
}

} // namespace ShellFunctions

} // namespace vantor
