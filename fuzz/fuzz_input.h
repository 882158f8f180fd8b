// Fuzz input read as the program reads its outside input: texts as UTF-16 code units,
// little-endian, as Windows keeps them; widened to wchar_t one unit each, which holds them
// whatever wchar_t's width.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Reads data from position on.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool AtEnd() const { return size - position < 2; }

    // The code units up to the next zero unit, which is passed over, or up to the end; an odd
    // last byte is left over.
    std::u16string NextUnits()
    {
        std::u16string units;
        while (!AtEnd()) {
            const char16_t unit = NextUnit();
            if (unit == 0)
                break;
            units += unit;
        }
        return units;
    }

    std::wstring NextText() { return Widened(NextUnits()); }

    // All code units still there, zeros too.
    std::u16string RestUnits()
    {
        std::u16string units;
        while (!AtEnd())
            units += NextUnit();
        return units;
    }

    // The next byte, or zero at the end.
    uint8_t NextByte() { return position < size ? data[position++] : 0; }

    static std::wstring Widened(const std::u16string& units) { return std::wstring(units.begin(), units.end()); }

private:
    char16_t NextUnit()
    {
        const char16_t unit = static_cast<char16_t>(data[position] | data[position + 1] << 8);
        position += 2;
        return unit;
    }

    const uint8_t* data;
    size_t size;
    size_t position = 0;
};

// A broken expectation is a finding like any crash.
#define FUZZ_EXPECT(condition)                                                                                         \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, __LINE__, #condition);                             \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)
