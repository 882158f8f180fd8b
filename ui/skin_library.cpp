#include "ui/skin_library.h"

#include "ui/quiet_error_mode.h"

SkinLibrary::SkinLibrary(const std::wstring& path, IOxQueryInterface* programMgr)
    : path(path), programMgr(programMgr)
{
}

bool SkinLibrary::Load(int kind)
{
    Unload();
    // Also while the library starts: what it loads itself may be missing.
    const QuietErrorMode quiet;
    module.Reset(::LoadLibraryW(path.c_str()));
    if (!module)
        return false;
    const SkinGetInterface getInterface =
        reinterpret_cast<SkinGetInterface>(reinterpret_cast<void*>(::GetProcAddress(module.Get(), "ox_get_interface")));
    if (getInterface == nullptr)
        return false;
    holder = getInterface(kind, programMgr);
    return holder != nullptr;
}

void SkinLibrary::Unload()
{
    holder = nullptr;
    if (!module)
        return;
    const SkinFree free = reinterpret_cast<SkinFree>(reinterpret_cast<void*>(::GetProcAddress(module.Get(), "ox_free")));
    if (free != nullptr)
        free();
    module.Reset();
}
