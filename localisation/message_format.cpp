#include "localisation/message_format.h"

#include <sstream>
#include <vector>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/format.hpp>
#include <boost/regex.hpp>

namespace {

const boost::wregex& ItemPattern()
{
    static const boost::wregex pattern(L"%%|%([0-9]+\\$)?[-=_+#0 ]*[0-9]*(\\.[0-9]+)?[lLh]?([pxoefgXEGdiusScC])");
    return pattern;
}

// Reads the value an item's conversion letter asks for and binds it to the item's number.
bool BindItem(boost::wformat& format, int number, wchar_t conversion, FormatArguments& arguments)
{
    switch (conversion) {
    case L'd':
    case L'i':
    case L'p': {
        int value;
        if (!arguments.NextInt(value))
            return false;
        format.bind_arg(number, value);
        return true;
    }
    case L'u':
    case L'o':
    case L'x':
    case L'X': {
        unsigned int value;
        if (!arguments.NextUnsigned(value))
            return false;
        format.bind_arg(number, value);
        return true;
    }
    case L'c':
    case L'C': {
        // A character travels through the variable arguments as an int.
        int value;
        if (!arguments.NextInt(value))
            return false;
        format.bind_arg(number, static_cast<wchar_t>(value));
        return true;
    }
    case L'e':
    case L'f':
    case L'g':
    case L'E':
    case L'G': {
        double value;
        if (!arguments.NextDouble(value))
            return false;
        format.bind_arg(number, value);
        return true;
    }
    default: {
        const wchar_t* value;
        if (!arguments.NextString(value))
            return false;
        format.bind_arg(number, value != nullptr ? value : L"(null)");
        return true;
    }
    }
}

} // namespace

bool VariadicArguments::NextInt(int& value)
{
    value = va_arg(arguments, int);
    return true;
}

bool VariadicArguments::NextUnsigned(unsigned int& value)
{
    value = va_arg(arguments, unsigned int);
    return true;
}

bool VariadicArguments::NextDouble(double& value)
{
    value = va_arg(arguments, double);
    return true;
}

bool VariadicArguments::NextString(const wchar_t*& value)
{
    value = va_arg(arguments, const wchar_t*);
    return true;
}

std::wstring FormatMessageText(const std::wstring& text, FormatArguments& arguments)
{
    enum class Mode { Undecided, Positional, Sequential };
    try {
        boost::wformat format(text);
        Mode mode = Mode::Undecided;
        int counter = 1;
        for (boost::wsregex_iterator item(text.begin(), text.end(), ItemPattern()), end; item != end; ++item) {
            const boost::wsmatch& match = *item;
            if (!match[3].matched)
                continue; // "%%"
            const bool positional = match[1].matched;
            const Mode itemMode = positional ? Mode::Positional : Mode::Sequential;
            if (mode != Mode::Undecided && mode != itemMode)
                return std::wstring();
            mode = itemMode;
            const int number = positional ? std::stoi(match.str(1)) : counter;
            if (!BindItem(format, number, match.str(3)[0], arguments))
                return std::wstring();
            counter = number + 1;
        }
        return format.str();
    } catch (const std::exception&) {
        // Boost.Format's errors, and item numbers too large to be numbers.
        return std::wstring();
    }
}

std::wstring ItemArgumentKinds(const std::wstring& text)
{
    std::wstring kinds;
    for (boost::wsregex_iterator item(text.begin(), text.end(), ItemPattern()), end; item != end; ++item) {
        if (!(*item)[3].matched)
            continue; // "%%"
        switch ((*item).str(3)[0]) {
        case L'u': case L'o': case L'x': case L'X': kinds += L'u'; break;
        case L'e': case L'f': case L'g': case L'E': case L'G': kinds += L'd'; break;
        case L's': case L'S': kinds += L's'; break;
        default: kinds += L'i'; break;
        }
    }
    return kinds;
}

std::wstring FormatUnits(LONGLONG value, const std::wstring& unitNames)
{
    size_t unit = 0;
    LONGLONG fraction = 0;
    while (value > 1024) {
        fraction = (value % 1024) * 100 / 1024;
        value /= 1024;
        ++unit;
    }
    std::vector<std::wstring> names;
    boost::algorithm::split(names, unitNames, boost::algorithm::is_space());
    if (unit >= names.size())
        return std::wstring();

    std::wostringstream text;
    text.imbue(std::locale::classic());
    text << value;
    if (unit > 0) {
        text << L'.';
        text.width(2);
        text.fill(L'0');
        text << fraction;
    }
    text << L' ' << names[unit];
    return text.str();
}
