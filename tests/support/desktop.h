// What a user sees of another process: its windows, their texts, styles and places, the
// message boxes it shows and the icons in them; and the buttons a user presses.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <windows.h>

// Rectangles in assertions.
bool operator==(const RECT& a, const RECT& b);
void PrintTo(const RECT& rect, std::ostream* out);

// True under Wine, for the assertions that name a known difference from Windows.
bool RunningOnWine();
// Streamed into each assertion of a Windows branch: what Windows is expected to answer there
// has not been observed, as the tests have run under Wine only (Wine's answers beside them
// were). A failure on Windows may mean the expectation is wrong rather than the program.
extern const char ExpectedOnWindowsNotObserved[];

std::wstring WindowText(HWND window);
std::wstring ClassNameOf(HWND window);
RECT WindowRect(HWND window);
RECT WorkAreaOf(HWND window);
std::vector<HWND> TopLevelWindowsOf(DWORD processId);
std::vector<HWND> DescendantsOf(HWND window);
HWND FindDescendantById(HWND window, int controlId);

// Polls find every 50 ms until it yields a window; null after timeoutMs.
HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs = 20000);
// Polls condition every 50 ms; false when it still fails after timeoutMs.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

// The visible property frames of a process: dialogs holding a tab control.
std::vector<HWND> PropertyFramesOf(DWORD processId);
// The first of them, or null.
HWND FindPropertyFrame(DWORD processId);
// A visible dialog of the process other than its property frame.
HWND FindMessageBox(DWORD processId);

enum class BoxIcon { None, Error, Warning, Information, Question, Unknown };
const char* BoxIconName(BoxIcon icon);

struct MessageBoxView {
    std::wstring caption;
    std::wstring text;
    BoxIcon icon;
    std::vector<std::wstring> buttons;
};
// Reads a message box; its icon is told apart by comparing what is on screen with the
// system's icons.
MessageBoxView ReadMessageBox(HWND box);

// Clicks a button of a dialog as a user would; the click is posted, as a user's would be.
void PressButton(HWND dialog, int buttonId);
// Puts text into an edit control, which notifies its parent of the change.
void TypeInto(HWND edit, const std::wstring& text);
