// Registration of an in-process server's classes under HKEY_CLASSES_ROOT\CLSID.
#pragma once

#include <windows.h>

struct ServerClass {
    const CLSID* classId;
    const wchar_t* name;
};

// Registers each class with this module as its in-process server.
HRESULT RegisterServerClasses(const ServerClass* classes, size_t count);
// Removes the keys of each class, with everything below them.
HRESULT UnregisterServerClasses(const ServerClass* classes, size_t count);
