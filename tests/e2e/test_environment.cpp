#include "test_environment.h"

#include "platform/scoped_resource.h"
#include "program_run.h"

const wchar_t StandInFilter[] = L"vantor_source_filter.dll";
const wchar_t MisbehavingFilter[] = L"misbehaving_filter.dll";
const wchar_t FilterSettingsKey[] = L"Software\\ZELK Soft\\ZELK Vantor Source Filter";

namespace {

bool CallServerEntry(const wchar_t* fileName, const char* entry)
{
    const vantor::ScopedLibrary library(::LoadLibraryW(BesideDriver(fileName).c_str()));
    if (!library)
        return false;
    typedef HRESULT(STDAPICALLTYPE * ServerEntry)();
    const ServerEntry call = reinterpret_cast<ServerEntry>(reinterpret_cast<void*>(::GetProcAddress(library.Get(), entry)));
    return call != nullptr && SUCCEEDED(call());
}

} // namespace

bool RegisterServer(const wchar_t* fileName)
{
    return CallServerEntry(fileName, "DllRegisterServer");
}

bool UnregisterServer(const wchar_t* fileName)
{
    return CallServerEntry(fileName, "DllUnregisterServer");
}

void ChooseFixtureBehaviour(const std::wstring& behaviour)
{
    ::SetEnvironmentVariableW(L"VANTOR_FIXTURE_FILTER", behaviour.empty() ? nullptr : behaviour.c_str());
}

void DeleteFilterSettings()
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, FilterSettingsKey);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, FilterSettingsKey);
}

bool ReadFilterSetting(const wchar_t* name, DWORD* value)
{
    DWORD size = sizeof(*value);
    return ::RegGetValueW(HKEY_CURRENT_USER, FilterSettingsKey, name, RRF_RT_REG_DWORD, nullptr, value, &size) == ERROR_SUCCESS;
}
