#include "framework/init_param.h"

#include "framework/program_mgr.h"

namespace {

template <class Map>
typename Map::mapped_type Find(const Map& map, const std::string& key, const typename Map::mapped_type& defaultValue)
{
    const auto found = map.find(key);
    return found != map.end() ? found->second : defaultValue;
}

} // namespace

OxInterfaceInitParam::OxInterfaceInitParam(const boost::weak_ptr<InterfaceInfo>& owner)
    : owner(owner)
{
}

std::wstring OxInterfaceInitParam::GetStringParam(const std::string& key, const std::wstring& defaultValue)
{
    return Find(stringParams, key, defaultValue);
}

boost::shared_ptr<void> OxInterfaceInitParam::GetSharedParam(const std::string& key)
{
    return Find(sharedParams, key, boost::shared_ptr<void>());
}

int OxInterfaceInitParam::GetIntParam(const std::string& key, int defaultValue)
{
    return Find(intParams, key, defaultValue);
}

void OxInterfaceInitParam::SetStringParam(const std::string& key, const std::wstring& value)
{
    Store(stringParams, key, value);
}

void OxInterfaceInitParam::SetSharedParam(const std::string& key, const boost::shared_ptr<void>& value)
{
    Store(sharedParams, key, value);
}

void OxInterfaceInitParam::SetIntParam(const std::string& key, int value)
{
    Store(intParams, key, value);
}

template <class Map>
void OxInterfaceInitParam::Store(Map& map, const std::string& key, const typename Map::mapped_type& value)
{
    // A set whose registration is gone (detached, or replaced by a new registration) stays as it is.
    const boost::shared_ptr<InterfaceInfo> lockedOwner = owner.lock();
    if (!lockedOwner)
        return;
    map[key] = value;
}
