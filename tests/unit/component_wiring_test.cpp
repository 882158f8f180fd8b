// What the program's wiring gives, checked against the types rather than against its lines:
// each component class is registered once, under the key of the interface it implements, and
// resolves to itself with its dependencies and init parameters.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "framework/component_registration.h"
#include "framework/interfaces/check_for_update.h"
#include "framework/ox_event_proxy.h"
#include "framework/program_mgr.h"
#include "localisation/ox_multi_language.h"
#include "services/ox_base_program_stuff.h"
#include "services/ox_multi_monitor.h"
#include "services/ox_our_products.h"
#include "services/ox_program_settings.h"
#include "shell/component_wiring.h"
#include "shell/ox_program_info.h"
#include "ui/ox_ui_mgr.h"
#include "ui/ox_ui_update.h"
#include "version.h"

namespace {

template <class... Classes>
struct TypeList {};

// Every interface of framework/interfaces with the class of this program that implements it.
// The update check is bound but this program has none.
typedef TypeList<OxProgramInfo, OxBaseProgramStuff, OxProgramSettings, OxEventProxy, OxUiUpdate, OxMultiMonitor, OxUiMgr,
                 OxMultiLanguage, OxOurProducts>
    ProgramComponents;
typedef TypeList<IOxCheckForUpdate> AbsentComponents;

// The registry as the wiring and the components see it: registrations and requests are written
// down, then handed to a real manager. Creators are handed this registry, so that the
// components' own requests pass here too.
class ObservingRegistry : public IOxQueryInterface {
public:
    struct Registration {
        std::string name;
        const std::type_info* creator;  // the creator's class; void for an instance
        DependencyList dependsOn;
        bool accepted;
    };

    struct Request {
        std::string name;
        std::string usage;
    };

    using IOxQueryInterface::RegisterCreator;
    using IOxQueryInterface::RegisterInstance;
    bool RegisterCreator(const std::string& name, const ComponentCreator& creator, const DependencyList& dependsOn) override
    {
        const bool accepted = manager.RegisterCreator(
            name, [this, creator](IOxQueryInterface*) { return creator ? creator(this) : OxComponentHandle(); }, dependsOn);
        registrations.push_back(Registration{name, &creator.target_type(), dependsOn, accepted});
        return accepted;
    }
    bool RegisterInstance(const std::string& name, const OxComponentHandle& instance, const DependencyList& dependsOn) override
    {
        const bool accepted = manager.RegisterInstance(name, instance, dependsOn);
        registrations.push_back(Registration{name, &typeid(void), dependsOn, accepted});
        return accepted;
    }
    OxWeakComponentHandle GetInterface(const std::string& name, const std::string& usage) override
    {
        requests.push_back(Request{name, usage});
        return manager.GetInterface(name, usage);
    }
    boost::shared_ptr<IOxInterfaceInitParam> GetInitParam(const std::string& name) override
    {
        return manager.GetInitParam(name);
    }

    std::vector<const Registration*> RegistrationsOf(const std::string& name) const
    {
        std::vector<const Registration*> found;
        for (const Registration& registration : registrations) {
            if (registration.name == name)
                found.push_back(&registration);
        }
        return found;
    }

    // The dependencies of a registered name and theirs.
    std::set<std::string> DependenciesOf(const std::string& name) const
    {
        std::set<std::string> result;
        std::vector<std::string> pending(1, name);
        while (!pending.empty()) {
            const std::string next = pending.back();
            pending.pop_back();
            for (const Registration* registration : RegistrationsOf(next)) {
                for (const std::string& dependency : registration->dependsOn) {
                    if (result.insert(dependency).second)
                        pending.push_back(dependency);
                }
            }
        }
        return result;
    }

    std::vector<Registration> registrations;
    std::vector<Request> requests;
    // Last, so released first: components that ask while they go still find the records.
    OxProgramMgr manager;
};

// The program wired on an observing registry.
class ComponentWiringTest : public testing::Test {
protected:
    ComponentWiringTest() : publication(&registry)
    {
        RegisterComponents(::GetModuleHandleW(nullptr));
        // No packs, so that building the languages leaves the program's settings alone.
        InitParamsOf<IOxMultiLanguage>(&registry)->SetIntParam("nodlls", 1);
    }

    template <class Component>
    static bool BuildsOnly(const ObservingRegistry::Registration& registration)
    {
        return *registration.creator == typeid(OxObjDelayCreate<Component>) || *registration.creator == typeid(OxHandOut<Component>);
    }

    // Registered once, by a creator of Component, under its interface's key; then, and only
    // then (before, the cast could be to the wrong class), resolved through that interface.
    template <class Component>
    void ExpectRegisteredAndResolvedAsItself()
    {
        typedef typename Component::Interface Interface;
        const std::string key = NameKeyOf<Component>();
        const std::vector<const ObservingRegistry::Registration*> found = registry.RegistrationsOf(key);
        ASSERT_EQ(1u, found.size()) << key << ": registered once";
        EXPECT_TRUE(found[0]->accepted) << key;
        ASSERT_TRUE(BuildsOnly<Component>(*found[0]))
            << key << " is built by " << found[0]->creator->name() << ", not by a creator of " << typeid(Component).name();
        const boost::shared_ptr<Interface> resolved = OxInterfacePtr<Interface>(&registry, "GlobalUse").Get();
        EXPECT_NE(nullptr, dynamic_cast<Component*>(resolved.get())) << key << " resolves to " << typeid(*resolved).name();
        EXPECT_EQ(resolved, OxInterfacePtr<Interface>(&registry, "GlobalUse").Get()) << key << ": one object";
    }

