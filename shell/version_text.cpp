#include "shell/version_text.h"

#include <climits>
#include <tuple>

namespace {

// The number of the decimal digits from position up to the next dot or the end, saturated at
// INT_MAX; position is left on that dot or end. False when there are no digits or something
// else stands among them.
bool ReadNumber(const std::wstring& text, size_t& position, int& number)
{
    const size_t start = position;
    long long value = 0;
    for (; position < text.size() && text[position] != L'.'; ++position) {
        const wchar_t c = text[position];
        if (c < L'0' || c > L'9')
            return false;
        value = value * 10 + (c - L'0');
        if (value > INT_MAX)
            value = INT_MAX;
    }
    number = static_cast<int>(value);
    return position > start;
}

} // namespace

bool ParseVersionText(const std::wstring& text, int& majorVersion, int& minorVersion, int& buildNumber)
{
    int numbers[3] = {};
    size_t position = 0;
    for (int piece = 0; piece < 3; ++piece) {
        if (piece > 0) {
            if (position == text.size())
                return false;
            ++position; // the dot
        }
        if (!ReadNumber(text, position, numbers[piece]))
            return false;
    }
    if (position != text.size())
        return false;
    majorVersion = numbers[0];
    minorVersion = numbers[1];
    buildNumber = numbers[2];
    return true;
}

int CompareVersions(int majorVersion, int minorVersion, int buildNumber, int otherMajorVersion, int otherMinorVersion,
                    int otherBuildNumber)
{
    const auto version = std::make_tuple(majorVersion, minorVersion, buildNumber);
    const auto other = std::make_tuple(otherMajorVersion, otherMinorVersion, otherBuildNumber);
    if (version == other)
        return 0;
    return version > other ? 1 : -1;
}
