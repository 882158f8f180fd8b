// Every value the program reads from the registry, stored with every wrong type and size another
// program or a hand edit could leave there: each reader answers its default and reads nothing
// beyond the data.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "desktop.h"
#include "framework/component_registration.h"
#include "framework/program_mgr.h"
#include "localisation/ox_multi_language.h"
#include "pack_folder.h"
#include "platform/reg_key.h"
#include "platform/scoped_resource.h"
#include "services/ox_multi_monitor.h"
#include "services/ox_our_products.h"
#include "services/ox_program_settings.h"
#include "shell/ox_program_info.h"
#include "stream_settings.h"
#include "test_support.h"
#include "ui/ox_ui_mgr.h"
#include "version.h"

namespace {

// What a well-behaved reader of each kind makes of a stored value.
enum class ReadsAs { Nothing, Number, Text, TextList, Bytes };

struct RawValue {
    const char* what;
    DWORD type;
    std::string data;
    ReadsAs readsAs;
};

std::string Bytes(const void* data, size_t size)
{
    return std::string(static_cast<const char*>(data), size);
}

// The bytes of a text, with a terminator unless told otherwise.
std::string Utf16(const std::wstring& text, bool terminated = true)
{
    return Bytes(text.c_str(), (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
}

const DWORD StoredNumber = 7;
const size_t OneMegabyte = 1 << 20;

const std::vector<RawValue>& RawValues()
{
    static const std::vector<RawValue> values = {
        {"a DWORD", REG_DWORD, Bytes(&StoredNumber, 4), ReadsAs::Number},
        {"an empty DWORD", REG_DWORD, std::string(), ReadsAs::Nothing},
        {"a one-byte DWORD", REG_DWORD, std::string(1, '\x07'), ReadsAs::Nothing},
        {"a three-byte DWORD", REG_DWORD, std::string(3, '\x07'), ReadsAs::Nothing},
        {"an eight-byte DWORD", REG_DWORD, std::string("\x07\0\0\0\0\0\0\0", 8), ReadsAs::Nothing},
        {"a 1 MB DWORD", REG_DWORD, std::string(OneMegabyte, '\x07'), ReadsAs::Nothing},
        {"a big-endian DWORD", REG_DWORD_BIG_ENDIAN, std::string("\0\0\0\x07", 4), ReadsAs::Nothing},
        {"a QWORD", REG_QWORD, std::string("\x07\0\0\0\0\0\0\0", 8), ReadsAs::Nothing},
        {"a four-byte QWORD", REG_QWORD, Bytes(&StoredNumber, 4), ReadsAs::Nothing},
        {"a text", REG_SZ, Utf16(L"7"), ReadsAs::Text},
        {"an expandable text", REG_EXPAND_SZ, Utf16(L"%SystemRoot%"), ReadsAs::Text},
        {"a text of no bytes", REG_SZ, std::string(), ReadsAs::Text},
        {"a one-byte text", REG_SZ, std::string(1, '7'), ReadsAs::Nothing},
        {"a three-byte text", REG_SZ, std::string("7\0\0", 3), ReadsAs::Nothing},
        {"an odd-sized text", REG_SZ, Utf16(L"ab") + std::string(1, '\0'), ReadsAs::Nothing},
        {"an unterminated text", REG_SZ, Utf16(L"abc", false), ReadsAs::Nothing},
        {"a 1 MB text", REG_SZ, Utf16(std::wstring(OneMegabyte / 2 - 1, L'x')), ReadsAs::Text},
        {"a 1 MB unterminated text", REG_SZ, Utf16(std::wstring(OneMegabyte / 2, L'x'), false), ReadsAs::Nothing},
        {"an expandable text of one byte", REG_EXPAND_SZ, std::string(1, '7'), ReadsAs::Nothing},
        {"a list", REG_MULTI_SZ, Utf16(std::wstring(L"7\0b\0", 4)), ReadsAs::TextList},
        {"an empty list", REG_MULTI_SZ, Utf16(L""), ReadsAs::TextList},
        {"a list of no bytes", REG_MULTI_SZ, std::string(), ReadsAs::Nothing},
        {"a list of one byte", REG_MULTI_SZ, std::string(1, '7'), ReadsAs::Nothing},
        {"a list ending in one zero", REG_MULTI_SZ, Utf16(L"7"), ReadsAs::Nothing},
        {"an odd-sized list", REG_MULTI_SZ, Utf16(std::wstring(L"7\0", 2)) + std::string(1, '\0'), ReadsAs::Nothing},
        {"an unterminated list", REG_MULTI_SZ, Utf16(L"7b", false), ReadsAs::Nothing},
        {"a 1 MB list", REG_MULTI_SZ, Utf16(std::wstring(OneMegabyte / 2 - 2, L'x') + L'\0'), ReadsAs::TextList},
        {"four bytes", REG_BINARY, Bytes(&StoredNumber, 4), ReadsAs::Bytes},
        {"no bytes", REG_BINARY, std::string(), ReadsAs::Bytes},
        {"one byte", REG_BINARY, std::string(1, '\x07'), ReadsAs::Bytes},
        {"three bytes", REG_BINARY, std::string(3, '\x07'), ReadsAs::Bytes},
        {"1 MB of bytes", REG_BINARY, std::string(OneMegabyte, '\x07'), ReadsAs::Bytes},
        {"no data", REG_NONE, std::string(), ReadsAs::Nothing},
        {"four bytes of no type", REG_NONE, Bytes(&StoredNumber, 4), ReadsAs::Nothing},
        {"a text of no type", REG_NONE, Utf16(L"7"), ReadsAs::Nothing},
        {"a type nobody defined", 0x7777, Bytes(&StoredNumber, 4), ReadsAs::Nothing},
    };
    return values;
}

// The texts of a list's data up to the first empty one.
std::vector<std::wstring> ListOf(const std::string& data)
{
    std::wstring chars(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(&chars[0], data.data(), chars.size() * sizeof(wchar_t));
    std::vector<std::wstring> list;
    for (size_t start = 0; start < chars.size() && chars[start] != L'\0'; start = chars.find(L'\0', start) + 1)
        list.push_back(chars.substr(start, chars.find(L'\0', start) - start));
    return list;
}

std::wstring TextOf(const std::string& data)
{
    const std::vector<std::wstring> texts = ListOf(data);
    return texts.empty() ? std::wstring() : texts.front();
}

// A company of each test process's own, so that the product's key is the test's alone.
const std::wstring& TestCompany()
{
    static const std::wstring name = L"ZELK Soft Registry Values Test " + std::to_wstring(::GetCurrentProcessId());
    return name;
}

const wchar_t ProductName[] = L"ZELK Vantor Source";

std::wstring ProductKey()
{
    return L"Software\\" + TestCompany() + L"\\" + ProductName;
}

class BadRegistryValuesTest : public ::testing::Test {
protected:
    ~BadRegistryValuesTest() override
    {
        manager.reset();
        const std::wstring companyKey = L"Software\\" + TestCompany();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, companyKey.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, companyKey.c_str());
    }

    // The program's settings, monitors, languages, skins and products under the test's product
    // key, for a program file standing at program (null: the test driver).
    void Build(HMODULE program = nullptr)
    {
        manager.reset(new OxProgramMgr);
        IOxProgramInfo_Add(manager.get(), program, L"ZELKVS", ProductName, L"", TestCompany().c_str(), VANTOR_VERSION_TEXT,
                           VANTOR_VERSION_MAJOR, VANTOR_VERSION_MINOR, VANTOR_VERSION_PATCH);
        RegisterComponent<OxMultiMonitor>(manager.get(), DependsOn<>());
        RegisterComponent<OxProgramSettings>(manager.get(), DependsOn<IOxProgramInfo, IOxMultiMonitor>());
        RegisterComponent<OxMultiLanguage>(manager.get(), DependsOn<IOxProgramSettings, IOxProgramInfo>());
        RegisterComponent<OxUiMgr>(manager.get(), DependsOn<IOxProgramSettings, IOxProgramInfo>());
        RegisterComponent<OxOurProducts>(manager.get(), DependsOn<IOxProgramInfo>());
    }

    template <class Component>
    boost::shared_ptr<Component> Get()
    {
        return OxInterfacePtr<Component>(manager.get(), "GlobalUse").Get();
    }
    boost::shared_ptr<IOxProgramSettings> Settings() { return Get<IOxProgramSettings>(); }

    // Stores the value under name, relative to the product key ("Language\\Current"; empty for
    // the key's default value), replacing whatever was there.
    static void Store(const std::wstring& name, const RawValue& value)
    {
        const size_t split = name.rfind(L'\\');
        const std::wstring keyPath = split == std::wstring::npos ? ProductKey() : ProductKey() + L"\\" + name.substr(0, split);
        StoreAt(keyPath, split == std::wstring::npos ? name : name.substr(split + 1), value);
    }
    static void StoreAt(const std::wstring& keyPath, const std::wstring& valueName, const RawValue& value)
    {
        vantor::CRegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, keyPath.c_str()));
        // The system counts in a terminator it finds right after a text's data: what follows
        // the data here is no terminator.
        const std::string guarded = value.data + "\xff\xff";
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key, valueName.c_str(), 0, value.type,
                                                  reinterpret_cast<const BYTE*>(guarded.data()),
                                                  static_cast<DWORD>(value.data.size())))
            << value.what;
    }

    std::unique_ptr<OxProgramMgr> manager;
};

} // namespace

