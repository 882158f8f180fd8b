// The system's WebBrowser control as far as this Wine goes: Debian's Wine has no HTML engine
// (Gecko is not packaged, and the tests keep mshtml switched off), so pages are never drawn.
#include <gtest/gtest.h>

#include <vector>

#include "desktop.h"
#include "test_support.h"
#include "ui/browser_host.h"

namespace {

// Writes down the notifications the host sends to its window.
class NotifiedWindow {
public:
    NotifiedWindow()
        : window([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
              if (message != BannerHostNotify)
                  return false;
              codes.push_back(wParam);
              if (lParam != 0)
                  addresses.push_back(reinterpret_cast<const BannerNavigation*>(lParam)->address);
              result = 0;
              return true;
          })
    {
    }

    void PumpFor(DWORD ms)
    {
        for (DWORD waited = 0; waited < ms; waited += 20) {
            PumpMessages();
            ::Sleep(20);
        }
    }

    std::vector<WPARAM> codes;
    std::vector<std::wstring> addresses;
    HandlingWindow window;
};

} // namespace

TEST(SystemBrowserHost, PlacesTheBrowserInAWindowAndTakesItAwayAgain)
{
    NotifiedWindow host;
    const BrowserHostOperations& browser = SystemBrowserHost();
    ASSERT_EQ(0, browser.createBrowser(host.window.Get(), 0, 0));
    EXPECT_NE(nullptr, ::GetWindow(host.window.Get(), GW_CHILD)) << "the browser's window inside the host";
    browser.resizeBrowser(host.window.Get(), 250, 150);
    browser.browserCommand(host.window.Get(), BrowserStop);
    browser.destroyBrowser(host.window.Get());
    EXPECT_EQ(-5, browser.navigateBrowser(host.window.Get(), L"about:blank")) << "no browser any more";
    browser.destroyBrowser(host.window.Get());
}

TEST(SystemBrowserHost, ReportsWhatTheBrowserSaysOfANavigation)
{
    NotifiedWindow host;
    const BrowserHostOperations& browser = SystemBrowserHost();
    ASSERT_EQ(0, browser.createBrowser(host.window.Get(), 0, 0));
    EXPECT_EQ(0, browser.navigateBrowser(host.window.Get(), L"about:blank"));
    host.PumpFor(1000);
    if (RunningOnWine()) {
        // Without an HTML engine every navigation is announced and then fails; there is no
        // document to write into.
        EXPECT_EQ((std::vector<WPARAM>{BannerBeforeNavigate, BannerNavigateFailed}), host.codes);
        EXPECT_EQ(std::vector<std::wstring>(2, L"about:blank"), host.addresses);
        EXPECT_NE(0, browser.writeBrowserHtml(host.window.Get(), L"<p>text</p>"));
    } else {
        EXPECT_EQ((std::vector<WPARAM>{BannerBeforeNavigate, BannerNavigateDone}), host.codes) << ExpectedOnWindowsNotObserved;
        EXPECT_EQ(std::vector<std::wstring>{L"about:blank"}, host.addresses) << ExpectedOnWindowsNotObserved;
        EXPECT_EQ(0, browser.writeBrowserHtml(host.window.Get(), L"<p>text</p>")) << ExpectedOnWindowsNotObserved;
    }
    browser.destroyBrowser(host.window.Get());
}
