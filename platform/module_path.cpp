#include "platform/module_path.h"

#include <vector>

namespace {

// Long enough for "\\?\" paths of any depth a user makes.
const DWORD ModulePathLength = 10240;

} // namespace

std::wstring ModuleFilePath(HMODULE module)
{
    std::vector<wchar_t> path(ModulePathLength, L'\0');
    const DWORD length = ::GetModuleFileNameW(module, path.data(), ModulePathLength);
    if (length == 0 || length >= ModulePathLength)
        return std::wstring();
    return std::wstring(path.data(), length);
}
