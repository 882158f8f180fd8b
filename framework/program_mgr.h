// The program manager: the registry of named components. Components are built lazily on the
// first request, released dependents first when the manager is destroyed, and every request for a
// component that is not there is answered by its null class (see OxInterfacePtr).
#pragma once

#include <map>
#include <set>

#include "framework/query_interface.h"

// What the manager knows of one registered name.
struct InterfaceInfo {
    ComponentCreator creator;             // empty for an instance registration
    OxComponentHandle instance;           // the component built by creator, once requested
    OxWeakComponentHandle weakInstance;   // the object of an instance registration
    bool delayCreate = false;             // true for a creator registration
    DependencyList dependsOn;
};

class OxProgramMgr : public IOxQueryInterface {
public:
    OxProgramMgr() = default;
    OxProgramMgr(const OxProgramMgr&) = delete;
    OxProgramMgr& operator=(const OxProgramMgr&) = delete;

    using IOxQueryInterface::RegisterCreator;
    using IOxQueryInterface::RegisterInstance;
    bool RegisterCreator(const std::string& name, const ComponentCreator& creator, const DependencyList& dependsOn) override;
    bool RegisterInstance(const std::string& name, const OxComponentHandle& instance, const DependencyList& dependsOn) override;
    OxWeakComponentHandle GetInterface(const std::string& name, const std::string& usage) override;
    boost::shared_ptr<IOxInterfaceInitParam> GetInitParam(const std::string& name) override;

    // Releases the built components, each before the components it depends on.
    virtual ~OxProgramMgr();

    // The order in which the destructor releases the components built so far.
    std::vector<std::string> GetTeardownOrder() const;

private:
    bool MayRegister(const std::string& name, const DependencyList& dependsOn) const;
    void AddTransitiveDependencies(const DependencyList& names, std::set<std::string>& result) const;

    std::map<std::string, boost::shared_ptr<InterfaceInfo>> interfaces;
    std::map<std::string, boost::shared_ptr<IOxInterfaceInitParam>> initParams;
};

// The program's manager while it is published by the program entry; null before and after.
IOxQueryInterface* GetProgramMgr();

// Publishes a manager through GetProgramMgr for the lifetime of this object.
class ProgramMgrPublication {
public:
    explicit ProgramMgrPublication(IOxQueryInterface* manager);
    ~ProgramMgrPublication();
    ProgramMgrPublication(const ProgramMgrPublication&) = delete;
    ProgramMgrPublication& operator=(const ProgramMgrPublication&) = delete;
};
