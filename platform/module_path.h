// The path of a loaded module's file.
#pragma once

#include <string>

#include <windows.h>

// The full path of module's file (null: the program file); empty when it cannot be had or is
// longer than any path the program handles.
std::wstring ModuleFilePath(HMODULE module);