TEST_F(BadRegistryValuesTest, NumbersAreReadOnlyFromFourByteDwords)
{
    Build();
    for (const RawValue& value : RawValues()) {
        Store(L"Controls\\Main\\Number", value);
        EXPECT_EQ(value.readsAs == ReadsAs::Number ? int(StoredNumber) : -5, Settings()->GetInt(L"Controls\\Main\\Number", -5))
            << value.what;
    }
}

TEST_F(BadRegistryValuesTest, TextsAreReadOnlyFromTerminatedTexts)
{
    Build();
    for (const RawValue& value : RawValues()) {
        Store(L"Language\\Text", value);
        const std::wstring expected = value.readsAs == ReadsAs::Text ? TextOf(value.data) : L"default";
        const std::wstring read = Settings()->GetString(L"Language\\Text", L"default");
        EXPECT_TRUE(expected == read) << value.what << ": " << read.size() << " characters read, starting "
                                      << ::testing::PrintToString(read.substr(0, 16));
    }
}

TEST_F(BadRegistryValuesTest, ListsAreReadOnlyFromListsEndingInTwoZeros)
{
    Build();
    for (const RawValue& value : RawValues()) {
        Store(L"Recent\\List", value);
        std::vector<std::wstring> list{L"kept"};
        const bool read = Settings()->GetStringList(list, L"Recent\\List");
        EXPECT_EQ(value.readsAs == ReadsAs::TextList, read) << value.what;
        EXPECT_TRUE((read ? ListOf(value.data) : std::vector<std::wstring>{L"kept"}) == list)
            << value.what << ": " << list.size() << " texts read";
    }
}

