#include "localisation/string_table_block.h"

bool FindBlockString(const uint16_t* block, size_t blockUnits, unsigned int entry, size_t& start, size_t& length)
{
    size_t position = 0;
    for (unsigned int skipped = 0; skipped < entry; ++skipped) {
        if (position >= blockUnits || blockUnits - position - 1 < block[position])
            return false;
        position += 1 + block[position];
    }
    if (position >= blockUnits)
        return false;
    const size_t count = block[position];
    if (count == 0 || blockUnits - position - 1 < count)
        return false;
    start = position + 1;
    length = count;
    return true;
}
