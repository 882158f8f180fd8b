#include "framework/query_interface.h"

namespace {

DependencyList SingleDependency(const std::string& dependsOn)
{
    return dependsOn.empty() ? DependencyList() : DependencyList(1, dependsOn);
}

} // namespace

bool IOxQueryInterface::RegisterCreator(const std::string& name, const ComponentCreator& creator, const std::string& dependsOn)
{
    return RegisterCreator(name, creator, SingleDependency(dependsOn));
}

bool IOxQueryInterface::RegisterInstance(const std::string& name, const OxComponentHandle& instance, const std::string& dependsOn)
{
    return RegisterInstance(name, instance, SingleDependency(dependsOn));
}
