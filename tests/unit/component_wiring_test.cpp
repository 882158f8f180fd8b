#include <gtest/gtest.h>

#include "framework/init_param.h"
#include "framework/interfaces/program_info.h"
#include "framework/program_mgr.h"
#include "shell/component_wiring.h"
#include "version.h"

namespace {

// The registry as the wiring sees it: every call is written down, then handed to a real manager.
class RecordingRegistry : public IOxQueryInterface {
public:
    using IOxQueryInterface::RegisterCreator;
    using IOxQueryInterface::RegisterInstance;
    bool RegisterCreator(const std::string& name, const ComponentCreator& creator, const DependencyList& dependsOn) override
    {
        std::string call = "register " + name;
        for (size_t i = 0; i < dependsOn.size(); ++i)
            call += (i == 0 ? " <- " : ", ") + dependsOn[i];
        calls.push_back(call);
        return manager.RegisterCreator(name, creator, dependsOn);
    }
    bool RegisterInstance(const std::string& name, const OxComponentHandle& instance, const DependencyList& dependsOn) override
    {
        calls.push_back("instance " + name);
        return manager.RegisterInstance(name, instance, dependsOn);
    }
    OxWeakComponentHandle GetInterface(const std::string& name, const std::string& usage) override
    {
        calls.push_back("build " + name);
        return manager.GetInterface(name, usage);
    }
    boost::shared_ptr<IOxInterfaceInitParam> GetInitParam(const std::string& name) override
    {
        calls.push_back("parameters of " + name);
        return manager.GetInitParam(name);
    }

    OxProgramMgr manager;
    std::vector<std::string> calls;
};

} // namespace

TEST(ComponentWiring, RegistersTheComponentSetInOrderWithItsDependencies)
{
    RecordingRegistry registry;
    ProgramMgrPublication publication(&registry);
    RegisterComponents(::GetModuleHandleW(nullptr));
    EXPECT_EQ((std::vector<std::string>{
                  "register OxProgramInfo",
                  "build OxProgramInfo",
                  "register OxBaseProgramStuff <- OxProgramInfo, OxEventProxy",
                  "parameters of OxBaseProgramStuff",
                  "register OxProgramSettings <- OxProgramInfo, OxMultiMonitor",
                  "register OxEventProxy",
                  "register OxUiUpdate",
                  "register OxMultiMonitor",
                  "register OxUiMgr <- OxBaseProgramStuff, OxProgramSettings, OxMultiLanguage, OxProgramInfo",
                  "parameters of OxUiMgr",
                  "parameters of OxUiMgr",
                  "register OxMultiLanguage <- OxProgramSettings, OxProgramInfo",
                  "register OxOurProducts <- OxProgramInfo",
              }),
              registry.calls);

    registry.calls.clear();
    BuildMainThreadComponents(&registry);
    EXPECT_EQ((std::vector<std::string>{"build OxEventProxy"}), registry.calls);
}

TEST(ComponentWiring, RegistersThisProgramsIdentityAndBuildsOnlyIt)
{
    OxProgramMgr manager;
    ProgramMgrPublication publication(&manager);
    RegisterComponents(::GetModuleHandleW(nullptr));

    EXPECT_EQ((std::vector<std::string>{"OxProgramInfo"}), manager.GetTeardownOrder());
    const boost::shared_ptr<IOxProgramInfo> identity = OxInterfacePtr<IOxProgramInfo>(&manager, "GlobalUse").Get();
    EXPECT_EQ(::GetModuleHandleW(nullptr), identity->GetModuleInstance());
    EXPECT_EQ(L"ZELK Vantor Source", identity->GetFullName());
    EXPECT_STREQ(L"ZELK Vantor Source", identity->GetProductName());
    EXPECT_STREQ(L"ZELKVS", identity->GetShortName());
    EXPECT_STREQ(L"ZELK Soft", identity->GetCompanyName());
    EXPECT_STREQ(VANTOR_VERSION_TEXT, identity->GetVersionText());
    EXPECT_EQ(VANTOR_VERSION_MAJOR, identity->GetMajorVersion());
    EXPECT_EQ(VANTOR_VERSION_MINOR, identity->GetMinorVersion());
    EXPECT_EQ(VANTOR_VERSION_PATCH, identity->GetBuildNumber());
    EXPECT_EQ(identity, OxInterfacePtr<IOxProgramInfo>(&manager, "GlobalUse").Get()) << "one identity object";
}

TEST(ComponentWiring, RegistersTheServicesWithTheirDependenciesAndInitParameters)
{
    OxProgramMgr manager;
    ProgramMgrPublication publication(&manager);
    RegisterComponents(::GetModuleHandleW(nullptr));

    EXPECT_EQ(0, manager.GetInitParam("OxBaseProgramStuff")->GetIntParam("MultiInstanceAllowed", 1));
    EXPECT_EQ(1, manager.GetInitParam("OxProgramSettings")->GetIntParam("CurrentUser", 1)) << "left at its default";
    EXPECT_EQ(0, manager.GetInitParam("OxUiMgr")->GetIntParam("UseSkins", 1));
    EXPECT_EQ(1, manager.GetInitParam("OxUiMgr")->GetIntParam("UseNative", 0));
    // Registered names refuse a second registration; their dependencies refuse to depend back.
    for (const char* name : {"OxBaseProgramStuff", "OxProgramSettings", "OxEventProxy", "OxProgramInfo", "OxMultiLanguage",
                             "OxMultiMonitor", "OxOurProducts", "OxUiUpdate", "OxUiMgr"})
        EXPECT_FALSE(manager.RegisterCreator(name, ComponentCreator(), std::string())) << name;
    EXPECT_FALSE(manager.RegisterCreator("OxMultiMonitor", ComponentCreator(), std::string("OxProgramSettings")));
    EXPECT_TRUE(manager.RegisterCreator("OxCheckForUpdate", ComponentCreator(), std::string())) << "the update check is not registered";

    // No packs, so that the test leaves the program's settings alone.
    manager.GetInitParam("OxMultiLanguage")->SetIntParam("nodlls", 1);
    manager.GetInterface("OxBaseProgramStuff", "GlobalUse");
    manager.GetInterface("OxMultiLanguage", "GlobalUse");
    manager.GetInterface("OxProgramSettings", "GlobalUse");
    EXPECT_EQ((std::vector<std::string>{"OxBaseProgramStuff", "OxMultiLanguage", "OxProgramSettings", "OxProgramInfo"}),
              manager.GetTeardownOrder());
}
