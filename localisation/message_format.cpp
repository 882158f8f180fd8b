#include "localisation/message_format.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/format.hpp>
#include <boost/regex.hpp>

namespace {

const boost::wregex& ItemPattern()
{
    // Groups: 1 the position, 2 the width, 3 the precision, 4 the conversion letter.
    static const boost::wregex pattern(L"%%|%([0-9]+\\$)?[-=_+#0 ]*([0-9]*)(\\.[0-9]+)?[lLh]?([pxoefgXEGdiusScC])");
    return pattern;
}

// Positions, widths and precisions beyond this make a bad format: no message needs them, and
// Boost.Format would overflow reading them or pad a text to gigabytes.
const unsigned int MaxItemNumber = 1024;

// Whether the digits of a position, width or precision (with its "$" or ".") stay within
// MaxItemNumber; true for none.
bool IsWithinItemLimit(const std::wstring& number)
{
    unsigned int value = 0;
    for (const wchar_t c : number) {
        if (c < L'0' || c > L'9')
            continue;
        value = value * 10 + static_cast<unsigned int>(c - L'0');
        if (value > MaxItemNumber)
            return false;
    }
    return true;
}

// Whether an item's flags ask for at most one alignment: left ("-"), centred ("=") or internal
// ("_"). Boost.Format has no meaning for two of them together and trips over some of those
// mixtures ("%-0_d").
bool HasOneAlignmentAtMost(std::wstring::const_iterator flags, std::wstring::const_iterator flagsEnd)
{
    int alignments = 0;
    for (; flags != flagsEnd; ++flags)
        alignments += (*flags == L'-' || *flags == L'=' || *flags == L'_') ? 1 : 0;
    return alignments <= 1;
}

// Whether text may go to Boost.Format: each percent sign starts an item of the pattern or a
// "%%", with numbers within the limit. Boost.Format's further items ("%T" tabulations, "%|...|",
// "%N%") count as bad: it misreads some of them, such as "%T%%T", past their end and then
// writes beyond its own table of items.
bool HasOnlyKnownItems(const std::wstring& text)
{
    std::wstring::const_iterator gap = text.begin();
    for (boost::wsregex_iterator item(text.begin(), text.end(), ItemPattern()), end; item != end; ++item) {
        const boost::wsmatch& match = *item;
        if (std::find(gap, match[0].first, L'%') != match[0].first)
            return false;
        gap = match[0].second;
        if (!match[4].matched)
            continue;
        if (!(IsWithinItemLimit(match.str(1)) && IsWithinItemLimit(match.str(2)) && IsWithinItemLimit(match.str(3))))
            return false;
        // The flags stand between the percent sign (or the position) and the width.
        if (!HasOneAlignmentAtMost(match[1].matched ? match[1].second : match[0].first + 1, match[2].first))
            return false;
    }
    return std::find(gap, text.end(), L'%') == text.end();
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
    if (!HasOnlyKnownItems(text))
        return std::wstring();
    try {
        boost::wformat format(text);
        Mode mode = Mode::Undecided;
        int counter = 1;
        for (boost::wsregex_iterator item(text.begin(), text.end(), ItemPattern()), end; item != end; ++item) {
            const boost::wsmatch& match = *item;
            if (!match[4].matched)
                continue; // "%%"
            const bool positional = match[1].matched;
            const Mode itemMode = positional ? Mode::Positional : Mode::Sequential;
            if (mode != Mode::Undecided && mode != itemMode)
                return std::wstring();
            mode = itemMode;
            const int number = positional ? std::stoi(match.str(1)) : counter;
            if (!BindItem(format, number, match.str(4)[0], arguments))
                return std::wstring();
            counter = number + 1;
        }
        return format.str();
    } catch (const std::exception&) {
        // Boost.Format's errors.
        return std::wstring();
    }
}

std::wstring ItemArgumentKinds(const std::wstring& text)
{
    std::wstring kinds;
    for (boost::wsregex_iterator item(text.begin(), text.end(), ItemPattern()), end; item != end; ++item) {
        if (!(*item)[4].matched)
            continue; // "%%"
        switch ((*item).str(4)[0]) {
        case L'u': case L'o': case L'x': case L'X': kinds += L'u'; break;
        case L'e': case L'f': case L'g': case L'E': case L'G': kinds += L'd'; break;
        case L's': case L'S': kinds += L's'; break;
        default: kinds += L'i'; break;
        }
    }
    return kinds;
}

std::wstring FormatUnits(long long value, const std::wstring& unitNames)
{
    size_t unit = 0;
    long long fraction = 0;
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