TEST_F(BadRegistryValuesTest, BytesAreReadOnlyFromBinaryValuesAndFloatsOnlyFromFourOfThem)
{
    Build();
    for (const RawValue& value : RawValues()) {
        Store(L"Blob", value);
        const bool bytes = value.readsAs == ReadsAs::Bytes;
        const std::string blob = Settings()->GetBinary(L"Blob", "default");
        EXPECT_TRUE((bytes ? value.data : "default") == blob) << value.what << ": " << blob.size() << " bytes read";
        float expected = 2.5f;
        if (bytes && value.data.size() == sizeof(float))
            std::memcpy(&expected, value.data.data(), sizeof(expected));
        const float read = Settings()->GetFloat(L"Blob", 2.5f);
        EXPECT_EQ(Bytes(&expected, sizeof(expected)), Bytes(&read, sizeof(read))) << value.what;
    }
}

TEST_F(BadRegistryValuesTest, WindowsWithoutAUsableRectangleAreCentredAndOnlyANumberMaximises)
{
    Build();
    for (const RawValue& value : RawValues()) {
        for (const wchar_t* name : {L"WinPosX0", L"WinPosY0", L"WinPosX1", L"WinPosY1", L"WinMaximized"})
            Store(std::wstring(L"Controls\\Main\\") + name, value);
        TestWindow window(RECT{0, 0, 201, 101}, WS_POPUP);
        int showCommand = SW_SHOWNORMAL;
        Settings()->RestoreWindowPosition(L"Main", window.window, &showCommand, false);
        const RECT area = WorkAreaOf(window.window);
        const LONG left = (area.left + area.right) / 2 - 201 / 2;
        const LONG top = (area.top + area.bottom) / 2 - 101 / 2;
        EXPECT_EQ((RECT{left, top, left + 201, top + 101}), WindowRect(window.window)) << value.what;
        EXPECT_EQ(value.readsAs == ReadsAs::Number ? SW_MAXIMIZE : SW_SHOWNORMAL, showCommand) << value.what;
    }
}

