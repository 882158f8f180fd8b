// Registration of an in-process server's classes under HKEY_CLASSES_ROOT\CLSID.
#pragma once

#include <windows.h>

// Makes a new object and queries it for iid.
typedef HRESULT (*ObjectCreator)(REFIID iid, void** object);

struct ServerClass {
    const CLSID* classId;
    const wchar_t* name;
    ObjectCreator create;
};

// The classes this library serves; each library of the server defines its own table.
extern const ServerClass ServerClasses[];
extern const size_t ServerClassCount;

// Registers each class with this module as its in-process server.
HRESULT RegisterServerClasses(const ServerClass* classes, size_t count);
// Removes the keys of each class whose in-process server is this module, with everything below
// them; a class that names another file is left to its owner.
HRESULT UnregisterServerClasses(const ServerClass* classes, size_t count);
