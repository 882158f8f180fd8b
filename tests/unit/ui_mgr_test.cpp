#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <boost/make_shared.hpp>

#include "desktop.h"
#include "framework/component_registration.h"
#include "framework/program_mgr.h"
#include "pack_folder.h"
#include "platform/module_path.h"
#include "shell/ox_program_info.h"
#include "test_support.h"
#include "ui/ox_ui_mgr.h"
#include "version.h"

namespace {

std::wstring DriverFile(const std::wstring& name)
{
    return vantor::ProgramFolder(nullptr) + name;
}

// A program folder with the fixture skin library as both skin libraries, skin files in
// "skins", and a log of every call the libraries get.
class SkinFolder {
public:
    SkinFolder(bool withLibraries, const std::vector<std::wstring>& skinFiles) : folder({})
    {
        if (withLibraries) {
            for (const wchar_t* name : {L"skin_controls.dll", L"skin_manager.dll"})
                ::CopyFileW(DriverFile(L"fixture_skin.dll").c_str(), folder.Path(name).c_str(), FALSE);
        }
        ::CreateDirectoryW(folder.Path(L"skins").c_str(), nullptr);
        for (const std::wstring& file : skinFiles)
            folder.AddFile(L"skins\\" + file, std::string());
        ::SetEnvironmentVariableW(L"VANTOR_FIXTURE_SKIN_LOG", folder.Path(L"calls.log").c_str());
    }
    ~SkinFolder()
    {
        ::SetEnvironmentVariableW(L"VANTOR_FIXTURE_SKIN_LOG", nullptr);
        ::SetEnvironmentVariableW(L"VANTOR_FIXTURE_SKIN", nullptr);
    }

    // The calls the libraries got, one a line, and forgets them.
    std::vector<std::wstring> TakeCalls()
    {
        const std::string bytes = ReadFileStart(folder.Path(L"calls.log"), 1 << 20);
        ::DeleteFileW(folder.Path(L"calls.log").c_str());
        const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        std::vector<std::wstring> lines;
        for (size_t start = 0; start < text.size();) {
            const size_t end = text.find(L'\n', start);
            lines.push_back(text.substr(start, end - start));
            start = end == std::wstring::npos ? text.size() : end + 1;
        }
        return lines;
    }

    // The skin files in the order the system lists them.
    std::vector<std::wstring> ListedSkinFiles() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found = {};
        const vantor::ScopedFind search(::FindFirstFileW(folder.Path(L"skins\\*.skin").c_str(), &found));
        if (search) {
            do
                names.push_back(found.cFileName);
            while (::FindNextFileW(search.Get(), &found));
        }
        return names;
    }

    PackFolder folder;
};

class UiMgrTest : public ::testing::Test {
protected:
    void Build(SkinFolder& skins, bool useSkins, bool useNative)
    {
        manager.reset(new OxProgramMgr);
        settings = boost::make_shared<InMemorySettings>();
        IOxProgramInfo_Add(manager.get(), skins.folder.Program(), L"ZELKVS", L"ZELK Vantor Source", L"", L"ZELK Soft",
                           VANTOR_VERSION_TEXT, VANTOR_VERSION_MAJOR, VANTOR_VERSION_MINOR, VANTOR_VERSION_PATCH);
        RegisterComponentInstance(manager.get(), settings, DependsOn<>());
        RegisterComponent<OxUiMgr>(manager.get(), DependsOn<IOxProgramSettings, IOxProgramInfo>());
        InitParamsOf<IOxUiMgr>(manager.get())->SetIntParam("UseSkins", useSkins ? 1 : 0);
        InitParamsOf<IOxUiMgr>(manager.get())->SetIntParam("UseNative", useNative ? 1 : 0);
    }
    boost::shared_ptr<IOxUiMgr> UiMgr() { return OxInterfacePtr<IOxUiMgr>(manager.get(), "GlobalUse").Get(); }
    std::vector<std::wstring> SkinNames()
    {
        std::vector<std::wstring> names = {L"stale"};
        UiMgr()->GetSkinNames(names);
        return names;
    }
    std::wstring CurrentSkin()
    {
        std::wstring name = L"stale";
        return UiMgr()->GetCurrentSkin(name);
    }
    // Ends the component and with it the libraries.
    void TearDownComponents() { manager.reset(); }

    void TearDown() override { TearDownComponents(); }

    std::unique_ptr<OxProgramMgr> manager;
    boost::shared_ptr<InMemorySettings> settings;
};

