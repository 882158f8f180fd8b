// The registry of named components as every component sees it.
#pragma once

#include <string>
#include <vector>

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

class IOxQueryInterface;
class IOxInterfaceInitParam;

// A component in type-erased form; the stored pointer is the component's interface pointer.
typedef boost::shared_ptr<void> OxComponentHandle;
typedef boost::weak_ptr<void> OxWeakComponentHandle;

// The handle of a component object: it owns the object, so the object's own destructor runs on
// release, and stores the pointer to its interface (T::Interface), wherever that sits in T.
template <class T>
OxComponentHandle OxComponentHandleOf(const boost::shared_ptr<T>& component)
{
    return OxComponentHandle(component, static_cast<typename T::Interface*>(component.get()));
}

// Builds a component, given the registry it may ask for its own dependencies.
typedef boost::function<OxComponentHandle(IOxQueryInterface*)> ComponentCreator;

// Name keys of the components a component depends on, in registration order.
typedef std::vector<std::string> DependencyList;

class IOxQueryInterface {
public:
    // Registers a creator under a name key; nothing is built until the first request. An empty
    // dependency name means none. False when refused: the name is taken by a creator or a live
    // instance, or the component would depend on itself.
    virtual bool RegisterCreator(const std::string& name, const ComponentCreator& creator, const std::string& dependsOn);
    virtual bool RegisterCreator(const std::string& name, const ComponentCreator& creator, const DependencyList& dependsOn) = 0;
    // Registers an existing object, observed but not owned; its name may be registered again once
    // the object has died.
    virtual bool RegisterInstance(const std::string& name, const OxComponentHandle& instance, const std::string& dependsOn);
    virtual bool RegisterInstance(const std::string& name, const OxComponentHandle& instance, const DependencyList& dependsOn) = 0;
    // The component, built on first request; empty when the name is not registered. The usage
    // tag tells who asks and does not change the answer.
    virtual OxWeakComponentHandle GetInterface(const std::string& name, const std::string& usage) = 0;
    // The component's init parameters; never empty. For a name that is not registered the set is
    // detached: it ignores writes and answers defaults.
    virtual boost::shared_ptr<IOxInterfaceInitParam> GetInitParam(const std::string& name) = 0;

protected:
    ~IOxQueryInterface() = default;
};
