// The creators of a component class T: one builds T from the registry on the first request,
// the other hands out an object built beforehand.
#pragma once

#include "framework/query_interface.h"

template <class T>
struct OxObjDelayCreate {
    OxComponentHandle operator()(IOxQueryInterface* queryInterface) const
    {
        return OxComponentHandleOf(boost::shared_ptr<T>(new T(queryInterface)));
    }
};

template <class T>
struct OxHandOut {
    boost::shared_ptr<T> component;

    OxComponentHandle operator()(IOxQueryInterface*) const { return OxComponentHandleOf(component); }
};
