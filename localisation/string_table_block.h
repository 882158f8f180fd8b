// One string of a string table's block (RT_STRING): sixteen strings, each a count followed by
// that many UTF-16 code units. Every step is bounded by the block's size, so that a malformed
// block is merely found wanting, never read past. Free of Win32, so that it builds and runs
// natively too.
#pragma once

#include <cstddef>
#include <cstdint>

// Where the string of the given entry (counted from 0) lies in a block of blockUnits code
// units: the index of its first code unit and its length; false when the string is empty or the
// block ends before it or any string ahead of it does.
bool FindBlockString(const uint16_t* block, size_t blockUnits, unsigned int entry, size_t& start, size_t& length);
