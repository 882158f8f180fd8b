#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "freed_memory_watch.h"
#include "test_support.h"
#include "ui/banner_ctrl.h"

namespace {

const WORD BannerId = 77;

// A browser host that writes down what the banner asks of it.
struct ScriptedHost {
    // When the host destroys the banner's window, as a message pumped meanwhile may.
    enum DestroyMoment { Never, InTheWrite, InTheFallbackLoad, AfterTheFallbackLoad };

    static std::vector<std::wstring> calls;
    static int createResult;
    static DestroyMoment destroyWhen;
    // The first write reports a failed navigation and pumps messages while it waits, as the
    // system's host does, so that the fallback load runs inside it.
    static bool failDuringWrite;
    static int loadDepth;

    static int Create(HWND, DWORD hostFlags, int forward)
    {
        calls.push_back(L"create " + std::to_wstring(hostFlags) + L" " + std::to_wstring(forward));
        return createResult;
    }
    static void Destroy(HWND) { calls.push_back(L"destroy"); }
    static int Navigate(HWND window, const wchar_t* address)
    {
        calls.push_back(std::wstring(L"navigate ") + address);
        Loading(window);
        return 0;
    }
    static int Write(HWND window, const wchar_t* html)
    {
        calls.push_back(std::wstring(L"write ") + html);
        Loading(window);
        return 0;
    }
    static void Loading(HWND window)
    {
        ++loadDepth;
        if (loadDepth == 1 && destroyWhen == InTheWrite)
            ::DestroyWindow(window);
        if (loadDepth == 2 && destroyWhen == InTheFallbackLoad)
            ::DestroyWindow(window);
        if (loadDepth == 1 && failDuringWrite && ::IsWindow(window)) {
            VARIANT_BOOL cancel = VARIANT_FALSE;
            BannerNavigation failed = {L"about:blank", &cancel, window};
            ::SendMessageW(window, BannerHostNotify, BannerNavigateFailed, reinterpret_cast<LPARAM>(&failed));
            PumpMessages();
            if (destroyWhen == AfterTheFallbackLoad)
                ::DestroyWindow(window);
        }
        --loadDepth;
    }
    static void Command(HWND, int command) { calls.push_back(L"command " + std::to_wstring(command)); }
    static void Resize(HWND, int width, int height)
    {
        calls.push_back(L"resize " + std::to_wstring(width) + L"x" + std::to_wstring(height));
    }
    static void Open(const wchar_t* address) { calls.push_back(std::wstring(L"open ") + address); }

    static const BrowserHostOperations operations;
};
std::vector<std::wstring> ScriptedHost::calls;
int ScriptedHost::createResult = 0;
ScriptedHost::DestroyMoment ScriptedHost::destroyWhen = ScriptedHost::Never;
bool ScriptedHost::failDuringWrite = false;
int ScriptedHost::loadDepth = 0;
const BrowserHostOperations ScriptedHost::operations = {Create, Destroy, Navigate, Write, Command, Resize};

const BannerServices Scripted = {&ScriptedHost::operations, ScriptedHost::Open};

// The banner's parent: answers the banner's notifications as told and writes them down.
class BannerParent {
public:
    BannerParent()
        : window([this](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
              if (message != WM_NOTIFY)
                  return false;
              NMHDR* const header = reinterpret_cast<NMHDR*>(lParam);
              notifications.push_back(header->code);
              if (header->code == destroyIn)
                  ::DestroyWindow(header->hwndFrom);
              if (header->code == BannerLinkClicked) {
                  reinterpret_cast<BannerLinkClickedInfo*>(header)->cancel = cancel;
                  reinterpret_cast<BannerLinkClickedInfo*>(header)->stay = stay;
              }
              result = answer;
              return true;
          })
    {
    }

