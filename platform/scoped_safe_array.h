// An owned SAFEARRAY, destroyed exactly once with SafeArrayDestroy, which also clears its
// elements: a VARIANT, BSTR or interface put into the array belongs to the array from then on.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include "platform/scoped_resource.h"

namespace vantor {

struct SafeArrayTraits : NullMeansNone<SAFEARRAY*> {
    static void Close(SAFEARRAY* array) { ::SafeArrayDestroy(array); }
};

typedef ScopedResource<SafeArrayTraits> ScopedSafeArray;

} // namespace vantor
