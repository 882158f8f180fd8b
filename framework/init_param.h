// Per-component options: typed key/value sets that the program's wiring fills right after a
// component's registration and that the component reads, with a default, when it needs them.
#pragma once

#include <map>
#include <string>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

struct InterfaceInfo;

class IOxInterfaceInitParam {
public:
    virtual ~IOxInterfaceInitParam() = default;

    // Getters answer the stored value of that type, else the default (an empty handle).
    virtual std::wstring GetStringParam(const std::string& key, const std::wstring& defaultValue) = 0;
    virtual boost::shared_ptr<void> GetSharedParam(const std::string& key) = 0;
    virtual int GetIntParam(const std::string& key, int defaultValue) = 0;
    // Setters store (last write wins) only while the set's component registration is alive.
    virtual void SetStringParam(const std::string& key, const std::wstring& value) = 0;
    virtual void SetSharedParam(const std::string& key, const boost::shared_ptr<void>& value) = 0;
    virtual void SetIntParam(const std::string& key, int value) = 0;
};

class OxInterfaceInitParam final : public IOxInterfaceInitParam {
public:
    // An empty owner makes a detached set.
    explicit OxInterfaceInitParam(const boost::weak_ptr<InterfaceInfo>& owner);

    std::wstring GetStringParam(const std::string& key, const std::wstring& defaultValue) override;
    boost::shared_ptr<void> GetSharedParam(const std::string& key) override;
    int GetIntParam(const std::string& key, int defaultValue) override;
    void SetStringParam(const std::string& key, const std::wstring& value) override;
    void SetSharedParam(const std::string& key, const boost::shared_ptr<void>& value) override;
    void SetIntParam(const std::string& key, int value) override;

private:
    template <class Map>
    void Store(Map& map, const std::string& key, const typename Map::mapped_type& value);

    std::map<std::string, int> intParams;
    std::map<std::string, boost::shared_ptr<void>> sharedParams;
    std::map<std::string, std::wstring> stringParams;
    boost::weak_ptr<InterfaceInfo> owner;
};