    template <class Interface>
    void ExpectAbsent()
    {
        const std::string key = NameKeyOf<Interface>();
        EXPECT_TRUE(registry.RegistrationsOf(key).empty()) << key;
        const boost::shared_ptr<Interface> resolved = OxInterfacePtr<Interface>(&registry, "GlobalUse").Get();
        EXPECT_NE(nullptr, dynamic_cast<typename OxInterfaceBinding<Interface>::Null*>(resolved.get())) << key;
    }

    template <class... Components>
    void ExpectEach(TypeList<Components...>)
    {
        (ExpectRegisteredAndResolvedAsItself<Components>(), ...);
    }

    template <class... Interfaces>
    void ExpectEachAbsent(TypeList<Interfaces...>)
    {
        (ExpectAbsent<Interfaces>(), ...);
    }

    template <class... Components>
    static std::set<std::string> KeysOf(TypeList<Components...>)
    {
        return std::set<std::string>{NameKeyOf<Components>()...};
    }

    ObservingRegistry registry;
    ProgramMgrPublication publication;
};

} // namespace

TEST_F(ComponentWiringTest, RegistersEachComponentOnceUnderItsInterfacesKeyAndResolvesItToItself)
{
    ExpectEach(ProgramComponents());
    ExpectEachAbsent(AbsentComponents());

    const std::set<std::string> known = KeysOf(ProgramComponents());
    for (const ObservingRegistry::Registration& registration : registry.registrations)
        EXPECT_EQ(1u, known.count(registration.name)) << registration.name << " is no component of this program";
}

TEST_F(ComponentWiringTest, EachComponentDependsOnComponentsThatAreThereAndAsksOnlyForThem)
{
    const std::set<std::string> known = KeysOf(ProgramComponents());
    for (const ObservingRegistry::Registration& registration : registry.registrations) {
        for (const std::string& dependency : registration.dependsOn)
            EXPECT_EQ(1u, known.count(dependency)) << registration.name << " depends on " << dependency;
    }

    // Building every component makes each ask for what it needs from the start; each asks as
    // itself, so the usage tag tells who asked.
    registry.requests.clear();
    for (const std::string& key : known)
        registry.GetInterface(key, "GlobalUse");
    size_t askedByComponents = 0;
    for (const ObservingRegistry::Request& request : registry.requests) {
        if (request.usage == "GlobalUse")
            continue;
        ++askedByComponents;
        EXPECT_EQ(1u, known.count(request.usage)) << request.usage << " asks as no component";
        EXPECT_EQ(1u, registry.DependenciesOf(request.usage).count(request.name))
            << request.usage << " asks for " << request.name << " but does not depend on it";
    }
    EXPECT_NE(0u, askedByComponents) << "the components ask for others while they are built";
}

TEST_F(ComponentWiringTest, GivesTheComponentsTheInitParametersOfThisProgram)
{
    struct IntParameter {
        const char* owner;
        const char* key;
        int value;  // Unset: left at the component's default
    };
    const int Unset = -1;
    const IntParameter expected[] = {
        {NameKeyOf<IOxBaseProgramStuff>(), "MultiInstanceAllowed", 0},  // one instance
        {NameKeyOf<IOxUiMgr>(), "UseSkins", 0},                         // no skin libraries...
        {NameKeyOf<IOxUiMgr>(), "UseNative", 1},                        // ...but the native look
        {NameKeyOf<IOxProgramSettings>(), "CurrentUser", Unset},        // the settings of the user
        {NameKeyOf<IOxMultiMonitor>(), "UseMessageWnd", Unset},         // monitor changes followed
        {NameKeyOf<IOxUiUpdate>(), "DynamicMenuAccel", Unset},          // menus as their resources give them
    };
    for (const IntParameter& parameter : expected)
        EXPECT_EQ(parameter.value, registry.GetInitParam(parameter.owner)->GetIntParam(parameter.key, Unset))
            << parameter.owner << " " << parameter.key;
}

TEST_F(ComponentWiringTest, BuildsOnlyTheIdentityWhileWiringAndTheEventProxyOnTheMainThread)
{
    EXPECT_EQ((std::vector<std::string>{NameKeyOf<IOxProgramInfo>()}), registry.manager.GetTeardownOrder());
    const boost::shared_ptr<IOxProgramInfo> identity = OxInterfacePtr<IOxProgramInfo>(&registry, "GlobalUse").Get();
    EXPECT_EQ(::GetModuleHandleW(nullptr), identity->GetModuleInstance());
    EXPECT_EQ(L"ZELK Vantor Source", identity->GetFullName());
    EXPECT_STREQ(L"ZELK Vantor Source", identity->GetProductName());
    EXPECT_STREQ(L"ZELKVS", identity->GetShortName());
    EXPECT_STREQ(L"ZELK Soft", identity->GetCompanyName());
    EXPECT_STREQ(VANTOR_VERSION_TEXT, identity->GetVersionText());
    EXPECT_EQ(VANTOR_VERSION_MAJOR, identity->GetMajorVersion());
    EXPECT_EQ(VANTOR_VERSION_MINOR, identity->GetMinorVersion());
    EXPECT_EQ(VANTOR_VERSION_PATCH, identity->GetBuildNumber());

    BuildMainThreadComponents(&registry);
    EXPECT_EQ((std::vector<std::string>{NameKeyOf<IOxEventProxy>(), NameKeyOf<IOxProgramInfo>()}),
              registry.manager.GetTeardownOrder());
}
