// The registry as one component sees it: the component asks for others as itself (its own name
// key is the usage tag) and reads its own init parameters, with no key to retype.
#pragma once

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include "framework/init_param.h"
#include "framework/interface_ptr.h"

// Self is the component's interface or its class.
template <class Self>
class OxComponentView {
public:
    // registry may be null: every component is then its null class, every parameter its default.
    explicit OxComponentView(IOxQueryInterface* registry) : registry(registry) {}

    // Never empty (see OxInterfacePtr).
    template <class I>
    boost::shared_ptr<I> Get() const
    {
        return OxInterfacePtr<I>(registry, NameKeyOf<Self>()).Get();
    }

    // Never empty.
    boost::shared_ptr<IOxInterfaceInitParam> InitParams() const
    {
        if (registry == nullptr)
            return boost::make_shared<OxInterfaceInitParam>(boost::weak_ptr<InterfaceInfo>());
        return registry->GetInitParam(NameKeyOf<Self>());
    }

private:
    IOxQueryInterface* registry;
};
