#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include <boost/make_shared.hpp>

#include "framework/ox_event_proxy.h"
#include "test_support.h"

namespace {

HWND FindProxyWindow()
{
    return ::FindWindowExW(HWND_MESSAGE, nullptr, L"ATL:Message", nullptr);
}

} // namespace

TEST(EventProxy, RunsPostedCallsLaterInPostingOrderExactlyOnce)
{
    OxEventProxy proxy(nullptr);
    std::vector<int> calls;
    for (int i = 1; i <= 3; ++i)
        proxy.PostCall([&calls, i] { calls.push_back(i); });
    EXPECT_TRUE(calls.empty()) << "posting never runs the call at once";
    PumpMessages();
    PumpMessages();
    EXPECT_EQ((std::vector<int>{1, 2, 3}), calls);
}

TEST(EventProxy, RunsASentCallBeforeSendCallReturns)
{
    OxEventProxy proxy(nullptr);
    bool ran = false;
    proxy.SendCall([&ran] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(EventProxy, RunsACallPostedByAPostedCallOnALaterMessage)
{
    OxEventProxy proxy(nullptr);
    std::vector<std::string> calls;
    proxy.PostCall([&] {
        calls.push_back("first");
        proxy.PostCall([&] { calls.push_back("second"); });
        calls.push_back("first done");
    });
    ASSERT_TRUE(PumpOneMessage());
    EXPECT_EQ((std::vector<std::string>{"first", "first done"}), calls);
    PumpMessages();
    EXPECT_EQ((std::vector<std::string>{"first", "first done", "second"}), calls);
}

TEST(EventProxy, DestroyedWithCallsOutstandingRunsNoneAndFreesThem)
{
    const boost::shared_ptr<int> state = boost::make_shared<int>(0);
    {
        OxEventProxy proxy(nullptr);
        for (int i = 0; i < 3; ++i)
            proxy.PostCall([state] { ++*state; });
        EXPECT_EQ(4, state.use_count());
    }
    PumpMessages();
    EXPECT_EQ(0, *state);
    EXPECT_EQ(1, state.use_count()) << "the outstanding calls were freed with the proxy";
}

TEST(EventProxy, RunsCallsPostedFromOtherThreadsOnItsOwnThreadInOrder)
{
    OxEventProxy proxy(nullptr);
    std::vector<int> order;
    std::vector<DWORD> threads;
    std::thread poster([&] {
        for (int i = 0; i < 200; ++i)
            proxy.PostCall([&, i] {
                order.push_back(i);
                threads.push_back(::GetCurrentThreadId());
            });
    });
    poster.join();
    PumpMessages();
    ASSERT_EQ(200u, order.size());
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(i, order[i]);
        EXPECT_EQ(::GetCurrentThreadId(), threads[i]);
    }
}

TEST(EventProxy, RunsACallSentFromAnotherThreadOnItsOwnThreadWhileTheSenderWaits)
{
    OxEventProxy proxy(nullptr);
    DWORD ranOn = 0;
    bool senderReturned = false;
    std::thread sender([&] {
        proxy.SendCall([&] { ranOn = ::GetCurrentThreadId(); });
        senderReturned = true;
    });
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (ranOn == 0 && ::GetTickCount64() < deadline) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        PumpMessages();
    }
    sender.join();
    EXPECT_EQ(::GetCurrentThreadId(), ranOn);
    EXPECT_TRUE(senderReturned);
}

TEST(EventProxy, IgnoresProxyMessagesThatCarryNoCallOfItsOwn)
{
    OxEventProxy proxy(nullptr);
    const HWND window = FindProxyWindow();
    ASSERT_NE(nullptr, window);
    bool ran = false;
    proxy.PostCall([&ran] { ran = true; });
    PumpMessages();
    ASSERT_TRUE(ran);
    // A replayed token, made-up tokens and a made-up call address.
    for (LPARAM token : {LPARAM(1), LPARAM(2), LPARAM(0x7FFFFFFF)})
        ::PostMessageW(window, EventProxyMessage, 0, token);
    ::SendMessageW(window, EventProxyMessage, 1, 0x12345678);
    ran = false;
    PumpMessages();
    EXPECT_FALSE(ran);
}

TEST(EventProxy, NullProxyRunsNothing)
{
    OxEventProxyEmpty proxy(nullptr);
    bool ran = false;
    proxy.PostCall([&ran] { ran = true; });
    proxy.SendCall([&ran] { ran = true; });
    PumpMessages();
    EXPECT_FALSE(ran);
}
