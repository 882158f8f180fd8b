#include <gtest/gtest.h>

#include <string>

#include "framework/component_registration.h"
#include "framework/program_mgr.h"
#include "pack_folder.h"
#include "platform/module_path.h"
#include "platform/reg_key.h"
#include "platform/scoped_resource.h"
#include "services/ox_our_products.h"
#include "shell/ox_program_info.h"
#include "version.h"

namespace {

// A company of each test process's own, so that the product key is the test's alone.
const std::wstring& TestCompany()
{
    static const std::wstring name = L"ZELK Soft Products Test " + std::to_wstring(::GetCurrentProcessId());
    return name;
}

std::wstring CompanyKey()
{
    return L"Software\\" + TestCompany();
}

std::wstring DriverFolder()
{
    const std::wstring driver = vantor::ModuleFilePath(nullptr);
    return driver.substr(0, driver.find_last_of(L'\\'));
}

class OurProductsTest : public ::testing::Test {
protected:
    OurProductsTest()
    {
        IOxProgramInfo_Add(&manager, nullptr, L"ZELKVS", L"ZELK Vantor Source", L"", TestCompany().c_str(),
                           VANTOR_VERSION_TEXT, VANTOR_VERSION_MAJOR, VANTOR_VERSION_MINOR, VANTOR_VERSION_PATCH);
        RegisterComponent<OxOurProducts>(&manager, DependsOn<IOxProgramInfo>());
    }
    ~OurProductsTest() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, CompanyKey().c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, CompanyKey().c_str());
    }

    boost::shared_ptr<IOxOurProducts> Products() { return OxInterfacePtr<IOxOurProducts>(&manager, "GlobalUse").Get(); }

    // What an installer writes; a null text leaves that value out.
    static void Install(const wchar_t* folder, const wchar_t* exeName)
    {
        vantor::CRegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, (CompanyKey() + L"\\ZELK Vantor Source").c_str()));
        if (folder != nullptr) {
            ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue(nullptr, folder));
        }
        if (exeName != nullptr) {
            ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue(L"program_exe_name", exeName));
        }
    }

    OxProgramMgr manager;
};

} // namespace

TEST_F(OurProductsTest, KnowsTheProgramsOwnProductByItsKey)
{
    std::wstring name = L"kept";
    int number = 0;
    EXPECT_TRUE(Products()->FindProduct("ZELK", name, &number));
    EXPECT_EQ(L"ZELK Vantor Source", name);
    EXPECT_EQ(3, number);
    name = L"kept";
    EXPECT_FALSE(Products()->FindProduct("zelk", name, &number)) << "keys compare exactly";
    EXPECT_EQ(L"kept", name);

    ProductMap products = {{99, {"OLD", L"Old"}}};
    Products()->GetProducts(products);
    EXPECT_EQ((ProductMap{{3, {"ZELK", L"ZELK Vantor Source"}}}), products);
    EXPECT_EQ(L"", Products()->GetHelpUrl(1, "ZELK"));
    EXPECT_EQ(0u, Products()->GetHelpUrl(0, "").find(L"https://")) << "the maker's help page on the web";
}

TEST_F(OurProductsTest, FindsTheInstalledExecutableThroughTheProductKey)
{
    const std::wstring folder = DriverFolder();
    struct Case {
        const char* what;
        std::wstring folderValue;
        const wchar_t* exeName;
        bool installed;
        std::wstring path;
    };
    const Case cases[] = {
        {"folder and file", folder, L"vantor_source.exe", true, folder + L"\\vantor_source.exe"},
        {"folder ending in a backslash", folder + L"\\", L"vantor_source.exe", true, folder + L"\\\\vantor_source.exe"},
        {"file name naming a folder", folder, L"lang", false, folder + L"\\lang"},
        {"missing file", folder, L"no_such_program.exe", false, folder + L"\\no_such_program.exe"},
        {"no file name", folder, nullptr, false, folder},
    };
    for (const Case& product : cases) {
        Install(product.folderValue.c_str(), product.exeName);
        std::wstring path;
        EXPECT_EQ(product.installed, Products()->GetProductExePath("ZELK", path)) << product.what;
        EXPECT_EQ(product.path, path) << product.what;
        EXPECT_EQ(product.installed, Products()->IsProductInstalled("ZELK")) << product.what;
        ::RegDeleteTreeW(HKEY_CURRENT_USER, CompanyKey().c_str());
    }
    std::wstring untouched = L"kept";
    EXPECT_FALSE(Products()->GetProductExePath("ZELK", untouched)) << "not installed";
    EXPECT_EQ(L"kept", untouched);
    EXPECT_FALSE(Products()->GetProductExePath("OTHER", untouched));
}

TEST_F(OurProductsTest, ReadsVersionAndIconsFromTheInstalledExecutable)
{
    Install(DriverFolder().c_str(), L"vantor_source.exe");
    int major = -1, minor = -1, build = -1;
    ASSERT_TRUE(Products()->GetProductVersion("ZELK", &major, &minor, &build));
    EXPECT_EQ(VANTOR_VERSION_MAJOR, major);
    EXPECT_EQ(VANTOR_VERSION_MINOR, minor);
    EXPECT_EQ(VANTOR_VERSION_PATCH, build);
    for (bool small : {false, true}) {
        const vantor::ScopedIcon icon(Products()->GetProductIcon("ZELK", small));
        ASSERT_TRUE(icon) << (small ? "small" : "large");
        ICONINFO info = {};
        ASSERT_TRUE(::GetIconInfo(icon.Get(), &info));
        BITMAP bitmap = {};
        ::GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
        EXPECT_EQ(::GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON), bitmap.bmWidth) << (small ? "small" : "large");
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
    }

    // A version block too short for its fixed part gives no version.
    Install(DriverFolder().c_str(), L"short_version_block.dll");
    ASSERT_TRUE(Products()->IsProductInstalled("ZELK"));
    major = -1;
    EXPECT_FALSE(Products()->GetProductVersion("ZELK", &major, &minor, &build));
    EXPECT_EQ(-1, major);

    // A library without a version block or icons: a language pack.
    Install((DriverFolder() + L"\\lang").c_str(), L"english.dll");
    ASSERT_TRUE(Products()->IsProductInstalled("ZELK"));
    major = -1;
    EXPECT_FALSE(Products()->GetProductVersion("ZELK", &major, &minor, &build));
    EXPECT_EQ(-1, major);
    EXPECT_EQ(nullptr, Products()->GetProductIcon("ZELK", false));
}
