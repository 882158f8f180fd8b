// Forwards numbered command lines to the running instance as a later start of the program
// does: finds its dispatch window by class and sends each line as one WM_COPYDATA record,
// waiting for each to be taken before the next.
//
//   command_line_forwarder SENDER COUNT
//
// Sends "SENDER LINE" for LINE from 0 to COUNT - 1, in that order. The exit code is the number
// of lines the window took, or -1 when there is no such window.
#include <string>

#include <windows.h>

#include <shellapi.h>

#include "services/single_instance_protocol.h"

namespace {

const UINT ForwardTimeoutMs = 10000;

bool Forward(HWND window, const std::wstring& line)
{
    COPYDATASTRUCT record = {};
    record.dwData = ForwardedCommandLineTag;
    record.cbData = static_cast<DWORD>(line.size() * sizeof(wchar_t));
    record.lpData = const_cast<wchar_t*>(line.data());
    DWORD_PTR taken = 0;
    return ::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record), SMTO_NORMAL, ForwardTimeoutMs, &taken)
        && taken != 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    int count = 0;
    LPWSTR* const arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const std::wstring sender = count > 1 ? arguments[1] : L"";
    const int lines = count > 2 ? _wtoi(arguments[2]) : 0;
    ::LocalFree(arguments);

    const HWND running = ::FindWindowW(DispatchWindowClassName, nullptr);
    if (running == nullptr)
        return -1;
    int taken = 0;
    for (int line = 0; line < lines; ++line) {
        if (Forward(running, sender + L" " + std::to_wstring(line)))
            ++taken;
    }
    return taken;
}
