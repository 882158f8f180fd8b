#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <ocidl.h>

#include "platform/exception_observer.h"
#include "shell/property_pages.h"

namespace {

// A page identifier block the object keeps for itself, left behind in a failed GetPages.
CLSID keptPageIds[2] = {};

// An object that may offer property pages whose list cannot be had.
class PagelessObject : public ISpecifyPropertyPages {
public:
    explicit PagelessObject(bool offersPages) : offersPages(offersPages) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || (offersPages && iid == IID_ISpecifyPropertyPages)) {
            *object = static_cast<ISpecifyPropertyPages*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    STDMETHODIMP GetPages(CAUUID* pages) override
    {
        ++pageRequests;
        // What a careless filter does: a failed call that still fills in its out-parameter.
        pages->cElems = 2;
        pages->pElems = keptPageIds;
        return E_FAIL;
    }

    ULONG references = 1;
    int pageRequests = 0;

private:
    bool offersPages;
};

// Watches the task allocator: records every block handed to CoTaskMemFree, and frees none of
// the blocks that are not the allocator's.
class FreeRecorder : public IMallocSpy {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
            *object = static_cast<IMallocSpy*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP_(SIZE_T) PreAlloc(SIZE_T size) override { return size; }
    STDMETHODIMP_(void*) PostAlloc(void* block) override { return block; }
    STDMETHODIMP_(void*) PreFree(void* block, BOOL) override
    {
        freed.push_back(block);
        return block == keptPageIds ? nullptr : block;
    }
    STDMETHODIMP_(void) PostFree(BOOL) override {}
    STDMETHODIMP_(SIZE_T) PreRealloc(void* block, SIZE_T size, void** newBlock, BOOL) override
    {
        *newBlock = block;
        return size;
    }
    STDMETHODIMP_(void*) PostRealloc(void* block, BOOL) override { return block; }
    STDMETHODIMP_(void*) PreGetSize(void* block, BOOL) override { return block; }
    STDMETHODIMP_(SIZE_T) PostGetSize(SIZE_T size, BOOL) override { return size; }
    STDMETHODIMP_(void*) PreDidAlloc(void* block, BOOL) override { return block; }
    STDMETHODIMP_(int) PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    STDMETHODIMP_(void) PreHeapMinimize() override {}
    STDMETHODIMP_(void) PostHeapMinimize() override {}

    std::vector<void*> freed;
};

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

TEST(PropertyPages, ShowNothingForObjectsWithoutPagesOrWithoutAPageList)
{
    FreeRecorder recorder;
    ASSERT_EQ(S_OK, ::CoRegisterMallocSpy(&recorder));
    for (bool offersPages : {false, true}) {
        PagelessObject object(offersPages);
        ShowPropertyPages(&object, nullptr);
        EXPECT_EQ(offersPages ? 1 : 0, object.pageRequests);
        EXPECT_EQ(1u, object.references) << "every reference taken was given back";
    }
    ::CoRevokeMallocSpy();
    EXPECT_EQ(0, std::count(recorder.freed.begin(), recorder.freed.end(), static_cast<void*>(keptPageIds)))
        << "the page list of a failed GetPages belongs to nobody";
}

TEST(PropertyPages, FaultFilterNeverHandlesAnException)
{
    for (DWORD code : {DWORD(EXCEPTION_INT_DIVIDE_BY_ZERO), DWORD(EXCEPTION_STACK_OVERFLOW), DWORD(0xE06D7363)})
        EXPECT_EQ(0, PageFaultFilter(code)) << std::hex << code;
}

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