// Numbers of the right type whose rectangle is wider or taller than any int can say.
TEST_F(BadRegistryValuesTest, WindowsWhoseStoredRectangleNoWindowCanHaveAreCentred)
{
    Build();
    const RECT extremes[] = {{INT_MIN, 0, INT_MAX, 100}, {0, INT_MIN, 100, INT_MAX}, {-2, 0, INT_MAX, 100}};
    for (const RECT& stored : extremes) {
        const LONG corners[] = {stored.left, stored.top, stored.right, stored.bottom};
        const wchar_t* const names[] = {L"WinPosX0", L"WinPosY0", L"WinPosX1", L"WinPosY1"};
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(Settings()->SetInt(std::wstring(L"Controls\\Main\\") + names[i], corners[i]));
        TestWindow window(RECT{0, 0, 201, 101}, WS_POPUP);
        Settings()->RestoreWindowPosition(L"Main", window.window, nullptr, false);
        const RECT area = WorkAreaOf(window.window);
        const LONG left = (area.left + area.right) / 2 - 201 / 2;
        const LONG top = (area.top + area.bottom) / 2 - 101 / 2;
        EXPECT_EQ((RECT{left, top, left + 201, top + 101}), WindowRect(window.window)) << ::testing::PrintToString(stored);
    }
}

TEST_F(BadRegistryValuesTest, ListBoxesSelectTheirFirstItemUnlessANumberIsStored)
{
    Build();
    TestWindow parent(RECT{0, 0, 300, 300}, WS_OVERLAPPEDWINDOW);
    const HWND list = ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD, 0, 0, 100, 100, parent.window,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(1234)), nullptr, nullptr);
    for (int i = 0; i < 10; ++i)
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
    for (const RawValue& value : RawValues()) {
        Store(L"Controls\\1234\\CurrentSel", value);
        ::SendMessageW(list, LB_SETCURSEL, 4, 0);
        Settings()->RestoreControlState(list, ControlStateKind::ListBoxSelection);
        EXPECT_EQ(value.readsAs == ReadsAs::Number ? LRESULT(StoredNumber) : 0, ::SendMessageW(list, LB_GETCURSEL, 0, 0))
            << value.what;
    }
}