    LRESULT answer = 0;
    LONG cancel = 0;
    LONG stay = 0;
    UINT destroyIn = 0;  // the notification inside which the parent destroys the banner
    std::vector<UINT> notifications;
    HandlingWindow window;
};

class BannerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ScriptedHost::calls.clear();
        ScriptedHost::createResult = 0;
        ScriptedHost::destroyWhen = ScriptedHost::Never;
        ScriptedHost::failDuringWrite = false;
    }
    void TearDown() override
    {
        if (::IsWindow(banner))
            ::DestroyWindow(banner);
        EXPECT_EQ(0, BannerCtrl::LiveCount()) << "every banner deleted itself exactly once";
    }

    HWND Create(DWORD flags, const std::wstring& content = L"https://www.zelk-soft.com/news",
                const std::wstring& fallback = L"")
    {
        BannerInfo info = {parent.window.Get(), content, fallback, RECT{10, 20, 210, 120}, 0x44, flags};
        banner = CreateBannerWindow(info, BannerId, Scripted);
        return banner;
    }

    // What the host's browser reports: the banner decides and may cancel.
    bool Navigating(BannerHostCode code, const wchar_t* address)
    {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        BannerNavigation navigation = {address, &cancel, banner};
        ::SendMessageW(banner, BannerHostNotify, code, reinterpret_cast<LPARAM>(&navigation));
        return cancel == VARIANT_TRUE;
    }
    void Completed() { ::SendMessageW(banner, BannerHostNotify, BannerNavigateDone, 0); }

    BannerParent parent;
    HWND banner = nullptr;
};

} // namespace

TEST_F(BannerTest, IsAHiddenChildWithItsIdThatLoadsItsContent)
{
    ASSERT_NE(nullptr, Create(0));
    EXPECT_EQ(parent.window.Get(), ::GetParent(banner));
    EXPECT_EQ(BannerId, ::GetDlgCtrlID(banner));
    EXPECT_FALSE(::IsWindowVisible(banner));
    EXPECT_EQ(LONG(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN), ::GetWindowLongW(banner, GWL_STYLE) & ~WS_VISIBLE);
    EXPECT_EQ((std::vector<std::wstring>{L"create 68 0", L"resize 200x100", L"navigate https://www.zelk-soft.com/news"}),
              ScriptedHost::calls);

    const auto shown = [this] { return (::GetWindowLongW(banner, GWL_STYLE) & WS_VISIBLE) != 0; };
    ::SetTimer(banner, 11, 10, nullptr);
    for (int waited = 0; !shown() && waited < 2000; waited += 20) {
        PumpMessages();
        ::Sleep(20);
    }
    EXPECT_TRUE(shown()) << "shown by its timer";

    ScriptedHost::calls.clear();
    ::SendMessageW(banner, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    ::SendMessageW(banner, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 150));
    ::SendMessageW(banner, BannerRefresh, 0, 0);
    EXPECT_EQ(0, ::SendMessageW(banner, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(banner), 0));
    EXPECT_EQ((std::vector<std::wstring>{L"resize 300x150", L"command 4"}), ScriptedHost::calls)
        << "minimising does not resize the browser";
    ::DestroyWindow(banner);
    EXPECT_EQ(L"destroy", ScriptedHost::calls.back());
}

TEST_F(BannerTest, WritesHtmlContentAndIsNullWithoutABrowser)
{
    ASSERT_NE(nullptr, Create(BannerContentIsHtml, L"<p>News</p>"));
    EXPECT_EQ(L"write <p>News</p>", ScriptedHost::calls.back());
    ::DestroyWindow(banner);

    ScriptedHost::createResult = -2;
    EXPECT_EQ(nullptr, Create(0)) << "no browser, no banner";
}

TEST_F(BannerTest, ABannerDestroyedWhileItsHtmlIsWrittenIsLeftAlone)
{
    ScriptedHost::destroyWhen = ScriptedHost::InTheWrite;
    EXPECT_EQ(nullptr, Create(BannerContentIsHtml, L"<p>News</p>"));
    EXPECT_EQ(L"destroy", ScriptedHost::calls.back());
}

