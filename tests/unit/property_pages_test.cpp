#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <ocidl.h>

#include "platform/exception_observer.h"
#include "shell/property_pages.h"

namespace {

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
        pages->cElems = 0;
        return E_FAIL;
    }

    ULONG references = 1;
    int pageRequests = 0;

private:
    bool offersPages;
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

} // namespace

TEST(PropertyPages, ShowNothingForObjectsWithoutPagesOrWithoutAPageList)
{
    for (bool offersPages : {false, true}) {
        PagelessObject object(offersPages);
        ShowPropertyPages(&object, nullptr);
        EXPECT_EQ(offersPages ? 1 : 0, object.pageRequests);
        EXPECT_EQ(1u, object.references) << "every reference taken was given back";
    }
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
