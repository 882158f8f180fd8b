// Language packs: resource-only libraries in the folder "lang" beside the program, each with
// a string table naming the product it belongs to and the language it holds.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "framework/interfaces/multi_language.h"
#include "platform/scoped_resource.h"

// String ids of a pack's string table.
const UINT PackNameStringId = 91;
const UINT PackCodeStringId = 92;
const UINT PackIdentityStringId = 93;
const UINT PackShortCodeStringId = 94;
const UINT SizeUnitsStringId = 95;
const UINT SpeedUnitsStringId = 96;

// The names of the files in "lang" beside the program that may be packs ("*.dll").
std::vector<std::wstring> FindPackFiles(HMODULE programModule);

// Maps a pack as a resource-only image: none of its code runs. An empty holder on failure.
vantor::ScopedLibrary MapLanguagePack(const std::wstring& path);

// The language a mapped pack holds (its pack path left empty), when it belongs to productName
// and names itself fully.
bool ReadPackLanguage(HMODULE pack, const std::wstring& productName, LanguageInfo& language);
