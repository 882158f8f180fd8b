#include "platform/module_path.h"

#include <vector>

namespace vantor {

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

std::wstring ProgramFolder(HMODULE module)
{
    const std::wstring program = ModuleFilePath(module);
    if (program.empty())
        return std::wstring();
    // Also for paths without a drive letter (\\server\share\...): the folder is the path up to
    // its last separator.
    const size_t separator = program.find_last_of(L"\\/");
    return separator == std::wstring::npos ? program + L"\\" : program.substr(0, separator + 1);
}

std::wstring ResolveInProgramFolder(HMODULE module, const std::wstring& name)
{
    const bool hasDrive = name.size() >= 2 && name[1] == L':';
    return hasDrive ? name : ProgramFolder(module) + name;
}

} // namespace vantor
