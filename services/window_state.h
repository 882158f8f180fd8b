// Window rectangles and list-control layouts remembered in a settings store, under
// "Controls\" + window name or control id.
#pragma once

#include <string>

#include <windows.h>

#include "framework/component_view.h"
#include "framework/interfaces/program_settings.h"

// Stores the rectangle of a normal window, or only that a maximised window was maximised; a
// minimised window stores nothing.
void SaveWindowState(IOxSettings& settings, const std::wstring& name, HWND window);
// Puts the window at its stored rectangle (its position only, with keepSize) and rescues it
// onto a monitor, or centres it when nothing usable is stored; writes SW_MAXIMIZE through
// showCommand for a window stored maximised, and leaves it alone otherwise.
void RestoreWindowState(IOxSettings& settings, const OxComponentView<IOxProgramSettings>& programMgr, const std::wstring& name,
                        HWND window, int* showCommand, bool keepSize);

// A list box's selection or a report-style list view's column widths, by the control's id.
void SaveControlState(IOxSettings& settings, HWND control, int kind);
void RestoreControlState(IOxSettings& settings, HWND control, int kind);