bool menuWasOpen = false;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    menuWasOpen = ::GetGUIThreadInfo(::GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE) != 0;
    ::EndMenu();
}

// Keys for the menu that the next PressMenuKeys timer finds open.
std::vector<WPARAM> menuKeys;

void CALLBACK PressMenuKeys(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    menuWasOpen = ::GetGUIThreadInfo(::GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE) != 0;
    for (const WPARAM key : menuKeys)
        ::PostMessageW(thread.hwndMenuOwner, WM_KEYDOWN, key, 0);
}

// Ends a menu that the keys did not end, so that a failing test does not hang.
void CALLBACK EndMenuAtLast(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    ::EndMenu();
}

UINT CurrentErrorMode()
{
    const UINT mode = ::SetErrorMode(0);
    ::SetErrorMode(mode);
    return mode;
}

bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

TEST_F(UiMgrTest, WithoutSkinLibrariesTheNativeLookIsTheOnlyOneAndDrawsNothingItself)
{
    SkinFolder skins(true, {L"front-Blue.skin"});
    Build(skins, false, true);
    settings->texts[L"Skin\\Current"] = L"Blue";
    EXPECT_TRUE(UiMgr()->LoadSkins());
    EXPECT_EQ(L"Classic Windows", CurrentSkin());
    EXPECT_EQ(std::vector<std::wstring>{L"Classic Windows"}, SkinNames());
    EXPECT_EQ(std::vector<std::wstring>(), skins.TakeCalls()) << "\"UseSkins\" off: no library is loaded";
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), UiMgr()->GetSkinSysColor(COLOR_WINDOW));
    EXPECT_EQ(L"default", UiMgr()->GetSkinString(L"key", L"default"));
    EXPECT_EQ(0u, UiMgr()->QuerySkinValue(L"value"));
    EXPECT_EQ(-1, UiMgr()->DoModalCustomDialog(1, 2, 3));
    EXPECT_EQ(0, UiMgr()->CreateCustomDialog(1, 2, 3));

    Build(skins, false, false);
    EXPECT_FALSE(UiMgr()->LoadSkins()) << "no look at all";
}

TEST_F(UiMgrTest, FindsSkinsFrontAndBackAndChoosesTheSavedOneByItsExactName)
{
    SkinFolder skins(true, {L"front-A.skin", L"front-B.skin", L"back-C.skin", L"notes.txt", L"unterminated.skin"});
    ::SetEnvironmentVariableW(L"VANTOR_FIXTURE_SKIN", L"draws");
    Build(skins, true, true);
    settings->texts[L"Skin\\Current"] = L"c";
    ASSERT_TRUE(UiMgr()->LoadSkins());

    // Front entries end up in the reverse order of discovery, ahead of the back ones.
    std::vector<std::wstring> front;
    std::vector<std::wstring> back;
    for (const std::wstring& file : skins.ListedSkinFiles()) {
        if (file == L"unterminated.skin")
            front.insert(front.begin(), std::wstring(128, L'X'));
        else if (file.compare(0, 6, L"front-") == 0)
            front.insert(front.begin(), file.substr(6, file.size() - 11));
        else
            back.push_back(file.substr(5, file.size() - 10));
    }
    std::vector<std::wstring> expected = front;
    expected.insert(expected.end(), back.begin(), back.end());
    expected.push_back(L"Classic Windows");
    EXPECT_EQ(expected, SkinNames()) << "an unterminated name is cut at the buffer's end";
    EXPECT_EQ(expected.front(), CurrentSkin()) << "\"c\" is not \"C\": the first entry";

    const std::vector<std::wstring> calls = skins.TakeCalls();
    const std::vector<std::wstring> startUp = {L"controls: get interface", L"controls: start 0", L"manager: get interface",
                                               L"manager: start", L"controls: attach manager"};
    ASSERT_GE(calls.size(), startUp.size());
    EXPECT_EQ(startUp, std::vector<std::wstring>(calls.begin(), calls.begin() + 5));
    EXPECT_TRUE(Contains(calls, L"manager: describe back-C.skin ZELK Vantor Source eng 128"));
    EXPECT_EQ(L"manager: load skin " + (expected.front().size() == 128 ? std::wstring(L"unterminated.skin")
                                                                        : L"front-" + expected.front() + L".skin"),
              calls.back());

    EXPECT_EQ(IDRETRY, UiMgr()->SkinMessageBox(L"Text", MB_RETRYCANCEL, nullptr, nullptr));
    EXPECT_EQ(77, UiMgr()->SkinTrackPopupMenu(nullptr, TPM_RETURNCMD, 10, 20, nullptr, 1, 2, 3));
    EXPECT_EQ(55, UiMgr()->DoModalCustomDialog(7, 42, 9));
    EXPECT_EQ(55, UiMgr()->CreateCustomDialog(7, 43, 9));
    UiMgr()->ApplySkinToWindow(nullptr, 0);
    DWORD values[4] = {};
    DWORD extra = 0;
    EXPECT_TRUE(UiMgr()->GetCustomInfo(5, values, &extra));
    EXPECT_EQ(14u, extra);
    EXPECT_EQ(RGB(1, 2, 3), UiMgr()->GetSkinSysColor(COLOR_WINDOW));
    EXPECT_EQ(L"skinned text", UiMgr()->GetSkinString(L"key", L"default"));
    EXPECT_EQ(99u, UiMgr()->QuerySkinValue(L"value"));
    EXPECT_EQ((std::vector<std::wstring>{
                  L"controls: message box Text|ZELK Vantor Source|5",
                  L"controls: menu 256 10 20 1 2 3",
                  L"controls: dialog 7 Custom/Dialog?id=42 9 1",
                  L"controls: dialog 7 Custom/Dialog?id=43 9 0",
                  L"controls: skin window 1",
                  L"manager: custom info Custom\\?Id=5 5",
                  L"manager: colour 5",
                  L"manager: string key",
                  L"manager: value value",
              }),
              skins.TakeCalls());

    TearDownComponents();
    EXPECT_EQ((std::vector<std::wstring>{L"controls: shutdown", L"controls: free", L"manager: shutdown", L"manager: free"}),
              skins.TakeCalls());
}

