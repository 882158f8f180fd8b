// Accelerator tables, such as a skin's or a language pack's. Input: the entries as an
// accelerator table resource holds them: flags, a padding byte, key and command, both 16-bit.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_input.h"
#include "ui/accelerator_key_text.h"

namespace {

bool IsKeyName(const std::wstring& name)
{
    static const wchar_t* const Names[] = {L"Enter", L"Esc",   L"Space", L"PgUp", L"PgDown", L"End",  L"Home",
                                           L"Left",  L"Up",    L"Right", L"Down", L"Ins",    L"Del",  L"Period"};
    for (const wchar_t* known : Names) {
        if (name == known)
            return true;
    }
    if (name.size() == 1)
        return (name[0] >= L'0' && name[0] <= L'9') || (name[0] >= L'A' && name[0] <= L'Z');
    if (name.size() >= 2 && name[0] == L'F' && name.find_first_not_of(L"0123456789", 1) == std::wstring::npos) {
        const int number = std::stoi(name.substr(1));
        return number >= 1 && number <= 19 && name[1] != L'0';
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    std::map<unsigned int, std::wstring> texts;
    while (!input.AtEnd()) {
        const uint8_t flags = input.NextByte();
        input.NextByte();
        const uint16_t key = static_cast<uint16_t>(input.NextByte() | input.NextByte() << 8);
        const unsigned int command = static_cast<unsigned int>(input.NextByte() | input.NextByte() << 8);
        const std::wstring text = AcceleratorKeyText(flags, key);
        if (text.empty())
            continue;
        texts[command] = text;

        // The text is the modifiers the flags name, in a fixed order, then the key's name:
        // split at the '+' signs, which no key's name holds.
        std::vector<std::wstring> parts(1);
        for (const wchar_t c : text) {
            if (c == L'+')
                parts.emplace_back();
            else
                parts.back() += c;
        }
        const std::wstring keyName = parts.back();
        parts.pop_back();
        static const std::pair<uint8_t, const wchar_t*> Modifiers[] = {
            {AcceleratorControl, L"Ctrl"}, {AcceleratorShift, L"Shift"}, {AcceleratorAlt, L"Alt"}};
        std::vector<std::wstring> named;
        for (const auto& modifier : Modifiers) {
            if (flags & modifier.first)
                named.emplace_back(modifier.second);
        }
        FUZZ_EXPECT(parts == named);
        FUZZ_EXPECT(IsKeyName(keyName));
        // A character key is named by itself.
        if (!(flags & AcceleratorVirtualKey))
            FUZZ_EXPECT(keyName == std::wstring(1, static_cast<wchar_t>(key)));
    }
    return 0;
}
