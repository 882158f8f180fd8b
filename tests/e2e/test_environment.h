// What the end-to-end tests set up around the program: which filter is registered, how a
// fixture filter misbehaves, and the filter's stored settings.
#pragma once

#include <string>

#include <windows.h>

// The libraries that can serve the filter's class id.
extern const wchar_t StandInFilter[];
extern const wchar_t MisbehavingFilter[];

// Registers or unregisters a COM server beside the driver, as regsvr32 does; false on failure.
bool RegisterServer(const wchar_t* fileName);
bool UnregisterServer(const wchar_t* fileName);

// Chooses the fixture filter's misbehaviour for programs started from now on (empty: none).
void ChooseFixtureBehaviour(const std::wstring& behaviour);

// The filter's settings under the current user.
extern const wchar_t FilterSettingsKey[];
void DeleteFilterSettings();
// False when the value is missing or no number.
bool ReadFilterSetting(const wchar_t* name, DWORD* value);

// The exit code a Windows parent sees for an exit code of -1.
const DWORD ExitCodeMinusOne = 0xFFFFFFFF;
