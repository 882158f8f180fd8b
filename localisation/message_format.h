// Formatting of the program's messages with printf-style items (Boost.Format), and of sizes
// and speeds in steps of 1024 with unit names a language pack may translate. Free of Win32, so
// that it builds and runs natively too.
#pragma once

#include <cstdarg>
#include <string>

// Where the values of a message's items come from, in the order the items stand in the text.
// A source answers false when it has no value to give.
class FormatArguments {
public:
    virtual bool NextInt(int& value) = 0;
    virtual bool NextUnsigned(unsigned int& value) = 0;
    virtual bool NextDouble(double& value) = 0;
    virtual bool NextString(const wchar_t*& value) = 0;

protected:
    ~FormatArguments() = default;
};

// The arguments of a variadic call. The caller vouches for their number and types.
class VariadicArguments : public FormatArguments {
public:
    explicit VariadicArguments(va_list& arguments) : arguments(arguments) {}

    bool NextInt(int& value) override;
    bool NextUnsigned(unsigned int& value) override;
    bool NextDouble(double& value) override;
    bool NextString(const wchar_t*& value) override;

private:
    va_list& arguments;
};

// No arguments at all: a text that asks for one cannot be formatted.
class NoArguments : public FormatArguments {
public:
    bool NextInt(int&) override { return false; }
    bool NextUnsigned(unsigned int&) override { return false; }
    bool NextDouble(double&) override { return false; }
    bool NextString(const wchar_t*&) override { return false; }
};

// Formats text, whose items are found with the pattern
//   %%  |  %([0-9]+\$)?[-=_+#0 ]*[0-9]*(\.[0-9]+)?[lLh]?([pxoefgXEGdiusScC])
// ("%%" is a literal percent sign and takes no value). Items are either all positional
// ("%2$d") or all sequential; each takes the next value from arguments and is bound to its own
// number. An empty text on any error: a bad format (also a percent sign that starts no such item,
// or a position, width or precision above 1024), mixed items, a missing value.
std::wstring FormatMessageText(const std::wstring& text, FormatArguments& arguments);

// The kinds of value the items of text read, in the order they read them: 'i' an int (also
// characters), 'u' an unsigned int, 'd' a double, 's' a string. Two texts with the same kinds
// take the same arguments.
std::wstring ItemArgumentKinds(const std::wstring& text);

// "512 bytes", "1.50 KB": the value divided by 1024 while it is above 1024, with two truncated
// decimals once divided, and the unit of that step from unitNames (split at every white-space
// character). An empty text when unitNames has no name for the step.
std::wstring FormatUnits(long long value, const std::wstring& unitNames);
