#include <gtest/gtest.h>

#include <csetjmp>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "continuing_handler.h"
#include "platform/exception_observer.h"

namespace {

std::vector<std::string> events;

const DWORD TestExceptionCode = 0xE0424242;

// Observers record the exceptions the tests raise; a C++ exception is raised as a structured
// one on some processors and is left out.
void RecordObserved(DWORD code)
{
    if (code == TestExceptionCode || code == EXCEPTION_ACCESS_VIOLATION)
        events.push_back("observed " + std::to_string(code));
}

void RecordInner(DWORD code)
{
    if (code == TestExceptionCode || code == EXCEPTION_ACCESS_VIOLATION)
        events.push_back("inner " + std::to_string(code));
}

LONG WINAPI RecordUnhandled(EXCEPTION_POINTERS* exception)
{
    events.push_back("unhandled " + std::to_string(exception->ExceptionRecord->ExceptionCode));
    return EXCEPTION_CONTINUE_EXECUTION;
}

void RaiseTestException(void*)
{
    ::RaiseException(TestExceptionCode, 0, 0, nullptr);
    events.push_back("continued");
}

void RaiseAccessViolation(void*)
{
    ::RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
    events.push_back("continued");
}

} // namespace

namespace {

void RecordHandledInside(DWORD)
{
    events.push_back("handled inside");
}

// Runs the raise it is given under a handler that deals with every exception by going on after it.
void CallHandlingExceptionsInside(void* raise)
{
    CallContinuingAfterExceptions(reinterpret_cast<void (*)(void*)>(raise), nullptr, RecordHandledInside);
}

} // namespace

TEST(ExceptionObserver, SeesAnExceptionBeforeTheOuterHandlersAndLetsItGoOn)
{
    events.clear();
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = ::SetUnhandledExceptionFilter(RecordUnhandled);
    vantor::CallObservingExceptions(RaiseTestException, nullptr, RecordObserved);
    ::SetUnhandledExceptionFilter(previous);
    const std::string code = std::to_string(TestExceptionCode);
    EXPECT_EQ((std::vector<std::string>{"observed " + code, "unhandled " + code, "continued"}), events);
}

TEST(ExceptionObserver, NeverSeesAnExceptionThatAnInnerHandlerDealsWith)
{
    for (void (*raise)(void*) : {RaiseTestException, RaiseAccessViolation}) {
        events.clear();
        vantor::CallObservingExceptions(CallHandlingExceptionsInside, reinterpret_cast<void*>(raise), RecordObserved);
        EXPECT_EQ((std::vector<std::string>{"handled inside", "continued"}), events);
    }
}

TEST(ExceptionObserver, NestedGuardsEachSeeAnExceptionOnceInnermostFirst)
{
    events.clear();
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = ::SetUnhandledExceptionFilter(RecordUnhandled);
    vantor::CallObservingExceptions(
        [](void*) {
            vantor::CallObservingExceptions(RaiseTestException, nullptr, RecordInner);
            events.push_back("inner guard left");
            // The inner guard has ended; the outer one is still active.
            RaiseTestException(nullptr);
        },
        nullptr, RecordObserved);
    ::SetUnhandledExceptionFilter(previous);
    const std::string code = std::to_string(TestExceptionCode);
    EXPECT_EQ((std::vector<std::string>{"inner " + code, "observed " + code, "unhandled " + code, "continued",
                                        "inner guard left", "observed " + code, "unhandled " + code, "continued"}),
              events);
}

namespace {

jmp_buf outOfTheInnerGuard;

// An outer guard whose call leaves an inner guard early, then raises while the outer is still active.
struct EarlyExit {
    const char* name;
    void (*leaveInnerGuardEarly)();
};

const EarlyExit EarlyExits[] = {
    {"longjmp",
     [] {
         if (setjmp(outOfTheInnerGuard) == 0)
             vantor::CallObservingExceptions([](void*) { longjmp(outOfTheInnerGuard, 1); }, nullptr, RecordInner);
         events.push_back("inner guard left");
     }},
    {"C++ exception",
     [] {
         try {
             vantor::CallObservingExceptions([](void*) { throw std::runtime_error("out"); }, nullptr, RecordInner);
         } catch (const std::runtime_error&) {
             events.push_back("inner guard left");
         }
     }},
};

} // namespace

TEST(ExceptionObserver, AnInnerGuardLeftEarlyLeavesTheOuterGuardSeeingWhatIsRaisedInsideIt)
{
    const std::string code = std::to_string(TestExceptionCode);
    for (const EarlyExit& exit : EarlyExits) {
        events.clear();
        const LPTOP_LEVEL_EXCEPTION_FILTER previous = ::SetUnhandledExceptionFilter(RecordUnhandled);
        vantor::CallObservingExceptions(
            [](void* leave) {
                reinterpret_cast<void (*)()>(leave)();
                RaiseTestException(nullptr);
            },
            reinterpret_cast<void*>(exit.leaveInnerGuardEarly), RecordObserved);
        events.push_back("outer guard left");
        RaiseTestException(nullptr);
        ::SetUnhandledExceptionFilter(previous);
        EXPECT_EQ((std::vector<std::string>{"inner guard left", "observed " + code, "unhandled " + code, "continued",
                                            "outer guard left", "unhandled " + code, "continued"}),
                  events)
            << exit.name;
    }
}

TEST(ExceptionObserver, NeverSeesAnExceptionOfAnotherThread)
{
    events.clear();
    vantor::CallObservingExceptions(
        [](void*) {
            std::thread([] { CallHandlingExceptionsInside(reinterpret_cast<void*>(RaiseAccessViolation)); }).join();
            events.push_back("other thread ended");
        },
        nullptr, RecordObserved);
    EXPECT_EQ((std::vector<std::string>{"handled inside", "continued", "other thread ended"}), events);
}
