// String-table blocks of a language pack, a library anyone may put in the program's "lang"
// folder. Input: the block's bytes.
#include <vector>

#include "fuzz_input.h"
#include "localisation/string_table_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const std::u16string units = input.RestUnits();
    // Exactly the block's size, so that any read past it is caught.
    const std::vector<uint16_t> block(units.begin(), units.end());

    size_t end = 0;
    for (unsigned int entry = 0; entry < 16; ++entry) {
        size_t start = 0;
        size_t length = 0;
        if (!FindBlockString(block.data(), block.size(), entry, start, length))
            continue;
        FUZZ_EXPECT(length > 0 && start >= 1 && start <= block.size() && length <= block.size() - start);
        FUZZ_EXPECT(block[start - 1] == length);
        // Each string stands after the ones before it.
        FUZZ_EXPECT(start > end);
        end = start + length;
        const std::u16string text(block.begin() + start, block.begin() + start + length);
        FUZZ_EXPECT(text.size() == length);
    }
    return 0;
}