TEST_F(BannerTest, ABannerDestroyedDuringALoadInsideItsLoadIsLeftAlone)
{
    struct Case {
        const char* what;
        ScriptedHost::DestroyMoment when;
    };
    const Case cases[] = {
        {"destroyed in the fallback's own load", ScriptedHost::InTheFallbackLoad},
        {"destroyed after the fallback's load, while the first still waits", ScriptedHost::AfterTheFallbackLoad},
    };
    for (const Case& nested : cases) {
        ScriptedHost::calls.clear();
        ScriptedHost::failDuringWrite = true;
        ScriptedHost::destroyWhen = nested.when;
        const FreedMemoryWatch watch;
        EXPECT_EQ(nullptr, Create(BannerContentIsHtml | BannerFallbackIsHtml, L"<p>News</p>", L"<p>Offline</p>"))
            << nested.what;
        EXPECT_EQ((std::vector<std::wstring>{L"create 68 0", L"resize 200x100", L"write <p>News</p>", L"command 5",
                                             L"write <p>Offline</p>", L"destroy"}),
                  ScriptedHost::calls)
            << nested.what;
        EXPECT_EQ(0, BannerCtrl::LiveCount()) << nested.what;
        EXPECT_LE(1u, watch.DeletedBlocks()) << "the banner went while watched";
        EXPECT_EQ(0u, watch.TouchedAfterDelete()) << nested.what;
    }
}

TEST_F(BannerTest, ABannerItsParentDestroysInsideANotificationIsLeftAlone)
{
    struct Case {
        const char* what;
        DWORD flags;
        UINT destroyIn;
        LRESULT answer;
        LONG cancelAnswer;
        BannerHostCode event;
        bool cancelled;
        std::vector<UINT> notifications;
        std::vector<std::wstring> calls;  // after the event
    };
    const wchar_t* const link = L"https://www.zelk-soft.com/offer";
    const std::wstring opened = std::wstring(L"open ") + link;
    const Case cases[] = {
        {"an error the parent dealt with", BannerNotifyError | BannerNotifyComplete, BannerNavigateError, 1, 0,
         BannerNavigateFailed, true, {BannerNavigateError}, {L"destroy"}},
        {"an error the parent left to the banner", BannerNotifyError, BannerNavigateError, 0, 0, BannerNavigateFailed,
         true, {BannerNavigateError}, {L"destroy"}},
        {"the completion after a dealt-with error", BannerNotifyError | BannerNotifyComplete, BannerNavigateComplete, 1,
         0, BannerNavigateFailed, true, {BannerNavigateError, BannerNavigateComplete}, {L"destroy"}},
        {"a completed load", BannerNotifyComplete, BannerNavigateComplete, 0, 0, BannerNavigateDone, false,
         {BannerNavigateComplete}, {L"destroy"}},
        {"a link the parent opens outside", BannerAskOnLink, BannerLinkClicked, 1, 0, BannerBeforeNavigate, true,
         {BannerLinkClicked}, {L"destroy", opened}},
        {"a link the parent cancels", BannerAskOnLink, BannerLinkClicked, 1, 1, BannerBeforeNavigate, true,
         {BannerLinkClicked}, {L"destroy"}},
        {"a link the parent leaves to the banner", BannerAskOnLink, BannerLinkClicked, 0, 0, BannerBeforeNavigate, true,
         {BannerLinkClicked}, {L"destroy", opened}},
    };
    for (const Case& notification : cases) {
        const FreedMemoryWatch watch;
        ASSERT_NE(nullptr, Create(notification.flags)) << notification.what;
        if (notification.event == BannerBeforeNavigate)
            Completed();
        parent.answer = notification.answer;
        parent.cancel = notification.cancelAnswer;
        parent.destroyIn = notification.destroyIn;
        parent.notifications.clear();
        ScriptedHost::calls.clear();
        if (notification.event == BannerNavigateDone) {
            Completed();
        } else {
            EXPECT_EQ(notification.cancelled, Navigating(notification.event, link)) << notification.what;
        }
        PumpMessages();
        EXPECT_FALSE(::IsWindow(banner)) << notification.what;
        EXPECT_EQ(notification.notifications, parent.notifications) << notification.what;
        EXPECT_EQ(notification.calls, ScriptedHost::calls) << notification.what;
        EXPECT_LE(1u, watch.DeletedBlocks()) << "the banner went while watched";
        EXPECT_EQ(0u, watch.TouchedAfterDelete()) << notification.what;
        parent.destroyIn = 0;
    }
}

