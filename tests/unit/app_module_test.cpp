#include <gtest/gtest.h>

#include "platform/app_module.h"
#include "platform/message_loop.h"

TEST(AppModule, KeepsOneMessageLoopPerThread)
{
    vantor::CAppModule module;
    vantor::CMessageLoop loop;
    vantor::CMessageLoop other;
    EXPECT_TRUE(module.AddMessageLoop(&loop));
    EXPECT_FALSE(module.AddMessageLoop(&other));
    EXPECT_EQ(&loop, module.GetMessageLoop());
    EXPECT_EQ(nullptr, module.GetMessageLoop(::GetCurrentThreadId() + 1));
    EXPECT_TRUE(module.RemoveMessageLoop());
    EXPECT_EQ(nullptr, module.GetMessageLoop());
}

TEST(AppModule, SwapsTheResourceInstance)
{
    vantor::CAppModule module;
    const HINSTANCE program = ::GetModuleHandleW(nullptr);
    module.Init(nullptr, program, nullptr);
    const HINSTANCE pack = reinterpret_cast<HINSTANCE>(0x10000000);
    EXPECT_EQ(program, module.SetResourceInstance(pack));
    EXPECT_EQ(pack, module.GetResourceInstance());
    EXPECT_EQ(program, module.GetModuleInstance());
}
