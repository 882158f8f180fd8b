// The path of a loaded module's file, and of files beside it.
#pragma once

#include <string>

#include <windows.h>

namespace vantor {

// The full path of module's file (null: the program file); empty when it cannot be had or is
// longer than any path the program handles.
std::wstring ModuleFilePath(HMODULE module);

// The folder of the file module was loaded from, with a trailing backslash; empty when unknown.
std::wstring ProgramFolder(HMODULE module);

// A file relative to the program folder ("lang\\*.dll"); a name with a drive ("C:...") as it is.
std::wstring ResolveInProgramFolder(HMODULE module, const std::wstring& name);

} // namespace vantor
