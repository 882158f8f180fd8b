// The maker's products component: the maker's products by short key, an installed product's
// executable found through the product's registry key under the current user, that
// executable's version and icon, and the address of the maker's help page.
#pragma once

#include <string>
#include <vector>

#include "framework/component_view.h"
#include "framework/interfaces/our_products.h"

class OxOurProducts : public IOxOurProducts {
public:
    explicit OxOurProducts(IOxQueryInterface* queryInterface);

    void GetProducts(ProductMap& products) override;
    bool FindProduct(const std::string& key, std::wstring& name, int* number) override;
    bool IsProductInstalled(const std::string& key) override;
    bool GetProductVersion(const std::string& key, int* major, int* minor, int* build) override;
    // The default value of "Software\<company>\<product name>" is the folder and
    // "program_exe_name" the file; true when that names an existing file. An empty folder names
    // none. After a failed read of the file name path may already hold the folder.
    bool GetProductExePath(const std::string& key, std::wstring& path) override;
    HICON GetProductIcon(const std::string& key, bool small) override;
    std::wstring GetHelpUrl(int page, const std::string& key) override;
    void ReservedA(DWORD first, DWORD second) override;
    void ReservedB(DWORD first, DWORD second, DWORD third, DWORD fourth, DWORD fifth, DWORD sixth) override;

    virtual ~OxOurProducts() = default;

    struct ProductRecord {
        std::string key;
        int number;
        std::wstring name;
    };

private:
    const ProductRecord* Find(const std::string& key) const;

    std::vector<ProductRecord> products;
    const OxComponentView<IOxOurProducts> programMgr;
};

// Opens the maker's help page in the user's browser; false when the shell could not.
bool OpenHelpPage(IOxQueryInterface* queryInterface);
