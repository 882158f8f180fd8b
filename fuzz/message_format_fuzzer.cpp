// Message texts and unit names as a language pack gives them. Input: the message text, a zero
// unit, the unit names, a zero unit, then the bytes the arguments are made of.
#include <cstring>
#include <list>

#include "fuzz_input.h"
#include "localisation/message_format.h"

namespace {

// Values made of the input's last bytes; once they run out, no value at all. Remembers the kind
// of every value asked for.
class InputArguments : public FormatArguments {
public:
    explicit InputArguments(FuzzInput& input) : input(input) {}

    bool NextInt(int& value) override { return Next(L'i', value); }
    bool NextUnsigned(unsigned int& value) override { return Next(L'u', value); }
    bool NextDouble(double& value) override { return Next(L'd', value); }
    bool NextString(const wchar_t*& value) override
    {
        kinds += L's';
        if (input.AtEnd())
            return false;
        // Now and then a null string, which the text shows as "(null)".
        if (input.NextByte() % 8 == 0) {
            value = nullptr;
            return true;
        }
        texts.push_back(input.NextText());
        value = texts.back().c_str();
        return true;
    }

    std::wstring kinds;

private:
    template <class Value>
    bool Next(wchar_t kind, Value& value)
    {
        kinds += kind;
        if (input.AtEnd())
            return false;
        unsigned char bytes[sizeof(Value)] = {};
        for (unsigned char& byte : bytes)
            byte = input.NextByte();
        std::memcpy(&value, bytes, sizeof(value));
        return true;
    }

    FuzzInput& input;
    std::list<std::wstring> texts;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const std::wstring text = input.NextText();
    const std::wstring unitNames = input.NextText();

    const std::wstring kinds = ItemArgumentKinds(text);
    InputArguments arguments(input);
    const std::wstring formatted = FormatMessageText(text, arguments);
    // A text is formatted only with the values its kinds promise; a pack's text is checked
    // against the program's own by these kinds alone.
    if (!formatted.empty())
        FUZZ_EXPECT(arguments.kinds == kinds);
    else
        FUZZ_EXPECT(kinds.compare(0, arguments.kinds.size(), arguments.kinds) == 0);

    long long value = 0;
    for (int shift = 0; shift < 64; shift += 8)
        value |= static_cast<long long>(static_cast<unsigned long long>(input.NextByte()) << shift);
    const std::wstring units = FormatUnits(value, unitNames);
    FUZZ_EXPECT(units.empty() || units.find(L' ') != std::wstring::npos);
    return 0;
}
