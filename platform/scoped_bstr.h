// An owned BSTR, freed exactly once with SysFreeString, in the manner of Chromium's ScopedBstr.
// A null BSTR is the empty string and needs no freeing.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include "platform/scoped_resource.h"

namespace vantor {

struct BstrTraits : NullMeansNone<BSTR> {
    static void Close(BSTR text) { ::SysFreeString(text); }
};

// Made with ScopedBstr(::SysAllocString(text)); holds null when there was no memory.
typedef ScopedResource<BstrTraits> ScopedBstr;

} // namespace vantor
