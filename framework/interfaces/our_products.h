// "OxOurProducts": the maker's products by short key, their installed executables, and the
// maker's help page.
#pragma once

#include <map>
#include <string>
#include <utility>

#include <windows.h>

#include "framework/interface_ptr.h"

// Product number -> (short key, display name).
typedef std::map<int, std::pair<std::string, std::wstring>> ProductMap;

class IOxOurProducts {
public:
    // What a component of this kind is handed out as.
    typedef IOxOurProducts Interface;

    virtual void GetProducts(ProductMap& products) = 0;
    // False leaves name and number untouched.
    virtual bool FindProduct(const std::string& key, std::wstring& name, int* number) = 0;
    virtual bool IsProductInstalled(const std::string& key) = 0;
    virtual bool GetProductVersion(const std::string& key, int* major, int* minor, int* build) = 0;
    virtual bool GetProductExePath(const std::string& key, std::wstring& path) = 0;
    // The caller owns and destroys a returned icon.
    virtual HICON GetProductIcon(const std::string& key, bool small) = 0;
    virtual std::wstring GetHelpUrl(int page, const std::string& key) = 0;
    virtual void ReservedA(DWORD first, DWORD second) = 0;
    virtual void ReservedB(DWORD first, DWORD second, DWORD third, DWORD fourth, DWORD fifth, DWORD sixth) = 0;

protected:
    ~IOxOurProducts() = default;
};

class OxOurProductsEmpty : public IOxOurProducts {
public:
    explicit OxOurProductsEmpty(IOxQueryInterface*) {}

    void GetProducts(ProductMap& products) override { products.clear(); }
    bool FindProduct(const std::string&, std::wstring&, int*) override { return false; }
    bool IsProductInstalled(const std::string&) override { return false; }
    bool GetProductVersion(const std::string&, int*, int*, int*) override { return false; }
    bool GetProductExePath(const std::string&, std::wstring&) override { return false; }
    HICON GetProductIcon(const std::string&, bool) override { return nullptr; }
    std::wstring GetHelpUrl(int, const std::string&) override { return std::wstring(); }
    void ReservedA(DWORD, DWORD) override {}
    void ReservedB(DWORD, DWORD, DWORD, DWORD, DWORD, DWORD) override {}
};

OX_BIND_INTERFACE(IOxOurProducts, "OxOurProducts", OxOurProductsEmpty);