TEST_F(BadRegistryValuesTest, ListViewColumnsKeepTheirWidthsUnlessNumbersAreStored)
{
    Build();
    TestWindow parent(RECT{0, 0, 500, 300}, WS_OVERLAPPEDWINDOW);
    const HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 400, 100, parent.window,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(1234)), nullptr, nullptr);
    for (int i = 0; i < 8; ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_WIDTH;
        column.cx = 40;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    const auto width = [&](int column) { return static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0)); };
    const RawValue eight = {"eight", REG_DWORD, std::string("\x08\0\0\0", 4), ReadsAs::Number};
    const RawValue thirty = {"thirty", REG_DWORD, std::string("\x1e\0\0\0", 4), ReadsAs::Number};
    for (const RawValue& value : RawValues()) {
        // A bad width of the last column among good ones.
        Store(L"Controls\\1234\\ColumnsCount", eight);
        for (int column = 0; column < 7; ++column)
            Store(L"Controls\\1234\\Column0" + std::to_wstring(column), thirty);
        Store(L"Controls\\1234\\Column07", value);
        Settings()->RestoreControlState(list, ControlStateKind::ListViewColumns);
        EXPECT_EQ(30, width(0)) << value.what;
        EXPECT_EQ(value.readsAs == ReadsAs::Number ? int(StoredNumber) : 40, width(7)) << value.what;

        // A bad count of good widths.
        for (int column = 0; column < 8; ++column)
            ::SendMessageW(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(40, 0));
        Store(L"Controls\\1234\\Column07", thirty);
        Store(L"Controls\\1234\\ColumnsCount", value);
        Settings()->RestoreControlState(list, ControlStateKind::ListViewColumns);
        EXPECT_EQ(value.readsAs == ReadsAs::Number ? 30 : 40, width(0)) << value.what;
        EXPECT_EQ(40, width(7)) << value.what << ": beyond the count";
    }
}

TEST_F(BadRegistryValuesTest, TheLanguageFallsBackToEnglishAndIsStoredAgain)
{
    const PackFolder folder({L"pack_deu.dll", L"pack_eng.dll"});
    Build(folder.Program());
    Store(L"Language\\Current", RawValue{"German", REG_SZ, Utf16(L"deu"), ReadsAs::Text});
    ASSERT_EQ(L"deu", Get<IOxMultiLanguage>()->GetCurrentLanguage().code) << "the value read is the one the test stores";
    for (const RawValue& value : RawValues()) {
        Build(folder.Program());
        Store(L"Language\\Current", value);
        EXPECT_EQ(L"eng", Get<IOxMultiLanguage>()->GetCurrentLanguage().code) << value.what;
        EXPECT_EQ(L"eng", Get<IOxMultiLanguage>()->GetConfiguredLanguage().code) << value.what;
        EXPECT_EQ(L"eng", Settings()->GetString(L"Language\\Current", L"none")) << value.what;
    }
    // The component, which holds packs, goes before their files.
    manager.reset();
}

TEST_F(BadRegistryValuesTest, TheSkinFallsBackToTheFirstLook)
{
    for (const RawValue& value : RawValues()) {
        Build();
        InitParamsOf<IOxUiMgr>(manager.get())->SetIntParam("UseSkins", 0);
        InitParamsOf<IOxUiMgr>(manager.get())->SetIntParam("UseNative", 1);
        Store(L"Skin\\Current", value);
        EXPECT_TRUE(Get<IOxUiMgr>()->LoadSkins()) << value.what;
        std::wstring name;
        EXPECT_EQ(L"Classic Windows", Get<IOxUiMgr>()->GetCurrentSkin(name)) << value.what;
    }
}

