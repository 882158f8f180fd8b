// Helpers shared by the unit tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "framework/interfaces/base_program_stuff.h"
#include "framework/interfaces/ui_mgr.h"

// A top-level window of the STATIC class with the given rectangle, destroyed with the object.
class TestWindow {
public:
    explicit TestWindow(const RECT& rect, DWORD style = WS_POPUP);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND window;
};

// A top-level window whose messages are offered to handler first; handler answers true, with
// the result, for a message it took.
class HandlingWindow {
public:
    typedef std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)> Handler;

    explicit HandlingWindow(const Handler& handler);
    ~HandlingWindow();
    HandlingWindow(const HandlingWindow&) = delete;
    HandlingWindow& operator=(const HandlingWindow&) = delete;

    HWND Get() const { return frame.window; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Handler handler;
    TestWindow frame;
    WNDPROC previous;
};

// Dispatches every message waiting for this thread; returns how many there were.
int PumpMessages();
// Dispatches one waiting message; false when there was none.
bool PumpOneMessage();

// A base program component that records the windows attached to it.
class RecordingBaseProgramStuff : public OxBaseProgramStuffEmpty {
public:
    explicit RecordingBaseProgramStuff(IOxQueryInterface* queryInterface) : OxBaseProgramStuffEmpty(queryInterface) {}

    void AttachMainWindow(HWND window) override { attachedWindows.push_back(window); }

    std::vector<HWND> attachedWindows;
};

// A skin component that records the pages it is asked to show.
class RecordingUiMgr : public OxUiMgrEmpty {
public:
    explicit RecordingUiMgr(IOxQueryInterface* queryInterface) : OxUiMgrEmpty(queryInterface) {}

    void ShowHtmlPage(const std::wstring& path, WORD id, HWND owner) override
    {
        shownPages.push_back(path);
        shownIds.push_back(id);
        owners.push_back(owner);
    }

    std::vector<std::wstring> shownPages;
    std::vector<WORD> shownIds;
    std::vector<HWND> owners;
};
