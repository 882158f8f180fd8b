#include "ui/skin_library.h"

namespace {

// No "cannot find" boxes for a library that is missing or broken.
class QuietErrorMode {
public:
    QuietErrorMode() : previous(::SetErrorMode(static_cast<UINT>(-1))) {}
    ~QuietErrorMode() { ::SetErrorMode(previous); }
    QuietErrorMode(const QuietErrorMode&) = delete;
    QuietErrorMode& operator=(const QuietErrorMode&) = delete;

private:
    UINT previous;
};

} // namespace

SkinLibrary::SkinLibrary(const std::wstring& path, IOxQueryInterface* programMgr)
    : path(path), programMgr(programMgr)
{
}

bool SkinLibrary::Load(int kind)
{
    Unload();
    {
        const QuietErrorMode quiet;
        module.Reset(::LoadLibraryW(path.c_str()));
    }
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
