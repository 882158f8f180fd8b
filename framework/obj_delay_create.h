// The standard creator of a component class T: builds T from the registry on the first request.
#pragma once

#include "framework/query_interface.h"

template <class T>
struct OxObjDelayCreate {
    // T derives from its interface alone, so the type-erased pointer is the interface pointer;
    // the handle is made with T's own type, so T's destructor runs on release.
    OxComponentHandle operator()(IOxQueryInterface* queryInterface) const
    {
        return boost::shared_ptr<T>(new T(queryInterface));
    }
};
