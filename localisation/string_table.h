// Strings of a module's string table (RT_STRING: blocks of 16 counted UTF-16 strings), read
// with every step bounded by the block's size, so that a malformed library is merely found
// wanting, never read out of bounds.
#pragma once

#include <string>

#include <windows.h>

// The string with the given id; false when the module has none, the string is empty, or its
// block is malformed.
bool LoadTableString(HMODULE module, UINT id, std::wstring& text);
