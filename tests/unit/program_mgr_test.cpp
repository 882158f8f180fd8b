#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "framework/init_param.h"
#include "framework/interfaces/check_for_update.h"
#include "framework/interfaces/program_info.h"
#include "framework/obj_delay_create.h"
#include "framework/program_mgr.h"

namespace {

typedef std::vector<std::string> Log;

// A component that logs its construction and destruction.
struct LoggedComponent {
    LoggedComponent(Log& log, const std::string& name) : log(log), name(name) { log.push_back("+" + name); }
    ~LoggedComponent() { log.push_back("-" + name); }
    Log& log;
    std::string name;
};

ComponentCreator LoggedCreator(Log& log, const std::string& name, int* calls = nullptr)
{
    return [&log, name, calls](IOxQueryInterface*) -> OxComponentHandle {
        if (calls != nullptr)
            ++*calls;
        return boost::make_shared<LoggedComponent>(log, name);
    };
}

struct Registration {
    const char* name;
    DependencyList dependsOn;
};

// The component set of the program, with its dependencies.
const Registration ProgramComponents[] = {
    {"OxProgramInfo", {}},
    {"OxBaseProgramStuff", {"OxProgramInfo", "OxEventProxy"}},
    {"OxProgramSettings", {"OxProgramInfo", "OxMultiMonitor"}},
    {"OxEventProxy", {}},
    {"OxUiUpdate", {}},
    {"OxMultiMonitor", {}},
    {"OxUiMgr", {"OxBaseProgramStuff", "OxProgramSettings", "OxMultiLanguage", "OxProgramInfo"}},
    {"OxMultiLanguage", {"OxProgramSettings", "OxProgramInfo"}},
    {"OxOurProducts", {"OxProgramInfo"}},
};

void RegisterProgramComponents(OxProgramMgr& manager, Log& log)
{
    for (const Registration& registration : ProgramComponents)
        ASSERT_TRUE(manager.RegisterCreator(registration.name, LoggedCreator(log, registration.name), registration.dependsOn));
}

} // namespace

TEST(ProgramMgr, UnknownNamesAnswerNothingAndAddNoEntry)
{
    OxProgramMgr manager;
    for (const char* name : {"", "OxNeverRegistered"}) {
        EXPECT_TRUE(manager.GetInterface(name, "GlobalUse").expired()) << name;
        // A name that was looked up can still be registered: the lookup inserted nothing.
        EXPECT_TRUE(manager.RegisterCreator(name, [](IOxQueryInterface*) { return OxComponentHandle(); }, DependencyList()))
            << name;
    }
}

TEST(ProgramMgr, BuildsAComponentOnItsFirstRequestOnlyAndNeverWhenUnrequested)
{
    Log log;
    int requestedCalls = 0;
    int unrequestedCalls = 0;
    {
        OxProgramMgr manager;
        manager.RegisterCreator("OxRequested", LoggedCreator(log, "OxRequested", &requestedCalls), std::string());
        manager.RegisterCreator("OxUnrequested", LoggedCreator(log, "OxUnrequested", &unrequestedCalls), std::string());
        EXPECT_EQ(0, requestedCalls);
        const OxWeakComponentHandle first = manager.GetInterface("OxRequested", "GlobalUse");
        const OxWeakComponentHandle second = manager.GetInterface("OxRequested", "OxSomeoneElse");
        EXPECT_EQ(1, requestedCalls);
        EXPECT_EQ(first.lock(), second.lock());
    }
    EXPECT_EQ(0, unrequestedCalls);
    EXPECT_EQ((Log{"+OxRequested", "-OxRequested"}), log);
}

TEST(ProgramMgr, AsksACreatorAgainAfterAnEmptyResult)
{
    OxProgramMgr manager;
    int calls = 0;
    manager.RegisterCreator("OxFlaky", [&calls](IOxQueryInterface*) {
        ++calls;
        return calls == 1 ? OxComponentHandle() : OxComponentHandle(boost::make_shared<int>(7));
    }, std::string());
    EXPECT_TRUE(manager.GetInterface("OxFlaky", "GlobalUse").expired());
    EXPECT_FALSE(manager.GetInterface("OxFlaky", "GlobalUse").expired());
    manager.GetInterface("OxFlaky", "GlobalUse");
    EXPECT_EQ(2, calls);
}

