#include "platform/exception_observer.h"

namespace vantor {

#if defined(_MSC_VER)

void CallObservingExceptions(void (*call)(void* context), void* context, ExceptionCodeObserver observer)
{
    __try {
        call(context);
    } __except (observer(GetExceptionCode()), EXCEPTION_CONTINUE_SEARCH) {
    }
}

#elif defined(__GNUC__) && defined(__i386__)

// GCC has no __try. On i686 Windows dispatches exceptions along a chain of frame-based handler
// records whose head is at fs:[0]; a record of our own on the stack puts the observer on it.
namespace {

struct ObserverRecord {
    ObserverRecord* next;
    PEXCEPTION_ROUTINE handler;
    ExceptionCodeObserver observer;
};

EXCEPTION_DISPOSITION NTAPI ObserveException(EXCEPTION_RECORD* exception, PVOID establisherFrame, CONTEXT*, PVOID)
{
    if ((exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) == 0)
        static_cast<ObserverRecord*>(establisherFrame)->observer(exception->ExceptionCode);
    return ExceptionContinueSearch;
}

// The memory clobbers keep the compiler from moving stack writes across the chain updates.
ObserverRecord* ReadChainHead()
{
    ObserverRecord* head;
    __asm__ __volatile__("movl %%fs:0, %0" : "=r"(head) : : "memory");
    return head;
}

void WriteChainHead(ObserverRecord* head)
{
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(head) : "memory");
}

// Links the record for its lifetime, so that it is unlinked on every way out of the call.
class ObserverRegistration {
public:
    explicit ObserverRegistration(ExceptionCodeObserver observer)
    {
        record.next = ReadChainHead();
        record.handler = ObserveException;
        record.observer = observer;
        WriteChainHead(&record);
    }
    ~ObserverRegistration() { WriteChainHead(record.next); }
    ObserverRegistration(const ObserverRegistration&) = delete;
    ObserverRegistration& operator=(const ObserverRegistration&) = delete;

private:
    ObserverRecord record;
};

} // namespace

void CallObservingExceptions(void (*call)(void* context), void* context, ExceptionCodeObserver observer)
{
    ObserverRegistration registration(observer);
    call(context);
}

#elif defined(__GNUC__) && defined(__x86_64__)

// GCC has no __try. On x86-64 Windows finds a function's exception handler in the function's
// unwind data; GuardedCall names ours there. The handler is told only the establisher frame of
// the function it is called for, so every guard notes its own frame, as the system computes it,
// in a thread's list of active guards.
namespace {

struct GuardRecord {
    GuardRecord* outer;
    DWORD64 establisherFrame;
    ExceptionCodeObserver observer;
};

thread_local GuardRecord* innermostGuard = nullptr;

// The establisher frame the system hands a handler named in the caller's unwind data.
__attribute__((noinline)) DWORD64 CallerEstablisherFrame()
{
    CONTEXT context;
    ::RtlCaptureContext(&context);
    DWORD64 imageBase = 0;
    DWORD64 frame = 0;
    PVOID handlerData = nullptr;
    // Unwinding this function first leaves the context in the caller, where the frame is read.
    for (int level = 0; level < 2; ++level) {
        PRUNTIME_FUNCTION function = ::RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
        if (function == nullptr)
            return 0;
        ::RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, function, &context, &handlerData, &frame, nullptr);
    }
    return frame;
}

} // namespace

extern "C" __attribute__((used)) EXCEPTION_DISPOSITION VantorObserveGuardedException(
    EXCEPTION_RECORD* exception, PVOID establisherFrame, CONTEXT*, PVOID)
{
    const DWORD64 frame = reinterpret_cast<DWORD64>(establisherFrame);
    for (GuardRecord* guard = innermostGuard; guard != nullptr; guard = guard->outer) {
        if (guard->establisherFrame != frame)
            continue;
        // An unwind through the guard ends it: the code after the call never runs.
        if ((exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0)
            innermostGuard = guard->outer;
        else
            guard->observer(exception->ExceptionCode);
        break;
    }
    return ExceptionContinueSearch;
}

namespace {

// No object with a destructor may live here: GCC would name its own handler for the function.
__attribute__((noinline)) void GuardedCall(void (*call)(void* context), void* context, ExceptionCodeObserver observer)
{
    __asm__ __volatile__(".seh_handler VantorObserveGuardedException, @except, @unwind");
    GuardRecord guard = {innermostGuard, CallerEstablisherFrame(), observer};
    innermostGuard = &guard;
    call(context);
    // The call's return address must not lie in the epilogue: the system calls no handler there.
    __asm__ __volatile__("nop" : : : "memory");
    innermostGuard = guard.outer;
}

} // namespace

void CallObservingExceptions(void (*call)(void* context), void* context, ExceptionCodeObserver observer)
{
    GuardedCall(call, context, observer);
}

#else
#error "no structured-exception observer for this compiler and processor"
#endif

} // namespace vantor
