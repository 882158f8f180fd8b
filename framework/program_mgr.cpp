#include "framework/program_mgr.h"

#include <algorithm>

#include "framework/init_param.h"

namespace {

IOxQueryInterface* publishedProgramMgr = nullptr;

// One component in the release order, with everything it depends on.
struct TeardownEntry {
    std::string name;
    std::set<std::string> dependencies;
};

} // namespace

bool OxProgramMgr::RegisterCreator(const std::string& name, const ComponentCreator& creator, const DependencyList& dependsOn)
{
    if (!MayRegister(name, dependsOn))
        return false;
    const boost::shared_ptr<InterfaceInfo> info(new InterfaceInfo);
    info->delayCreate = true;
    info->creator = creator;
    info->dependsOn = dependsOn;
    interfaces[name] = info;
    return true;
}

bool OxProgramMgr::RegisterInstance(const std::string& name, const OxComponentHandle& instance, const DependencyList& dependsOn)
{
    if (!MayRegister(name, dependsOn))
        return false;
    const boost::shared_ptr<InterfaceInfo> info(new InterfaceInfo);
    info->weakInstance = instance;
    info->dependsOn = dependsOn;
    interfaces[name] = info;
    return true;
}

bool OxProgramMgr::MayRegister(const std::string& name, const DependencyList& dependsOn) const
{
    const auto existing = interfaces.find(name);
    if (existing != interfaces.end()) {
        if (existing->second->delayCreate || !existing->second->weakInstance.expired())
            return false;
    }
    std::set<std::string> dependencies;
    AddTransitiveDependencies(dependsOn, dependencies);
    return dependencies.count(name) == 0;
}

void OxProgramMgr::AddTransitiveDependencies(const DependencyList& names, std::set<std::string>& result) const
{
    // Registration refuses every cycle, so this recursion ends.
    for (const std::string& name : names) {
        result.insert(name);
        const auto registered = interfaces.find(name);
        if (registered != interfaces.end())
            AddTransitiveDependencies(registered->second->dependsOn, result);
    }
}

OxWeakComponentHandle OxProgramMgr::GetInterface(const std::string& name, const std::string&)
{
    const auto found = interfaces.find(name);
    if (found == interfaces.end())
        return OxWeakComponentHandle();
    // Held here: a creator may register further components while it runs.
    const boost::shared_ptr<InterfaceInfo> info = found->second;
    if (!info->delayCreate)
        return info->weakInstance;
    if (!info->instance && info->creator)
        info->instance = info->creator(this);
    return info->instance;
}

boost::shared_ptr<IOxInterfaceInitParam> OxProgramMgr::GetInitParam(const std::string& name)
{
    const auto registered = interfaces.find(name);
    if (registered == interfaces.end())
        return boost::shared_ptr<IOxInterfaceInitParam>(new OxInterfaceInitParam(boost::weak_ptr<InterfaceInfo>()));
    boost::shared_ptr<IOxInterfaceInitParam>& slot = initParams[name];
    if (!slot)
        slot.reset(new OxInterfaceInitParam(registered->second));
    return slot;
}

std::vector<std::string> OxProgramMgr::GetTeardownOrder() const
{
    std::vector<TeardownEntry> sequence;
    for (const auto& registered : interfaces) {
        const InterfaceInfo& info = *registered.second;
        if (!info.delayCreate || !info.instance)
            continue;
        TeardownEntry entry;
        entry.name = registered.first;
        AddTransitiveDependencies(info.dependsOn, entry.dependencies);
        // Before the first component already placed that it depends on.
        const auto position = std::find_if(sequence.begin(), sequence.end(), [&entry](const TeardownEntry& placed) {
            return entry.dependencies.count(placed.name) != 0;
        });
        sequence.insert(position, entry);
    }
    std::vector<std::string> order;
    for (const TeardownEntry& entry : sequence)
        order.push_back(entry.name);
    return order;
}

OxProgramMgr::~OxProgramMgr()
{
    for (const std::string& name : GetTeardownOrder()) {
        const auto found = interfaces.find(name);
        if (found != interfaces.end())
            found->second->instance.reset();
    }
    initParams.clear();
    interfaces.clear();
}

IOxQueryInterface* GetProgramMgr()
{
    return publishedProgramMgr;
}

ProgramMgrPublication::ProgramMgrPublication(IOxQueryInterface* manager)
{
    publishedProgramMgr = manager;
}

ProgramMgrPublication::~ProgramMgrPublication()
{
    publishedProgramMgr = nullptr;
}