TEST(ProgramMgr, RefusesRegistrationsThatTakeANameOrMakeACycle)
{
    struct Step {
        const char* name;
        DependencyList dependsOn;
        bool accepted;
    };
    const Step steps[] = {
        {"OxA", {"OxB"}, true},          // a dependency need not be registered yet
        {"OxB", {"OxA"}, false},         // ... but may not depend back
        {"OxSelf", {"OxSelf"}, false},   // nor on itself
        {"OxB", {"OxC"}, true},
        {"OxC", {"OxA"}, false},         // nor in a longer cycle
        {"OxA", {}, false},              // a name taken by a creator stays taken
        {"OxD", {"OxA", "OxA"}, true},   // duplicates are kept
    };
    OxProgramMgr manager;
    for (const Step& step : steps) {
        const bool accepted = manager.RegisterCreator(step.name, [name = std::string(step.name)](IOxQueryInterface*) {
            return OxComponentHandle(boost::make_shared<std::string>(name));
        }, step.dependsOn);
        EXPECT_EQ(step.accepted, accepted) << step.name;
    }
    const boost::shared_ptr<void> a = manager.GetInterface("OxA", "GlobalUse").lock();
    ASSERT_TRUE(a);
    EXPECT_EQ("OxA", *boost::static_pointer_cast<std::string>(a)) << "the first registration stays in force";
}

TEST(ProgramMgr, ObservesRegisteredInstancesWithoutOwningThem)
{
    OxProgramMgr manager;
    boost::shared_ptr<int> object = boost::make_shared<int>(42);
    ASSERT_TRUE(manager.RegisterInstance("OxShared", object, std::string()));
    EXPECT_EQ(object, boost::static_pointer_cast<int>(manager.GetInterface("OxShared", "GlobalUse").lock()));
    EXPECT_FALSE(manager.RegisterInstance("OxShared", boost::make_shared<int>(1), std::string())) << "its object is alive";

    const boost::shared_ptr<IOxInterfaceInitParam> earlierParams = manager.GetInitParam("OxShared");
    earlierParams->SetIntParam("Before", 1);
    object.reset();
    EXPECT_TRUE(manager.GetInterface("OxShared", "GlobalUse").expired());

    const boost::shared_ptr<int> replacement = boost::make_shared<int>(43);
    EXPECT_TRUE(manager.RegisterInstance("OxShared", replacement, std::string())) << "its object has died";
    earlierParams->SetIntParam("After", 2);
    EXPECT_EQ(1, earlierParams->GetIntParam("Before", 0));
    EXPECT_EQ(0, earlierParams->GetIntParam("After", 0)) << "the set's registration is gone";
    EXPECT_EQ(replacement, boost::static_pointer_cast<int>(manager.GetInterface("OxShared", "GlobalUse").lock()));
}

TEST(ProgramMgr, ReleasesComponentsDependentsFirst)
{
    struct Case {
        std::vector<std::string> built;
        std::vector<std::string> expectedOrder;
    };
    const Case cases[] = {
        {{"OxProgramInfo", "OxBaseProgramStuff", "OxProgramSettings", "OxEventProxy", "OxUiUpdate", "OxMultiMonitor",
          "OxUiMgr", "OxMultiLanguage", "OxOurProducts"},
         {"OxUiMgr", "OxBaseProgramStuff", "OxEventProxy", "OxMultiLanguage", "OxProgramSettings", "OxMultiMonitor",
          "OxOurProducts", "OxProgramInfo", "OxUiUpdate"}},
        {{"OxUiUpdate", "OxEventProxy"}, {"OxEventProxy", "OxUiUpdate"}},
        {{"OxBaseProgramStuff", "OxOurProducts", "OxProgramInfo", "OxUiMgr"},
         {"OxUiMgr", "OxBaseProgramStuff", "OxOurProducts", "OxProgramInfo"}},
    };
    for (const Case& c : cases) {
        Log log;
        {
            OxProgramMgr manager;
            RegisterProgramComponents(manager, log);
            for (const std::string& name : c.built)
                manager.GetInterface(name, "GlobalUse");
            EXPECT_EQ(c.expectedOrder, manager.GetTeardownOrder());
            log.clear();
        }
        Log expectedLog;
        for (const std::string& name : c.expectedOrder)
            expectedLog.push_back("-" + name);
        EXPECT_EQ(expectedLog, log);
    }
}

