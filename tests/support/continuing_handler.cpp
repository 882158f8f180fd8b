#include "continuing_handler.h"

namespace {

// The innermost active call's recorder; the handler is told nothing but the frame.
thread_local HandledExceptionRecorder activeRecorder = nullptr;

} // namespace

#if defined(_MSC_VER)

void CallContinuingAfterExceptions(void (*call)(void* context), void* context, HandledExceptionRecorder record)
{
    const HandledExceptionRecorder outer = activeRecorder;
    activeRecorder = record;
    __try {
        call(context);
    } __except (activeRecorder(GetExceptionCode()), EXCEPTION_CONTINUE_EXECUTION) {
    }
    activeRecorder = outer;
}

#else

extern "C" __attribute__((used)) EXCEPTION_DISPOSITION NTAPI TestContinueAfterException(EXCEPTION_RECORD* exception, PVOID,
                                                                                        CONTEXT*, PVOID)
{
    if ((exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0)
        return ExceptionContinueSearch;
    activeRecorder(exception->ExceptionCode);
    return ExceptionContinueExecution;
}

namespace {

#if defined(__i386__)
struct HandlerRecord {
    HandlerRecord* next;
    PEXCEPTION_ROUTINE handler;
};

__attribute__((noinline)) void CallUnderHandler(void (*call)(void* context), void* context)
{
    HandlerRecord record = {nullptr, TestContinueAfterException};
    __asm__ __volatile__("movl %%fs:0, %0" : "=r"(record.next) : : "memory");
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(&record) : "memory");
    call(context);
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(record.next) : "memory");
}
#else
__attribute__((noinline)) void CallUnderHandler(void (*call)(void* context), void* context)
{
    __asm__ __volatile__(".seh_handler TestContinueAfterException, @except");
    call(context);
    // Not a tail call, and a return address outside the epilogue, where no handler is called.
    __asm__ __volatile__("nop" : : : "memory");
}
#endif

} // namespace

void CallContinuingAfterExceptions(void (*call)(void* context), void* context, HandledExceptionRecorder record)
{
    const HandledExceptionRecorder outer = activeRecorder;
    activeRecorder = record;
    CallUnderHandler(call, context);
    activeRecorder = outer;
}

#endif
