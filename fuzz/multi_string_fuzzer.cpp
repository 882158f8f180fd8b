// Lists of texts as the registry holds them (REG_MULTI_SZ), such as a settings value anyone
// with access to the key may have written. Input: the value's bytes.
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "platform/text_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const std::u16string units = input.RestUnits();
    // Exactly the value's size, so that any read past it is caught.
    const std::vector<char16_t> value(units.begin(), units.end());

    const std::vector<std::u16string> list = vantor::SplitTextList(value.data(), value.size());
    size_t listUnits = 0;
    for (const std::u16string& text : list) {
        FUZZ_EXPECT(!text.empty() && text.find(u'\0') == std::u16string::npos);
        listUnits += text.size() + 1;
    }
    const std::u16string joined = vantor::JoinTextList(list);
    FUZZ_EXPECT(joined.size() == listUnits + 1);
    // Data that ends as a list's must begins with the list's own data, up to the empty text that
    // ends it.
    if (size % 2 == 0 && vantor::EndsAsRegistryText(value.data(), value.size(), true))
        FUZZ_EXPECT(units.compare(0, joined.size(), joined) == 0);
    // Written and read back, a list is itself.
    FUZZ_EXPECT(vantor::SplitTextList(joined.data(), joined.size()) == list);
    if (vantor::EndsAsRegistryText(value.data(), value.size(), false))
        FUZZ_EXPECT(!value.empty() && value.back() == u'\0');
    return 0;
}
