#include "desktop.h"

#include <algorithm>
#include <cstdlib>

namespace {

const UINT SendTimeoutMs = 5000;

BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

bool HasDescendantOfClass(HWND window, const wchar_t* className)
{
    const std::vector<HWND> descendants = DescendantsOf(window);
    return std::any_of(descendants.begin(), descendants.end(), [className](HWND d) { return ClassNameOf(d) == className; });
}

bool IsVisibleDialog(HWND window)
{
    return ::IsWindowVisible(window) && ClassNameOf(window) == L"#32770";
}

// Pixels of a screen rectangle or of a drawing, as 0x00RRGGBB values.
class PixelImage {
public:
    PixelImage(int width, int height) : width(width), height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = ::CreateCompatibleDC(nullptr);
        bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        previous = ::SelectObject(dc, bitmap);
    }
    ~PixelImage()
    {
        ::SelectObject(dc, previous);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    PixelImage(const PixelImage&) = delete;
    PixelImage& operator=(const PixelImage&) = delete;

    HDC Dc() const { return dc; }
    DWORD At(int x, int y) const { return bits[y * width + x] & 0xFFFFFF; }
    void Fill(DWORD rgb)
    {
        std::fill(bits, bits + width * height, rgb);
    }
    // The share of pixels that look alike in both images.
    double Likeness(const PixelImage& other) const
    {
        int alike = 0;
        for (int i = 0; i < width * height; ++i) {
            const DWORD a = bits[i];
            const DWORD b = other.bits[i];
            bool close = true;
            for (int shift = 0; shift < 24; shift += 8)
                close = close && std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) <= 24;
            alike += close ? 1 : 0;
        }
        return double(alike) / (width * height);
    }

private:
    int width;
    int height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    DWORD* bits = nullptr;
};

BoxIcon ClassifyIcon(HWND iconControl)
{
    const RECT rect = WindowRect(iconControl);
    const int width = ::GetSystemMetrics(SM_CXICON);
    const int height = ::GetSystemMetrics(SM_CYICON);
    PixelImage screen(width, height);
    const HDC screenDc = ::GetDC(nullptr);
    ::BitBlt(screen.Dc(), 0, 0, width, height, screenDc, rect.left, rect.top, SRCCOPY);
    ::ReleaseDC(nullptr, screenDc);

    // The dialog's background, just left of the icon.
    PixelImage background(1, 1);
    const HDC sampleDc = ::GetDC(nullptr);
    ::BitBlt(background.Dc(), 0, 0, 1, 1, sampleDc, rect.left - 2, rect.top + height / 2, SRCCOPY);
    ::ReleaseDC(nullptr, sampleDc);

    struct Candidate {
        BoxIcon icon;
        LPCWSTR id;
    };
    const Candidate candidates[] = {{BoxIcon::None, nullptr}, {BoxIcon::Error, IDI_HAND}, {BoxIcon::Warning, IDI_EXCLAMATION},
                                    {BoxIcon::Information, IDI_ASTERISK}, {BoxIcon::Question, IDI_QUESTION}};
    BoxIcon best = BoxIcon::Unknown;
    double bestLikeness = 0.9;
    for (const Candidate& candidate : candidates) {
        PixelImage drawn(width, height);
        drawn.Fill(background.At(0, 0));
        if (candidate.id != nullptr)
            ::DrawIconEx(drawn.Dc(), 0, 0, ::LoadIconW(nullptr, candidate.id), width, height, 0, nullptr, DI_NORMAL);
        const double likeness = screen.Likeness(drawn);
        if (likeness > bestLikeness) {
            bestLikeness = likeness;
            best = candidate.icon;
        }
    }
    return best;
}

} // namespace

bool operator==(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

void PrintTo(const RECT& rect, std::ostream* out)
{
    *out << "(" << rect.left << ", " << rect.top << ")-(" << rect.right << ", " << rect.bottom << ")";
}

const char ExpectedOnWindowsNotObserved[] = "(the Windows answer expected here has not been observed)";

bool RunningOnWine()
{
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring WindowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, SendTimeoutMs, &length))
        return std::wstring();
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                               SendTimeoutMs, &copied))
        return std::wstring();
    text.resize(std::min<size_t>(copied, length));
    return text;
}

std::wstring ClassNameOf(HWND window)
{
    wchar_t name[256] = L"";
    ::GetClassNameW(window, name, 256);
    return name;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

RECT WorkAreaOf(HWND window)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId)
{
    std::vector<HWND> all;
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> owned;
    for (HWND window : all) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            owned.push_back(window);
    }
    return owned;
}

std::vector<HWND> DescendantsOf(HWND window)
{
    std::vector<HWND> descendants;
    ::EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&descendants));
    return descendants;
}

HWND FindDescendantById(HWND window, int controlId)
{
    for (HWND descendant : DescendantsOf(window)) {
        if (::GetDlgCtrlID(descendant) == controlId)
            return descendant;
    }
    return nullptr;
}

HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = find()) != nullptr; }, timeoutMs);
    return found;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount64() >= deadline)
            return false;
        ::Sleep(50);
    }
}

std::vector<HWND> PropertyFramesOf(DWORD processId)
{
    std::vector<HWND> frames;
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (IsVisibleDialog(window) && HasDescendantOfClass(window, L"SysTabControl32"))
            frames.push_back(window);
    }
    return frames;
}

HWND FindPropertyFrame(DWORD processId)
{
    const std::vector<HWND> frames = PropertyFramesOf(processId);
    return frames.empty() ? nullptr : frames.front();
}

HWND FindMessageBox(DWORD processId)
{
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (IsVisibleDialog(window) && !HasDescendantOfClass(window, L"SysTabControl32"))
            return window;
    }
    return nullptr;
}

const char* BoxIconName(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::None: return "none";
    case BoxIcon::Error: return "error";
    case BoxIcon::Warning: return "warning";
    case BoxIcon::Information: return "information";
    case BoxIcon::Question: return "question";
    default: return "unknown";
    }
}

MessageBoxView ReadMessageBox(HWND box)
{
    // Let the box paint itself before its icon is looked at.
    ::Sleep(300);
    MessageBoxView view;
    view.caption = WindowText(box);
    view.icon = BoxIcon::None;
    for (HWND child : DescendantsOf(box)) {
        const std::wstring className = ClassNameOf(child);
        if (className == L"Button") {
            view.buttons.push_back(WindowText(child));
        } else if (className == L"Static") {
            if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                view.icon = ClassifyIcon(child);
            else if (WindowText(child).size() > view.text.size())
                view.text = WindowText(child);
        }
    }
    return view;
}

void PressButton(HWND dialog, int buttonId)
{
    ::PostMessageW(::GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
}

void TypeInto(HWND edit, const std::wstring& text)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, SendTimeoutMs, &result);
}
