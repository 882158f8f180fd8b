// The texts menus show for accelerators: fixed modifier order, then the key's name.
#pragma once

#include <map>
#include <string>

#include <windows.h>

// "Ctrl+Shift+F5" and the like; empty for a key without a name, which menus leave out.
std::wstring AcceleratorText(const ACCEL& accelerator);

// Adds the text of every named accelerator of the table under its command id, replacing
// earlier texts; of several accelerators of one command the last in the table wins. Changes
// nothing and answers false when the table cannot be copied.
bool AddAcceleratorTexts(HACCEL table, std::map<UINT, std::wstring>& texts);
