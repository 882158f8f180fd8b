#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/message_loop.h"

namespace {

typedef std::vector<std::string> Log;

class LoggingIdleHandler : public vantor::CIdleHandler {
public:
    LoggingIdleHandler(Log& log, std::string name, std::function<void(int)> onCall = nullptr)
        : log(log), name(std::move(name)), onCall(std::move(onCall))
    {
    }
    BOOL OnIdle() override
    {
        log.push_back(name);
        if (onCall)
            onCall(++calls);
        return FALSE;
    }

private:
    Log& log;
    std::string name;
    std::function<void(int)> onCall;
    int calls = 0;
};

class LoggingFilter : public vantor::CMessageFilter {
public:
    LoggingFilter(Log& log, std::string name, std::function<BOOL(MSG*)> decide)
        : log(log), name(std::move(name)), decide(std::move(decide))
    {
    }
    BOOL PreTranslateMessage(MSG* message) override
    {
        log.push_back(name + ":" + std::to_string(message->message - WM_APP));
        return decide(message);
    }

private:
    Log& log;
    std::string name;
    std::function<BOOL(MSG*)> decide;
};

void PostToThread(UINT message)
{
    ::PostThreadMessageW(::GetCurrentThreadId(), message, 0, 0);
}

void CALLBACK QuitWithSeven(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    ::PostQuitMessage(7);
}

} // namespace

TEST(MessageLoop, RunsIdleHandlersInOrderOncePerIdlePeriodAndNotAfterMouseMoves)
{
    Log log;
    vantor::CMessageLoop loop;
    LoggingIdleHandler first(log, "first");
    LoggingIdleHandler second(log, "second", [](int call) {
        if (call == 1) {
            PostToThread(WM_APP);
        } else if (call == 2) {
            // Mouse moves do not count as activity: no idle period until the timer ends the run.
            PostToThread(WM_MOUSEMOVE);
            ::SetTimer(nullptr, 0, 100, QuitWithSeven);
        }
    });
    loop.AddIdleHandler(&first);
    loop.AddIdleHandler(&second);
    EXPECT_EQ(7, loop.Run());
    EXPECT_EQ((Log{"first", "second", "first", "second"}), log);

    EXPECT_TRUE(loop.RemoveIdleHandler(&first));
    EXPECT_FALSE(loop.RemoveIdleHandler(&first));
}

TEST(MessageLoop, OffersMessagesToFiltersLastRegisteredFirstUntilOneConsumesIt)
{
    Log log;
    vantor::CMessageLoop loop;
    LoggingFilter early(log, "early", [](MSG*) { return FALSE; });
    LoggingFilter late(log, "late", [](MSG* message) { return message->message == WM_APP + 1; });
    loop.AddMessageFilter(&early);
    loop.AddMessageFilter(&late);
    PostToThread(WM_APP + 1);
    PostToThread(WM_APP + 2);
    ::PostQuitMessage(3);
    EXPECT_EQ(3, loop.Run());
    EXPECT_EQ((Log{"late:1", "late:2", "early:2"}), log);

    EXPECT_TRUE(loop.RemoveMessageFilter(&late));
    EXPECT_FALSE(loop.RemoveMessageFilter(&late));
}

TEST(MessageLoop, ToleratesAFilterThatUnregistersItselfWhileAsked)
{
    Log log;
    vantor::CMessageLoop loop;
    LoggingFilter steady(log, "steady", [](MSG*) { return FALSE; });
    LoggingFilter* selfRemoving = nullptr;
    LoggingFilter leaving(log, "leaving", [&](MSG*) {
        loop.RemoveMessageFilter(selfRemoving);
        return FALSE;
    });
    selfRemoving = &leaving;
    loop.AddMessageFilter(&steady);
    loop.AddMessageFilter(&leaving);
    PostToThread(WM_APP + 1);
    PostToThread(WM_APP + 2);
    ::PostQuitMessage(0);
    loop.Run();
    EXPECT_EQ((Log{"leaving:1", "steady:1", "steady:2"}), log);
}
