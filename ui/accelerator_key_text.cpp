#include "ui/accelerator_key_text.h"

namespace {

struct KeyName {
    uint16_t key;
    const wchar_t* name;
};

// Virtual-key codes.
const uint16_t KeyF1 = 0x70;
const uint16_t KeyF9 = 0x78;
const uint16_t KeyF10 = 0x79;
const uint16_t KeyF19 = 0x82;

const KeyName NamedKeys[] = {
    {0x0D, L"Enter"}, {0x1B, L"Esc"},   {0x20, L"Space"}, {0x21, L"PgUp"}, {0x22, L"PgDown"},
    {0x23, L"End"},   {0x24, L"Home"},  {0x25, L"Left"},  {0x26, L"Up"},   {0x27, L"Right"},
    {0x28, L"Down"},  {0x2D, L"Ins"},   {0x2E, L"Del"},   {0xBE, L"Period"},
};

std::wstring VirtualKeyName(uint16_t key)
{
    for (const KeyName& named : NamedKeys) {
        if (named.key == key)
            return named.name;
    }
    if (key >= KeyF1 && key <= KeyF9)
        return L"F" + std::to_wstring(key - KeyF1 + 1);
    if (key >= KeyF10 && key <= KeyF19)
        return L"F" + std::to_wstring(key - KeyF10 + 10);
    return std::wstring();
}

} // namespace

std::wstring AcceleratorKeyText(uint8_t flags, uint16_t key)
{
    std::wstring name = (flags & AcceleratorVirtualKey) ? VirtualKeyName(key) : std::wstring();
    if (name.empty()) {
        if (!((key >= L'0' && key <= L'9') || (key >= L'A' && key <= L'Z')))
            return std::wstring();
        name = std::wstring(1, static_cast<wchar_t>(key));
    }
    std::wstring modifiers;
    if (flags & AcceleratorControl)
        modifiers += L"Ctrl+";
    if (flags & AcceleratorShift)
        modifiers += L"Shift+";
    if (flags & AcceleratorAlt)
        modifiers += L"Alt+";
    return modifiers + name;
}
