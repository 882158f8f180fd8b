// Addresses a banner's page navigates to: the page comes from the network. Input: addresses,
// each ended by a zero unit.
#include <string>

#include "fuzz_input.h"
#include "ui/banner_address.h"

namespace {

std::wstring LowerAscii(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    while (!input.AtEnd()) {
        const std::wstring address = input.NextText();
        const BannerAddressKind kind = ClassifyBannerAddress(address);
        const std::wstring lower = LowerAscii(address);
        // The case of ASCII letters never matters.
        FUZZ_EXPECT(ClassifyBannerAddress(lower) == kind);
        // Only web and mail addresses may reach the user's browser, and the shell with it.
        const bool webOrMail = StartsWith(lower, L"http:") || StartsWith(lower, L"https:") || StartsWith(lower, L"mailto:");
        FUZZ_EXPECT((kind == BannerAddressKind::WebOrMail) == webOrMail);
        if (kind == BannerAddressKind::CloseCommand)
            FUZZ_EXPECT(lower == L"appcommand:close");
        if (kind == BannerAddressKind::BrowserPage)
            FUZZ_EXPECT(StartsWith(lower, L"res"));
    }
    return 0;
}