TEST(ProgramMgr, LetsAComponentAskForItsDependenciesWhileItIsBuilt)
{
    Log log;
    OxProgramMgr manager;
    manager.RegisterCreator("OxBase", LoggedCreator(log, "OxBase"), std::string());
    manager.RegisterCreator("OxUser", [&log](IOxQueryInterface* registry) {
        registry->GetInterface("OxBase", "OxUser");
        return OxComponentHandle(boost::make_shared<LoggedComponent>(log, "OxUser"));
    }, std::string("OxBase"));
    manager.GetInterface("OxUser", "GlobalUse");
    EXPECT_EQ((Log{"+OxBase", "+OxUser"}), log);
}

TEST(InterfacePtr, AnswersAFreshNullObjectForEveryRequestOfAMissingComponent)
{
    OxProgramMgr manager;
    const OxInterfacePtr<IOxCheckForUpdate> checkForUpdate(&manager, "GlobalUse");
    const boost::shared_ptr<IOxCheckForUpdate> first = checkForUpdate.Get();
    const boost::shared_ptr<IOxCheckForUpdate> second = checkForUpdate.Get();
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_FALSE(first->IsBusy());
    // Also without any manager, as after its withdrawal.
    EXPECT_STREQ(L"0.0.0", OxInterfacePtr<IOxProgramInfo>(nullptr, "GlobalUse").Get()->GetVersionText());
}

TEST(InterfacePtr, AnswersTheNullObjectOnceARegisteredInstanceHasDied)
{
    OxProgramMgr manager;
    boost::shared_ptr<OxProgramInfoEmpty> identity = boost::make_shared<OxProgramInfoEmpty>(&manager);
    manager.RegisterInstance("OxProgramInfo", OxComponentHandleOf(identity), std::string());
    EXPECT_EQ(identity.get(), OxInterfacePtr<IOxProgramInfo>(&manager, "GlobalUse").Get().get());
    const IOxProgramInfo* const registered = identity.get();
    identity.reset();
    EXPECT_NE(registered, OxInterfacePtr<IOxProgramInfo>(&manager, "GlobalUse").Get().get());
}

namespace {

// A component whose interface is not its first base, so the interface does not sit at offset 0.
struct SomethingFirst {
    virtual ~SomethingFirst() = default;
    int padding[3] = {1, 2, 3};
};

class IdentityAfterSomethingElse : public SomethingFirst, public OxProgramInfoEmpty {
public:
    explicit IdentityAfterSomethingElse(IOxQueryInterface* queryInterface) : OxProgramInfoEmpty(queryInterface) {}
    const wchar_t* GetShortName() const override { return L"OFFSET"; }
};

} // namespace

TEST(InterfacePtr, ReachesTheInterfaceWhereverItSitsInTheComponent)
{
    OxProgramMgr manager;
    ASSERT_TRUE(manager.RegisterCreator("OxProgramInfo", OxObjDelayCreate<IdentityAfterSomethingElse>(), std::string()));
    EXPECT_STREQ(L"OFFSET", OxInterfacePtr<IOxProgramInfo>(&manager, "GlobalUse").Get()->GetShortName()) << "built by the creator";

    OxProgramMgr other;
    const boost::shared_ptr<IdentityAfterSomethingElse> instance = boost::make_shared<IdentityAfterSomethingElse>(&other);
    ASSERT_TRUE(other.RegisterInstance("OxProgramInfo", OxComponentHandleOf(instance), std::string()));
    EXPECT_EQ(static_cast<IOxProgramInfo*>(instance.get()), OxInterfacePtr<IOxProgramInfo>(&other, "GlobalUse").Get().get())
        << "registered as an instance";
}

TEST(ProgramMgrPublication, PublishesTheManagerOnlyWhileItLives)
{
    OxProgramMgr manager;
    EXPECT_EQ(nullptr, GetProgramMgr());
    {
        ProgramMgrPublication publication(&manager);
        EXPECT_EQ(&manager, GetProgramMgr());
    }
    EXPECT_EQ(nullptr, GetProgramMgr());
}
