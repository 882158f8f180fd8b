// The typed accessor of a component: asks the registry afresh at every Get and answers with a
// new null object whenever the component is not registered or no longer alive.
#pragma once

#include <type_traits>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include "framework/query_interface.h"

// Binds an interface to its component's name key and its null class; specialised by
// OX_BIND_INTERFACE in each interface's header, the one place where the key is written.
template <class I>
struct OxInterfaceBinding;

#define OX_BIND_INTERFACE(InterfaceType, nameKey, NullClass)                                                  \
    static_assert(std::is_same<InterfaceType::Interface, InterfaceType>::value, "the interface names itself"); \
    static_assert(std::is_base_of<InterfaceType, NullClass>::value, "the null class implements it");          \
    template <>                                                                                             \
    struct OxInterfaceBinding<InterfaceType> {                                                              \
        static const char* Name() { return nameKey; }                                                       \
        typedef NullClass Null;                                                                             \
    }

// The name key of a kind of component. C is its interface or a class that implements it: the
// key is the one bound to C::Interface, so a class whose interface is not bound does not compile.
template <class C>
const char* NameKeyOf()
{
    return OxInterfaceBinding<typename C::Interface>::Name();
}

template <class I>
class OxInterfacePtr {
public:
    // queryInterface may be null (the manager withdrawn): every Get then answers the null class.
    OxInterfacePtr(IOxQueryInterface* queryInterface, const char* usage)
        : name(OxInterfaceBinding<I>::Name()), usage(usage), queryInterface(queryInterface)
    {
    }

    // Never empty.
    boost::shared_ptr<I> Get() const
    {
        boost::shared_ptr<I> component;
        if (queryInterface != nullptr)
            component = boost::static_pointer_cast<I>(queryInterface->GetInterface(name, usage).lock());
        if (!component)
            component = boost::make_shared<typename OxInterfaceBinding<I>::Null>(queryInterface);
        return component;
    }

private:
    std::string name;
    std::string usage;
    IOxQueryInterface* queryInterface;
};
