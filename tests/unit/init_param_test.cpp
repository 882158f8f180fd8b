#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "framework/init_param.h"
#include "framework/program_mgr.h"

namespace {

class InitParamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        manager.RegisterCreator("OxUiMgr", [](IOxQueryInterface*) { return OxComponentHandle(); }, std::string());
    }

    OxProgramMgr manager;
};

} // namespace

TEST_F(InitParamTest, AnswersDefaultsUntilSetAndTheLastWriteAfterwards)
{
    const boost::shared_ptr<IOxInterfaceInitParam> params = manager.GetInitParam("OxUiMgr");
    EXPECT_EQ(1, params->GetIntParam("UseSkins", 1));
    EXPECT_EQ(L"none", params->GetStringParam("Name", L"none"));
    EXPECT_FALSE(params->GetSharedParam("Handle"));

    params->SetIntParam("UseSkins", 0);
    params->SetIntParam("UseSkins", 5);
    EXPECT_EQ(5, params->GetIntParam("UseSkins", 1));
}

TEST_F(InitParamTest, KeepsEachTypeInItsOwnMap)
{
    const boost::shared_ptr<IOxInterfaceInitParam> params = manager.GetInitParam("OxUiMgr");
    const boost::shared_ptr<void> handle = boost::make_shared<int>(3);
    params->SetIntParam("Key", 7);
    params->SetStringParam("Key", L"text");
    params->SetSharedParam("Key", handle);
    EXPECT_EQ(7, params->GetIntParam("Key", 0));
    EXPECT_EQ(L"text", params->GetStringParam("Key", L""));
    EXPECT_EQ(handle, params->GetSharedParam("Key"));
    EXPECT_EQ(L"default", params->GetStringParam("Other", L"default"));

    params->SetIntParam("IntOnly", 1);
    EXPECT_EQ(L"default", params->GetStringParam("IntOnly", L"default"));
}

TEST_F(InitParamTest, HandsOutOneSetPerRegisteredName)
{
    manager.GetInitParam("OxUiMgr")->SetIntParam("UseNative", 1);
    EXPECT_EQ(manager.GetInitParam("OxUiMgr"), manager.GetInitParam("OxUiMgr"));
    EXPECT_EQ(1, manager.GetInitParam("OxUiMgr")->GetIntParam("UseNative", 0));
}

TEST_F(InitParamTest, HandsOutDetachedSetsThatIgnoreWritesForUnregisteredNames)
{
    const boost::shared_ptr<IOxInterfaceInitParam> detached = manager.GetInitParam("OxBaseProgramStuff");
    detached->SetIntParam("MultiInstanceAllowed", 0);
    EXPECT_EQ(1, detached->GetIntParam("MultiInstanceAllowed", 1));
    EXPECT_NE(detached, manager.GetInitParam("OxBaseProgramStuff"));
    EXPECT_EQ(1, manager.GetInitParam("OxBaseProgramStuff")->GetIntParam("MultiInstanceAllowed", 1));
}
