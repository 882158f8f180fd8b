#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <ocidl.h>

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

} // namespace

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