TEST_F(BannerTest, DecidesWhereEachNavigationGoes)
{
    struct Case {
        const char* what;
        DWORD flags;
        bool loading;
        const wchar_t* address;
        LRESULT answer;
        LONG cancelAnswer;
        LONG stayAnswer;
        bool cancelled;
        const wchar_t* opened;  // null: nothing handed to the user's browser
        bool asked;
    };
    const Case cases[] = {
        {"the banner's own load goes on", 0, true, L"https://www.zelk-soft.com/news", 0, 0, 0, false, nullptr, false},
        {"a click opens outside", 0, false, L"https://www.zelk-soft.com/offer", 0, 0, 0, true,
         L"https://www.zelk-soft.com/offer", false},
        {"mail addresses open outside", 0, false, L"mailto:support@zelk-soft.com", 0, 0, 0, true,
         L"mailto:support@zelk-soft.com", false},
        {"file addresses are refused", 0, false, L"file:///C:/windows/system32/calc.exe", 0, 0, 0, true, nullptr, false},
        {"network shares are refused", 0, false, L"\\\\server\\share\\run.exe", 0, 0, 0, true, nullptr, false},
        {"error pages are blocked", 0, true, L"RES://ieframe.dll/navcancl.htm", 0, 0, 0, true, nullptr, false},
        {"a parent answering 0 leaves the rule", BannerAskOnLink, false, L"http://www.zelk-soft.com/", 0, 0, 0, true,
         L"http://www.zelk-soft.com/", true},
        {"a parent may cancel", BannerAskOnLink, false, L"http://www.zelk-soft.com/", 1, 1, 0, true, nullptr, true},
        {"a parent may open outside", BannerAskOnLink, true, L"http://www.zelk-soft.com/", 1, 0, 0, true,
         L"http://www.zelk-soft.com/", true},
        {"a parent may keep it inside", BannerAskOnLink, false, L"http://www.zelk-soft.com/", 1, 0, 1, false, nullptr, true},
    };
    for (const Case& navigation : cases) {
        ASSERT_NE(nullptr, Create(navigation.flags)) << navigation.what;
        if (!navigation.loading)
            Completed();
        parent.answer = navigation.answer;
        parent.cancel = navigation.cancelAnswer;
        parent.stay = navigation.stayAnswer;
        parent.notifications.clear();
        ScriptedHost::calls.clear();
        EXPECT_EQ(navigation.cancelled, Navigating(BannerBeforeNavigate, navigation.address)) << navigation.what;
        const std::vector<std::wstring> opened =
            navigation.opened != nullptr ? std::vector<std::wstring>{std::wstring(L"open ") + navigation.opened}
                                         : std::vector<std::wstring>{};
        EXPECT_EQ(opened, ScriptedHost::calls) << navigation.what;
        EXPECT_EQ(navigation.asked ? std::vector<UINT>{BannerLinkClicked} : std::vector<UINT>{}, parent.notifications)
            << navigation.what;
        EXPECT_TRUE(::IsWindow(banner)) << navigation.what;
        ::DestroyWindow(banner);
    }
}

