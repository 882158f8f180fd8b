// Registration by type: a component is registered under the name key of the interface it
// implements, depends on components named by their interfaces, and has its init parameters
// under the same key, so that no key is written as text and no class can be registered under
// another interface's key.
#pragma once

#include <type_traits>

#include <boost/shared_ptr.hpp>

#include "framework/init_param.h"
#include "framework/interface_ptr.h"
#include "framework/obj_delay_create.h"

// The name keys of the components of these interfaces, in this order.
template <class... Interfaces>
DependencyList DependsOn()
{
    return DependencyList{NameKeyOf<Interfaces>()...};
}

// Registers T, built from the registry on the first request (see RegisterCreator).
template <class T>
bool RegisterComponent(IOxQueryInterface* registry, const DependencyList& dependsOn)
{
    static_assert(std::is_base_of<typename T::Interface, T>::value, "a component implements its interface");
    return registry->RegisterCreator(NameKeyOf<T>(), OxObjDelayCreate<T>(), dependsOn);
}

// Registers an object built by the caller; the registry owns it from the first request on.
template <class T>
bool RegisterBuiltComponent(IOxQueryInterface* registry, const boost::shared_ptr<T>& component,
                            const DependencyList& dependsOn)
{
    return registry->RegisterCreator(NameKeyOf<T>(), OxHandOut<T>{component}, dependsOn);
}

// Registers an object that the caller keeps owning (see RegisterInstance).
template <class T>
bool RegisterComponentInstance(IOxQueryInterface* registry, const boost::shared_ptr<T>& instance,
                               const DependencyList& dependsOn)
{
    return registry->RegisterInstance(NameKeyOf<T>(), OxComponentHandleOf(instance), dependsOn);
}

// The init parameters of the component of kind C (see GetInitParam).
template <class C>
boost::shared_ptr<IOxInterfaceInitParam> InitParamsOf(IOxQueryInterface* registry)
{
    return registry->GetInitParam(NameKeyOf<C>());
}

// Builds the registered component of kind C at once instead of at its first request, and hands
// it to the registry, which keeps it until teardown.
template <class C>
void BuildComponentNow(IOxQueryInterface* registry)
{
    registry->GetInterface(NameKeyOf<C>(), "GlobalUse");
}
