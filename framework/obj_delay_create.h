// The standard creator of a component class T: builds T from the registry on the first request.
#pragma once

#include "framework/query_interface.h"

template <class T>
struct OxObjDelayCreate {
    OxComponentHandle operator()(IOxQueryInterface* queryInterface) const
    {
        return OxComponentHandleOf(boost::shared_ptr<T>(new T(queryInterface)));
    }
};