TEST_F(BannerTest, OnlyWebAndMailAddressesReachTheUsersBrowser)
{
    struct Case {
        const wchar_t* address;
        bool opened;
    };
    const Case cases[] = {
        {L"http://www.zelk-soft.com/", true},
        {L"HTTPS://www.zelk-soft.com/", true},
        {L"MailTo:support@zelk-soft.com", true},
        {L"javascript:alert(1)", false},
        {L"JavaScript:alert(1)", false},
        {L"vbscript:msgbox(1)", false},
        {L"VBScript:msgbox(1)", false},
        {L"ms-settings:", false},
        {L"ms-settings:windowsupdate", false},
        {L"ms-msdt:/id PCWDiagnostic", false},
        {L"search-ms:query=calc", false},
        {L"shell:startup", false},
        {L"ftp://ftp.zelk-soft.com/", false},
        {L"data:text/html,<p>x</p>", false},
        {L"about:blank", false},
        {L"calc.exe", false},
        {L"C:\\Windows\\System32\\calc.exe", false},
        {L"", false},
        {L" http://www.zelk-soft.com/", false},
        {L"\thttps://www.zelk-soft.com/", false},
        {L"ht\ttp://www.zelk-soft.com/", false},
        {L"http//www.zelk-soft.com/", false},
        {L"http;//www.zelk-soft.com/", false},
        {L"https\x200b://www.zelk-soft.com/", false},
        {L"\xff48ttp://www.zelk-soft.com/", false},
        {L"httpx://www.zelk-soft.com/", false},
        {L"mailto", false},
        {L"mail:support@zelk-soft.com", false},
        {L"mailto-x:support@zelk-soft.com", false},
        {L"http", false},
    };
    // A click once the page is there, and a parent that answers "open it outside": only the
    // three kinds of address are ever handed on, and every other one is cancelled.
    for (const DWORD flags : {DWORD(0), DWORD(BannerAskOnLink)}) {
        ASSERT_NE(nullptr, Create(flags));
        Completed();
        parent.answer = 1;
        for (const Case& link : cases) {
            const std::string what = testing::PrintToString(std::wstring(link.address)) + " flags " + std::to_string(flags);
            ScriptedHost::calls.clear();
            EXPECT_TRUE(Navigating(BannerBeforeNavigate, link.address)) << what;
            EXPECT_EQ(link.opened ? std::vector<std::wstring>{std::wstring(L"open ") + link.address}
                                  : std::vector<std::wstring>{},
                      ScriptedHost::calls)
                << what;
        }
        ::DestroyWindow(banner);
    }
}

TEST_F(BannerTest, ClosesOnItsCloseAddressInAnyCase)
{
    ASSERT_NE(nullptr, Create(0));
    EXPECT_TRUE(Navigating(BannerBeforeNavigate, L"AppCommand:Close"));
    EXPECT_FALSE(::IsWindow(banner));
}

TEST_F(BannerTest, AFailedLoadShowsTheFallbackOnceThenTheEmptyPage)
{
    ASSERT_NE(nullptr, Create(BannerFallbackIsHtml | BannerNotifyComplete, L"https://www.zelk-soft.com/news", L"<p>Offline</p>"));
    ScriptedHost::calls.clear();
    EXPECT_TRUE(Navigating(BannerNavigateFailed, L"https://www.zelk-soft.com/news")) << "no error page";
    PumpMessages();
    EXPECT_EQ((std::vector<std::wstring>{L"command 5", L"write <p>Offline</p>"}), ScriptedHost::calls);
    EXPECT_FALSE(Navigating(BannerBeforeNavigate, L"about:blank")) << "loading the fallback";

    ScriptedHost::calls.clear();
    EXPECT_TRUE(Navigating(BannerNavigateFailed, L"about:blank"));
    PumpMessages();
    EXPECT_EQ((std::vector<std::wstring>{L"command 5", L"navigate about:blank"}), ScriptedHost::calls)
        << "the fallback is used once";

    ScriptedHost::calls.clear();
    EXPECT_TRUE(Navigating(BannerNavigateFailed, L"about:blank"));
    PumpMessages();
    EXPECT_EQ(std::vector<std::wstring>(), ScriptedHost::calls) << "a failing empty page is not tried again";
    Completed();
    EXPECT_EQ(std::vector<UINT>{BannerNavigateComplete}, parent.notifications);
}

