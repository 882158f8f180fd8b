// The program's data folders and the shell's special folders and display names.
#pragma once

#include <string>

#include <shlobj.h>
#include <windows.h>

// The special folder csidl + company + "\" + product + "\" (+ subfolder, one level), each
// level made when create is true; ends with a backslash without a subfolder. Empty when the
// special folder cannot be had.
std::wstring ProgramDataFolder(int csidl, const std::wstring& company, const std::wstring& product,
                               const std::wstring& subfolder, bool create);

// The known folder (made if missing) where the system has known folders, else the CSIDL
// folder; empty when neither can be had.
std::wstring SpecialFolderPath(int csidl, const KNOWNFOLDERID& knownFolderId);

// What the shell shows for a path; the path itself when the shell cannot name it.
std::wstring ShellDisplayName(const std::wstring& path);
