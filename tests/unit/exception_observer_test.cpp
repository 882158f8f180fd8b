#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "platform/exception_observer.h"

namespace {

std::vector<std::string> events;

void RecordObserved(DWORD code)
{
    events.push_back("observed " + std::to_string(code));
}

LONG WINAPI RecordUnhandled(EXCEPTION_POINTERS* exception)
{
    events.push_back("unhandled " + std::to_string(exception->ExceptionRecord->ExceptionCode));
    return EXCEPTION_CONTINUE_EXECUTION;
}

void RaiseTestException(void*)
{
    ::RaiseException(0xE0424242, 0, 0, nullptr);
    events.push_back("continued");
}

void RaiseAccessViolation(void*)
{
    ::RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
    events.push_back("continued");
}

} // namespace

// A handler of the kind a page that catches its own faults has: it deals with every exception
// raised inside the call by going on after it.
#if defined(_MSC_VER)
namespace {

LONG HandleExceptionInside()
{
    events.push_back("handled inside");
    return EXCEPTION_CONTINUE_EXECUTION;
}

void CallHandlingExceptionsInside(void* call)
{
    __try {
        reinterpret_cast<void (*)(void*)>(call)(nullptr);
    } __except (HandleExceptionInside()) {
    }
}

} // namespace
#else
extern "C" __attribute__((used)) EXCEPTION_DISPOSITION NTAPI TestHandleExceptionInside(EXCEPTION_RECORD* exception, PVOID,
                                                                                      CONTEXT*, PVOID)
{
    if ((exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0)
        return ExceptionContinueSearch;
    events.push_back("handled inside");
    return ExceptionContinueExecution;
}

namespace {

#if defined(__i386__)
struct InnerHandlerRecord {
    InnerHandlerRecord* next;
    PEXCEPTION_ROUTINE handler;
};

__attribute__((noinline)) void CallHandlingExceptionsInside(void* call)
{
    InnerHandlerRecord record = {nullptr, TestHandleExceptionInside};
    __asm__ __volatile__("movl %%fs:0, %0" : "=r"(record.next) : : "memory");
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(&record) : "memory");
    reinterpret_cast<void (*)(void*)>(call)(nullptr);
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(record.next) : "memory");
}
#else
__attribute__((noinline)) void CallHandlingExceptionsInside(void* call)
{
    __asm__ __volatile__(".seh_handler TestHandleExceptionInside, @except");
    reinterpret_cast<void (*)(void*)>(call)(nullptr);
    // Not a tail call, and a return address outside the epilogue, where no handler is called.
    __asm__ __volatile__("nop" : : : "memory");
}
#endif

} // namespace
#endif

TEST(ExceptionObserver, SeesAnExceptionBeforeTheOuterHandlersAndLetsItGoOn)
{
    events.clear();
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = ::SetUnhandledExceptionFilter(RecordUnhandled);
    CallObservingExceptions(RaiseTestException, nullptr, RecordObserved);
    ::SetUnhandledExceptionFilter(previous);
    const std::string code = std::to_string(0xE0424242u);
    EXPECT_EQ((std::vector<std::string>{"observed " + code, "unhandled " + code, "continued"}), events);
}

TEST(ExceptionObserver, NeverSeesAnExceptionThatAnInnerHandlerDealsWith)
{
    for (void (*raise)(void*) : {RaiseTestException, RaiseAccessViolation}) {
        events.clear();
        CallObservingExceptions(CallHandlingExceptionsInside, reinterpret_cast<void*>(raise), RecordObserved);
        EXPECT_EQ((std::vector<std::string>{"handled inside", "continued"}), events);
    }
}

TEST(ExceptionObserver, NestedGuardsEachSeeAnExceptionOnceInnermostFirst)
{
    events.clear();
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = ::SetUnhandledExceptionFilter(RecordUnhandled);
    CallObservingExceptions(
        [](void*) {
            CallObservingExceptions(RaiseTestException, nullptr, [](DWORD code) { events.push_back("inner " + std::to_string(code)); });
            events.push_back("inner guard left");
        },
        nullptr, RecordObserved);
    // An exception after the inner guard has ended reaches the outer observer alone.
    CallObservingExceptions(RaiseTestException, nullptr, RecordObserved);
    ::SetUnhandledExceptionFilter(previous);
    const std::string code = std::to_string(0xE0424242u);
    EXPECT_EQ((std::vector<std::string>{"inner " + code, "observed " + code, "unhandled " + code, "continued",
                                        "inner guard left", "observed " + code, "unhandled " + code, "continued"}),
              events);
}