TEST_F(UiMgrTest, ALibraryThatFailsToStartIsNeverCalledAgainAndEveryStartedOneIsShutDown)
{
    struct Case {
        const wchar_t* misbehaviour;
        std::vector<std::wstring> startUp;
        bool managerAnswers;
        std::vector<std::wstring> teardown;
    };
    const Case cases[] = {
        {L"no-controls", {L"controls: get interface", L"controls: free"}, false, {}},
        {L"controls-fails", {L"controls: get interface", L"controls: start 0", L"controls: free"}, false, {}},
        {L"no-manager",
         {L"controls: get interface", L"controls: start 0", L"manager: get interface", L"controls: shutdown", L"controls: free"},
         false, {L"manager: free"}},
        {L"manager-fails",
         {L"controls: get interface", L"controls: start 0", L"manager: get interface", L"manager: start", L"manager: free",
          L"controls: shutdown", L"controls: free"},
         false, {}},
    };
    for (const Case& failure : cases) {
        SkinFolder skins(true, {L"front-A.skin"});
        ::SetEnvironmentVariableW(L"VANTOR_FIXTURE_SKIN", failure.misbehaviour);
        Build(skins, true, true);
        EXPECT_TRUE(UiMgr()->LoadSkins()) << "the native look remains";
        EXPECT_EQ(std::vector<std::wstring>{L"Classic Windows"}, SkinNames());
        EXPECT_EQ(failure.startUp, skins.TakeCalls()) << testing::PrintToString(std::wstring(failure.misbehaviour));
        EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), UiMgr()->GetSkinSysColor(COLOR_BTNFACE));
        EXPECT_EQ(L"default", UiMgr()->GetSkinString(L"key", L"default"));
        EXPECT_EQ(std::vector<std::wstring>(), skins.TakeCalls()) << "a library that did not start is not asked";
        TearDownComponents();
        EXPECT_EQ(failure.teardown, skins.TakeCalls()) << testing::PrintToString(std::wstring(failure.misbehaviour));
    }
}

TEST_F(UiMgrTest, ARefusedSkinFileFailsTheLoad)
{
    SkinFolder skins(true, {L"front-A.skin"});
    ::SetEnvironmentVariableW(L"VANTOR_FIXTURE_SKIN", L"refuses-skin");
    Build(skins, true, true);
    EXPECT_FALSE(UiMgr()->LoadSkins());
    EXPECT_EQ(L"", CurrentSkin());
}

TEST_F(UiMgrTest, SelectingASkinRemembersItAndTellsTheHandlers)
{
    SkinFolder skins(false, {});
    Build(skins, false, true);
    ASSERT_TRUE(UiMgr()->LoadSkins());
    std::vector<std::wstring> told;
    const boost::signals2::scoped_connection listening =
        UiMgr()->ConnectSkinChanged([&](const std::wstring& name) { told.push_back(name); }, ConnectAtBack);
    UiMgr()->SelectSkin(L"classic windows");
    EXPECT_TRUE(told.empty()) << "no such skin";
    EXPECT_TRUE(settings->writes.empty());
    UiMgr()->SelectSkin(L"Classic Windows");
    EXPECT_EQ(std::vector<std::wstring>{L"Classic Windows"}, told);
    EXPECT_EQ(std::vector<std::wstring>{L"Skin\\Current=Classic Windows"}, settings->writes);
}

