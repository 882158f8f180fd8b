// The shell functions the program uses, loaded from their libraries when first called instead of
// imported. The shell libraries are large, and a run that only shows the filter's pages, or only
// hands its command line on, never calls them. Each answers as the system function does when
// it fails, if its library or the function cannot be loaded.
#pragma once

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

namespace vantor {

namespace ShellFunctions {

UINT ExtractIcons(LPCWSTR file, int index, HICON* largeIcons, HICON* smallIcons, UINT icons);
HINSTANCE Execute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show);
BOOL GetSpecialFolderPath(HWND owner, LPWSTR path, int csidl, BOOL create);
HRESULT GetKnownFolderPath(REFKNOWNFOLDERID folder, DWORD flags, HANDLE token, PWSTR* path);
HRESULT ItemListFromPath(PCWSTR path, PIDLIST_ABSOLUTE* list, DWORD* attributes);
HRESULT BindToParent(PCIDLIST_ABSOLUTE list, REFIID interfaceId, void** parent, PCUITEMID_CHILD* child);
void FreeItemList(PIDLIST_ABSOLUTE list);
HRESULT StrRetToString(STRRET* name, PCUITEMID_CHILD child, LPWSTR* text);

} // namespace ShellFunctions

} // namespace vantor
