#include "ui/banner_address.h"

#include <cwchar>

namespace {

wchar_t LowerAscii(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// prefix is lower case.
bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix)
{
    const size_t length = std::wcslen(prefix);
    if (text.size() < length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (LowerAscii(text[i]) != prefix[i])
            return false;
    }
    return true;
}

} // namespace

BannerAddressKind ClassifyBannerAddress(const std::wstring& address)
{
    if (StartsWithNoCase(address, L"res"))
        return BannerAddressKind::BrowserPage;
    static const wchar_t CloseCommand[] = L"appcommand:close";
    if (address.size() == std::wcslen(CloseCommand) && StartsWithNoCase(address, CloseCommand))
        return BannerAddressKind::CloseCommand;
    if (StartsWithNoCase(address, L"http:") || StartsWithNoCase(address, L"https:") || StartsWithNoCase(address, L"mailto:"))
        return BannerAddressKind::WebOrMail;
    return BannerAddressKind::Other;
}

AppAddress ReadAppAddress(const std::wstring& address, uint64_t largest)
{
    AppAddress app = {false, false, 0};
    if (!StartsWithNoCase(address, L"app:"))
        return app;
    app.isAppAddress = true;
    size_t at = 4;
    while (at < address.size() && (address[at] == L' ' || address[at] == L'\t'))
        ++at;
    // A number that does not fit is refused, not wrapped: a page must not reach another command.
    for (; at < address.size() && address[at] >= L'0' && address[at] <= L'9'; ++at) {
        const uint64_t digit = static_cast<uint64_t>(address[at] - L'0');
        if (digit > largest || app.number > (largest - digit) / 10)
            return app;
        app.number = app.number * 10 + digit;
    }
    app.postsNumber = true;
    return app;
}