TEST_F(UiMgrTest, CustomInfoWithoutASkinIsKeptHere)
{
    SkinFolder skins(false, {});
    Build(skins, false, true);
    DWORD values[4] = {9, 9, 9, 9};
    DWORD extra = 9;
    EXPECT_FALSE(UiMgr()->GetCustomInfo(3, values, &extra));
    const DWORD stored[4] = {1, 2, 3, 4};
    UiMgr()->SetCustomInfo(3, stored, 5);
    EXPECT_TRUE(UiMgr()->GetCustomInfo(3, values, &extra));
    EXPECT_EQ((std::vector<DWORD>{1, 2, 3, 4}), std::vector<DWORD>(values, values + 4));
    EXPECT_EQ(5u, extra);
}

TEST_F(UiMgrTest, WithoutASkinBoxesAndMenusAreTheSystemsAndBoxesAreCentred)
{
    SkinFolder skins(false, {});
    Build(skins, false, true);
    ASSERT_TRUE(UiMgr()->LoadSkins());
    RECT placed = {};
    std::wstring caption;
    std::thread user([&] {
        const HWND box = WaitForWindow([] { return FindMessageBox(::GetCurrentProcessId()); });
        if (box == nullptr)
            return;
        placed = WindowRect(box);
        caption = WindowText(box);
        PressButton(box, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, UiMgr()->SkinMessageBox(L"Text", MB_OKCANCEL, nullptr, nullptr));
    user.join();
    EXPECT_EQ(L"ZELK Vantor Source", caption) << "the program's name when there is no caption";
    RECT area = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((area.left + area.right) / 2, (placed.left + placed.right) / 2, 1) << "centred";
    EXPECT_NEAR((area.top + area.bottom) / 2, (placed.top + placed.bottom) / 2, 1);

    // The system's menu, closed by a timer once its loop runs.
    TestWindow owner(RECT{0, 0, 200, 200});
    const HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 1, L"item");
    ::SetTimer(nullptr, 0, 200, CloseMenu);
    EXPECT_EQ(0, UiMgr()->SkinTrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, owner.window, 1, 2, 3)) << "closed, nothing chosen";
    EXPECT_TRUE(menuWasOpen);
    ::DestroyMenu(menu);
}
TEST_F(UiMgrTest, ALibraryStartsWithoutSystemErrorBoxesAndTheModeIsRestoredAfterwards)
{
    SkinFolder skins(true, {L"front-A.skin"});
    ::SetEnvironmentVariableW(L"VANTOR_FIXTURE_SKIN", L"error-mode");
    Build(skins, true, true);
    const UINT original = ::SetErrorMode(0);
    ASSERT_TRUE(UiMgr()->LoadSkins());
    EXPECT_EQ(0u, CurrentErrorMode()) << "restored";
    ::SetErrorMode(original);
    const std::vector<std::wstring> calls = skins.TakeCalls();
    const std::vector<std::wstring> startUp = {
        L"controls: get interface", L"controls: get interface without error boxes",
        L"controls: start 0",       L"controls: start without error boxes",
        L"manager: get interface",  L"manager: get interface without error boxes",
        L"manager: start",          L"manager: start without error boxes",
        L"controls: attach manager", L"controls: attach without error boxes",
    };
    ASSERT_GE(calls.size(), startUp.size());
    EXPECT_EQ(startUp, std::vector<std::wstring>(calls.begin(), calls.begin() + startUp.size()));
}

