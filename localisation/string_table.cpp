#include "localisation/string_table.h"

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

    const size_t blockUnits = blockBytes / sizeof(WORD);
    size_t position = 0;
    for (UINT entry = 0; entry < id % StringsPerBlock; ++entry) {
        if (position >= blockUnits || blockUnits - position - 1 < block[position])
            return false;
        position += 1 + block[position];
    }
    if (position >= blockUnits)
        return false;
    const size_t length = block[position];
    if (length == 0 || blockUnits - position - 1 < length)
        return false;
    text.assign(reinterpret_cast<const wchar_t*>(block + position + 1), length);
    return true;
}
