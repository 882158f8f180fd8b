// Addresses a banner's page navigates to: the page comes from the network. Input: addresses,
// each ended by a zero unit.
#include <cstdint>
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

// The digits after "app:" and the blanks and tabs before them, without leading zeros.
std::wstring SignificantDigits(const std::wstring& address)
{
    size_t at = 4;
    while (at < address.size() && (address[at] == L' ' || address[at] == L'\t'))
        ++at;
    std::wstring digits;
    for (; at < address.size() && address[at] >= L'0' && address[at] <= L'9'; ++at) {
        if (!digits.empty() || address[at] != L'0')
            digits += address[at];
    }
    return digits;
}

// A number beyond the largest one is refused, never wrapped: compared as decimal text.
void CheckAppAddress(const std::wstring& address, const std::wstring& lower, uint64_t largest)
{
    const AppAddress app = ReadAppAddress(address, largest);
    FUZZ_EXPECT(app.isAppAddress == StartsWith(lower, L"app:"));
    if (!app.isAppAddress) {
        FUZZ_EXPECT(!app.postsNumber);
        return;
    }
    const std::wstring digits = SignificantDigits(address);
    const std::wstring limit = std::to_wstring(largest);
    const bool fits = digits.size() < limit.size() || (digits.size() == limit.size() && digits <= limit);
    FUZZ_EXPECT(app.postsNumber == fits);
    if (app.postsNumber)
        FUZZ_EXPECT(std::to_wstring(app.number) == (digits.empty() ? std::wstring(L"0") : digits));
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
        // The range of a message's number in 64-bit and in 32-bit programs.
        CheckAppAddress(address, lower, UINT64_MAX);
        CheckAppAddress(address, lower, UINT32_MAX);
        // And small ranges, where a single digit may already be too large.
        CheckAppAddress(address, lower, address.size() % 12);
    }
    return 0;
}
