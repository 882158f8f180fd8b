#include "ui/accelerator_texts.h"

#include <vector>

namespace {

struct KeyName {
    WORD key;
    const wchar_t* name;
};

const KeyName NamedKeys[] = {
    {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"},  {VK_SPACE, L"Space"}, {VK_PRIOR, L"PgUp"},     {VK_NEXT, L"PgDown"},
    {VK_END, L"End"},      {VK_HOME, L"Home"},   {VK_LEFT, L"Left"},   {VK_UP, L"Up"},          {VK_RIGHT, L"Right"},
    {VK_DOWN, L"Down"},    {VK_INSERT, L"Ins"},  {VK_DELETE, L"Del"},  {VK_OEM_PERIOD, L"Period"},
};

std::wstring VirtualKeyName(WORD key)
{
    for (const KeyName& named : NamedKeys) {
        if (named.key == key)
            return named.name;
    }
    if (key >= VK_F1 && key <= VK_F9)
        return L"F" + std::to_wstring(key - VK_F1 + 1);
    if (key >= VK_F10 && key <= VK_F19)
        return L"F" + std::to_wstring(key - VK_F10 + 10);
    return std::wstring();
}

} // namespace

std::wstring AcceleratorText(const ACCEL& accelerator)
{
    std::wstring name = (accelerator.fVirt & FVIRTKEY) ? VirtualKeyName(accelerator.key) : std::wstring();
    if (name.empty()) {
        const WORD key = accelerator.key;
        if (!((key >= L'0' && key <= L'9') || (key >= L'A' && key <= L'Z')))
            return std::wstring();
        name = std::wstring(1, static_cast<wchar_t>(key));
    }
    std::wstring modifiers;
    if (accelerator.fVirt & FCONTROL)
        modifiers += L"Ctrl+";
    if (accelerator.fVirt & FSHIFT)
        modifiers += L"Shift+";
    if (accelerator.fVirt & FALT)
        modifiers += L"Alt+";
    return modifiers + name;
}

bool AddAcceleratorTexts(HACCEL table, std::map<UINT, std::wstring>& texts)
{
    const int count = ::CopyAcceleratorTableW(table, nullptr, 0);
    if (count < 0)
        return false;
    std::vector<ACCEL> entries(static_cast<size_t>(count));
    if (count > 0 && ::CopyAcceleratorTableW(table, entries.data(), count) != count)
        return false;
    for (const ACCEL& entry : entries) {
        const std::wstring text = AcceleratorText(entry);
        if (!text.empty())
            texts[entry.cmd] = text;
    }
    return true;
}
