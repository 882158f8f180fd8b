#include "localisation/string_table.h"

#include "localisation/string_table_block.h"

namespace {

const UINT StringsPerBlock = 16;

} // namespace

bool LoadTableString(HMODULE module, UINT id, std::wstring& text)
{
    const HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id / StringsPerBlock + 1), MAKEINTRESOURCEW(6));
    if (resource == nullptr)
        return false;
    const DWORD blockBytes = ::SizeofResource(module, resource);
    const HGLOBAL loaded = ::LoadResource(module, resource);
    const WORD* const block = loaded != nullptr ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    if (block == nullptr)
        return false;

    size_t start = 0;
    size_t length = 0;
    if (!FindBlockString(block, blockBytes / sizeof(WORD), id % StringsPerBlock, start, length))
        return false;
    text.assign(reinterpret_cast<const wchar_t*>(block + start), length);
    return true;
}