TEST_F(UiMgrTest, ASecondLoadLeavesWhatAFirstLoadWouldAndShutsDownWhatTheFirstStarted)
{
    const std::vector<std::wstring> stopped = {L"controls: shutdown", L"controls: free", L"manager: shutdown",
                                               L"manager: free"};
    struct Case {
        const wchar_t* secondTime;
        std::vector<std::wstring> startUp;  // after stopping the libraries the first load started
        std::vector<std::wstring> names;
        bool skinned;
        std::vector<std::wstring> teardown;
    };
    const Case cases[] = {
        {L"draws",
         {L"controls: get interface", L"controls: start 0", L"manager: get interface", L"manager: start",
          L"controls: attach manager", L"manager: describe . ZELK Vantor Source eng 128",
          L"manager: describe .. ZELK Vantor Source eng 128", L"manager: describe front-A.skin ZELK Vantor Source eng 128",
          L"manager: load skin front-A.skin"},
         {L"A", L"Classic Windows"}, true, stopped},
        {L"no-controls", {L"controls: get interface", L"controls: free"}, {L"Classic Windows"}, false, {}},
        {L"manager-fails",
         {L"controls: get interface", L"controls: start 0", L"manager: get interface", L"manager: start", L"manager: free",
          L"controls: shutdown", L"controls: free"},
         {L"Classic Windows"}, false, {}},
    };
    for (const Case& again : cases) {
        const std::string what = testing::PrintToString(std::wstring(again.secondTime));
        SkinFolder skins(true, {L"front-A.skin"});
        ::SetEnvironmentVariableW(L"VANTOR_FIXTURE_SKIN", L"draws");
        Build(skins, true, true);
        settings->texts[L"Skin\\Current"] = L"A";
        ASSERT_TRUE(UiMgr()->LoadSkins());
        ASSERT_EQ((std::vector<std::wstring>{L"A", L"Classic Windows"}), SkinNames());
        skins.TakeCalls();

        ::SetEnvironmentVariableW(L"VANTOR_FIXTURE_SKIN", again.secondTime);
        EXPECT_TRUE(UiMgr()->LoadSkins()) << what;
        std::vector<std::wstring> calls = stopped;
        calls.insert(calls.end(), again.startUp.begin(), again.startUp.end());
        EXPECT_EQ(calls, skins.TakeCalls()) << what;
        // An entry left from the first load would be chosen here and reach a library that is gone.
        ASSERT_EQ(again.names, SkinNames()) << what;
        ASSERT_EQ(again.skinned ? L"A" : L"Classic Windows", CurrentSkin()) << what;
        UiMgr()->ApplySkinToWindow(nullptr, 0);
        EXPECT_EQ(again.skinned ? std::vector<std::wstring>{L"controls: skin window 1"} : std::vector<std::wstring>{},
                  skins.TakeCalls())
            << what;
        TearDownComponents();
        EXPECT_EQ(again.teardown, skins.TakeCalls()) << what;
    }
}

TEST_F(UiMgrTest, BoxesAndMenusASkinDeclinesAreTheSystemsAndTheirAnswersComeBack)
{
    SkinFolder skins(true, {L"front-A.skin"});
    Build(skins, true, false);
    ASSERT_TRUE(UiMgr()->LoadSkins());
    ASSERT_EQ(L"A", CurrentSkin());
    skins.TakeCalls();

    std::wstring caption;
    std::thread user([&] {
        const HWND box = WaitForWindow([] { return FindMessageBox(::GetCurrentProcessId()); });
        if (box == nullptr)
            return;
        caption = WindowText(box);
        PressButton(box, IDNO);
    });
    EXPECT_EQ(IDNO, UiMgr()->SkinMessageBox(L"Go on?", MB_YESNO, nullptr, L"Question")) << "the answer comes back";
    user.join();
    EXPECT_EQ(L"Question", caption) << "the system's box was shown";
    EXPECT_EQ(std::vector<std::wstring>{L"controls: message box Go on?|Question|4"}, skins.TakeCalls())
        << "the skin was asked first";

    TestWindow owner(RECT{0, 0, 200, 200});
    const HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 1, L"first");
    ::AppendMenuW(menu, MF_STRING, 2, L"second");
    struct Case {
        const char* what;
        std::vector<WPARAM> keys;
        int result;
    };
    const Case cases[] = {
        {"the second item chosen", {VK_DOWN, VK_DOWN, VK_RETURN}, 2},
        {"cancelled", {VK_ESCAPE}, 0},
    };
    for (const Case& choice : cases) {
        menuWasOpen = false;
        menuKeys = choice.keys;
        ::SetTimer(nullptr, 0, 200, PressMenuKeys);
        const UINT_PTR lastResort = ::SetTimer(nullptr, 0, 20000, EndMenuAtLast);
        EXPECT_EQ(choice.result, UiMgr()->SkinTrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, owner.window, 1, 2, 3))
            << choice.what;
        ::KillTimer(nullptr, lastResort);
        EXPECT_TRUE(menuWasOpen) << choice.what;
        EXPECT_EQ(std::vector<std::wstring>{L"controls: menu 256 10 10 1 2 3"}, skins.TakeCalls()) << choice.what;
    }
    ::DestroyMenu(menu);
}