TEST_F(BannerTest, AParentThatDealsWithAFailedLoadGetsNoFallback)
{
    struct Case {
        DWORD flags;
        LRESULT answer;
        std::vector<UINT> notifications;
        bool fallback;
    };
    const Case cases[] = {
        {BannerNotifyError | BannerNotifyComplete, 1, {BannerNavigateError, BannerNavigateComplete}, false},
        {BannerNotifyError, 1, {BannerNavigateError}, false},
        {BannerNotifyError, 0, {BannerNavigateError}, true},
        {0, 1, {}, true},
    };
    for (const Case& failure : cases) {
        ASSERT_NE(nullptr, Create(failure.flags, L"https://www.zelk-soft.com/news", L"https://www.zelk-soft.com/offline"));
        parent.answer = failure.answer;
        parent.notifications.clear();
        ScriptedHost::calls.clear();
        EXPECT_TRUE(Navigating(BannerNavigateFailed, L"https://www.zelk-soft.com/news"));
        PumpMessages();
        EXPECT_EQ(failure.notifications, parent.notifications) << "flags " << failure.flags;
        const std::vector<std::wstring> fallback = {L"command 5", L"navigate https://www.zelk-soft.com/offline"};
        EXPECT_EQ(failure.fallback ? fallback : std::vector<std::wstring>(), ScriptedHost::calls) << "flags " << failure.flags;
        ::DestroyWindow(banner);
    }
}

TEST(BannerAppAddresses, BecomeTheEmptyPageAndPostTheirNumberWhenItFits)
{
    TestWindow window(RECT{0, 0, 100, 100});
    // The largest number a message carries, and the ones just beyond it, in decimal.
    const std::wstring largest = std::to_wstring(std::numeric_limits<WPARAM>::max());
    std::wstring beyond = largest;
    beyond.back() = static_cast<wchar_t>(beyond.back() + 1);  // largest ends in 5
    std::wstring further = largest;
    further.back() = static_cast<wchar_t>(further.back() + 2);
    struct Case {
        std::wstring address;
        bool taken;
        bool posted;
        WPARAM number;
    };
    const Case cases[] = {
        {L"app:42", true, true, 42},
        {L"APP: \t7x", true, true, 7},
        {L"app:", true, true, 0},
        {L"app", false, false, 0},
        {L"apple:1", false, false, 0},
        {L"https://app:1", false, false, 0},
        {L"app:" + largest, true, true, std::numeric_limits<WPARAM>::max()},
        {L"app:" + std::wstring(400, L'0') + largest, true, true, std::numeric_limits<WPARAM>::max()},
        {L"app:" + beyond, true, false, 0},
        {L"app:" + further, true, false, 0},
        {L"app:18446744073709551616", true, false, 0},
        {L"app:18446744073709551617", true, false, 0},
        {L"app:" + largest + L"0", true, false, 0},
        {L"app:" + std::wstring(400, L'9'), true, false, 0},
        {L"app:1" + std::wstring(399, L'0'), true, false, 0},
    };
    for (const Case& app : cases) {
        PumpMessages();
        EXPECT_EQ(app.taken, TakeAppAddress(app.address.c_str(), window.window)) << testing::PrintToString(app.address);
        MSG posted;
        const bool got = ::PeekMessageW(&posted, window.window, WM_APP, WM_APP, PM_REMOVE) != FALSE;
        EXPECT_EQ(app.posted, got) << testing::PrintToString(app.address);
        if (got) {
            EXPECT_EQ(app.number, posted.wParam) << testing::PrintToString(app.address);
        }
    }
}