// The product's folder and file, each stored wrong while the other is right, name no installed
// product, wherever the current folder is. The file stands in the root of the current drive, where
// an empty folder would lead.
TEST_F(BadRegistryValuesTest, AProductWithABadFolderOrFileNameIsNotInstalled)
{
    wchar_t temp[MAX_PATH] = L"";
    ASSERT_NE(0u, ::GetTempPathW(MAX_PATH, temp));
    wchar_t previous[MAX_PATH] = L"";
    ASSERT_NE(0u, ::GetCurrentDirectoryW(MAX_PATH, previous));
    ASSERT_TRUE(::SetCurrentDirectoryW(temp));
    const std::wstring fileName = L"registry-values-test-" + std::to_wstring(::GetCurrentProcessId()) + L".exe";
    wchar_t inRoot[MAX_PATH] = L"";
    ASSERT_NE(0u, ::GetFullPathNameW((L"\\" + fileName).c_str(), MAX_PATH, inRoot, nullptr));
    const vantor::ScopedHandle file(::CreateFileW(inRoot, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    ASSERT_TRUE(file) << "the root of the temporary folder's drive is writable";
    const std::wstring folder(inRoot, std::wcslen(inRoot) - fileName.size() - 1);

    Build();
    const RawValue goodFolder = {"the folder", REG_SZ, Utf16(folder), ReadsAs::Text};
    const RawValue goodFile = {"the file", REG_SZ, Utf16(fileName), ReadsAs::Text};
    Store(L"", goodFolder);
    Store(L"program_exe_name", goodFile);
    EXPECT_TRUE(Get<IOxOurProducts>()->IsProductInstalled("ZELK")) << "the values read are the ones the test stores";
    for (const RawValue& value : RawValues()) {
        Store(L"", value);
        EXPECT_FALSE(Get<IOxOurProducts>()->IsProductInstalled("ZELK")) << "folder: " << value.what;
        Store(L"", goodFolder);
        Store(L"program_exe_name", value);
        EXPECT_FALSE(Get<IOxOurProducts>()->IsProductInstalled("ZELK")) << "file: " << value.what;
        Store(L"program_exe_name", goodFile);
    }
    ::SetCurrentDirectoryW(previous);
}

// The stand-in filter's own settings, read by its page: a value it cannot read is its default,
// and a value it reads that the filter cannot use makes every setting its default.
TEST_F(BadRegistryValuesTest, TheFilterTakesTheDefaultOfEveryBadSetting)
{
    struct Removal {
        ~Removal()
        {
            ::RegDeleteTreeW(HKEY_CURRENT_USER, StreamSettingsKey);
            ::RegDeleteKeyW(HKEY_CURRENT_USER, StreamSettingsKey);
        }
    } removal;
    const StreamSettings defaults = StreamSettings::Defaults();
    const StreamSettings saved = {L"rtsp://other.local/live", 4000, 9};
    for (const std::wstring name : {L"StreamAddress", L"BufferLength", L"ReconnectAttempts"}) {
        for (const RawValue& value : RawValues()) {
            ASSERT_TRUE(saved.Save());
            StoreAt(StreamSettingsKey, name, value);
            StreamSettings expected = saved;
            if (name == L"StreamAddress") {
                // It reads any REG_SZ, terminated or not, and none of them is a stream address.
                expected = value.type == REG_SZ ? defaults : StreamSettings{defaults.streamAddress, 4000, 9};
            } else if (name == L"BufferLength") {
                // Seven milliseconds are too short.
                expected = value.readsAs == ReadsAs::Number ? defaults : StreamSettings{saved.streamAddress, defaults.bufferLengthMs, 9};
            } else {
                expected.reconnectAttempts = value.readsAs == ReadsAs::Number ? int(StoredNumber) : defaults.reconnectAttempts;
            }
            const StreamSettings loaded = StreamSettings::Load();
            const std::string what = std::string(value.what) + " as " + std::string(name.begin(), name.end());
            EXPECT_EQ(expected.streamAddress, loaded.streamAddress) << what;
            EXPECT_EQ(expected.bufferLengthMs, loaded.bufferLengthMs) << what;
            EXPECT_EQ(expected.reconnectAttempts, loaded.reconnectAttempts) << what;
        }
    }
}
