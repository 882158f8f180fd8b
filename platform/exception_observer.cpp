#include "platform/exception_observer.h"

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

#else
#error "no structured-exception observer for this compiler and processor"
#endif
