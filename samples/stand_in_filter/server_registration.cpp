#include "server_registration.h"

#include <string>

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
    CRegKey key;
    return key.Create(HKEY_CLASSES_ROOT, keyPath.c_str(), nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE) == ERROR_SUCCESS
        && key.SetStringValue(valueName, value.c_str()) == ERROR_SUCCESS;
}

} // namespace

HRESULT RegisterServerClasses(const ServerClass* classes, size_t count)
{
    const std::wstring modulePath = ModuleFilePath(server_module::Instance());
    if (modulePath.empty())
        return SELFREG_E_CLASS;
    for (size_t i = 0; i < count; ++i) {
        const std::wstring classKey = ClassKeyPath(*classes[i].classId);
        const std::wstring serverKey = classKey + L"\\InprocServer32";
        if (!SetText(classKey, nullptr, classes[i].name) || !SetText(serverKey, nullptr, modulePath)
            || !SetText(serverKey, L"ThreadingModel", L"Both")) {
            UnregisterServerClasses(classes, count);
            return SELFREG_E_CLASS;
        }
    }
    return S_OK;
}

HRESULT UnregisterServerClasses(const ServerClass* classes, size_t count)
{
    HRESULT result = S_OK;
    for (size_t i = 0; i < count; ++i) {
        const LONG deleted = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKeyPath(*classes[i].classId).c_str());
        if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND)
            result = SELFREG_E_CLASS;
    }
    return result;
}
