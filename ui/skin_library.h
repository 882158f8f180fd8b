// A skin library, loaded without system error boxes, with the holder object it hands out.
#pragma once

#include <string>

#include "platform/scoped_resource.h"
#include "ui/skin_interfaces.h"

class SkinLibrary {
public:
    SkinLibrary(const std::wstring& path, IOxQueryInterface* programMgr);
    ~SkinLibrary() { Unload(); }
    SkinLibrary(const SkinLibrary&) = delete;
    SkinLibrary& operator=(const SkinLibrary&) = delete;

    // Loads the library and asks it for a holder of that kind; false leaves nothing to call
    // (a library without "ox_get_interface" stays mapped until it is unloaded).
    bool Load(int kind);
    // "ox_free", then the library goes.
    void Unload();

    bool IsLoaded() const { return holder != nullptr; }
    void* Holder() const { return holder; }

private:
    vantor::ScopedLibrary module;
    void* holder = nullptr;
    std::wstring path;
    IOxQueryInterface* programMgr;
};
