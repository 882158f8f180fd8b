#include "server_registration.h"

#include <string>
#include <vector>

#include <olectl.h>

#include "platform/module_path.h"
#include "platform/reg_key.h"
#include "server_module.h"

namespace {

std::wstring ClassKeyPath(const CLSID& classId)
{
    wchar_t text[40] = L"";
    ::StringFromGUID2(classId, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

bool SetText(const std::wstring& keyPath, const wchar_t* valueName, const std::wstring& value)
{
    vantor::CRegKey key;
    return key.Create(HKEY_CLASSES_ROOT, keyPath.c_str(), nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE) == ERROR_SUCCESS
        && key.SetStringValue(valueName, value.c_str()) == ERROR_SUCCESS;
}

// The file a class's InprocServer32 names; empty when the class has none.
std::wstring RegisteredServer(const std::wstring& classKey)
{
    vantor::CRegKey key;
    if (key.Open(HKEY_CLASSES_ROOT, (classKey + L"\\InprocServer32").c_str(), KEY_READ) != ERROR_SUCCESS)
        return std::wstring();
    std::vector<wchar_t> path(32768);
    ULONG chars = static_cast<ULONG>(path.size());
    if (key.QueryStringValue(nullptr, path.data(), &chars) != ERROR_SUCCESS)
        return std::wstring();
    return path.data();
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Removes the classes whose server is this module. A class registered to another file belongs
// to someone else (the real filter, installed by its maker) and stays.
HRESULT UnregisterOwnClasses(const ServerClass* classes, size_t count, const std::wstring& modulePath)
{
    HRESULT result = S_OK;
    for (size_t i = 0; i < count; ++i) {
        const std::wstring classKey = ClassKeyPath(*classes[i].classId);
        if (!SamePath(RegisteredServer(classKey), modulePath))
            continue;
        const LONG deleted = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey.c_str());
        if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND)
            result = SELFREG_E_CLASS;
    }
    return result;
}

} // namespace

HRESULT RegisterServerClasses(const ServerClass* classes, size_t count)
{
    const std::wstring modulePath = vantor::ModuleFilePath(server_module::Instance());
    if (modulePath.empty())
        return SELFREG_E_CLASS;
    for (size_t i = 0; i < count; ++i) {
        const std::wstring classKey = ClassKeyPath(*classes[i].classId);
        const std::wstring serverKey = classKey + L"\\InprocServer32";
        if (!SetText(classKey, nullptr, classes[i].name) || !SetText(serverKey, nullptr, modulePath)
            || !SetText(serverKey, L"ThreadingModel", L"Both")) {
            UnregisterOwnClasses(classes, count, modulePath);
            return SELFREG_E_CLASS;
        }
    }
    return S_OK;
}

HRESULT UnregisterServerClasses(const ServerClass* classes, size_t count)
{
    const std::wstring modulePath = vantor::ModuleFilePath(server_module::Instance());
    if (modulePath.empty())
        return SELFREG_E_CLASS;
    return UnregisterOwnClasses(classes, count, modulePath);
}
