#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <ocidl.h>

#include "continuing_handler.h"
#include "desktop.h"
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

namespace {

// A property page that faults when it is given its objects, and otherwise shows nothing;
// registered for this process only.
const CLSID FaultingPageId = {0x5b1e07c2, 0x4d0a, 0x4e6b, {0x9a, 0x3f, 0x21, 0x7c, 0x88, 0x05, 0xd4, 0x6e}};
DWORD pageFault = 0;

class FaultingPage : public IPropertyPage, public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IPropertyPage)
            *object = static_cast<IPropertyPage*>(this);
        else if (iid == IID_IClassFactory)
            *object = static_cast<IClassFactory*>(this);
        else
            *object = nullptr;
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP CreateInstance(IUnknown*, REFIID iid, void** object) override { return QueryInterface(iid, object); }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    STDMETHODIMP SetPageSite(IPropertyPageSite*) override { return S_OK; }
    STDMETHODIMP Activate(HWND, LPCRECT, BOOL) override { return S_OK; }
    STDMETHODIMP Deactivate() override { return S_OK; }
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override
    {
        static const wchar_t title[] = L"Faulting";
        *info = PROPPAGEINFO{};
        info->cb = sizeof(*info);
        info->pszTitle = static_cast<LPOLESTR>(::CoTaskMemAlloc(sizeof(title)));
        if (info->pszTitle != nullptr)
            std::copy(title, title + sizeof(title) / sizeof(title[0]), info->pszTitle);
        info->size = SIZE{200, 100};
        return S_OK;
    }
    STDMETHODIMP SetObjects(ULONG, IUnknown**) override
    {
        ::RaiseException(pageFault, 0, 0, nullptr);
        return S_OK;
    }
    STDMETHODIMP Show(UINT) override { return S_OK; }
    STDMETHODIMP Move(LPCRECT) override { return S_OK; }
    STDMETHODIMP IsPageDirty() override { return S_FALSE; }
    STDMETHODIMP Apply() override { return S_OK; }
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }
};

// What happened, from both threads: the boxes a user saw and the exceptions the outer handler got.
std::mutex eventsLock;
std::vector<std::wstring> events;

void Record(const std::wstring& event)
{
    const std::lock_guard<std::mutex> lock(eventsLock);
    events.push_back(event);
}

void RecordHandledOutside(DWORD code)
{
    Record(L"handled outside " + std::to_wstring(code));
}

// A user at the screen: answers every box of this process with OK, noting its text and
// buttons, and cancels any frame.
class UserAtTheScreen {
public:
    UserAtTheScreen()
        : user([this] {
              while (!done) {
                  if (const HWND box = FindMessageBox(::GetCurrentProcessId())) {
                      const MessageBoxView view = ReadMessageBox(box);
                      Record(L"box " + view.text + L" [" + (view.buttons.empty() ? L"" : view.buttons.front()) + L"]");
                      PressButton(box, IDOK);
                      WaitUntil([box] { return !::IsWindowVisible(box); });
                  }
                  if (const HWND frame = FindPropertyFrame(::GetCurrentProcessId())) {
                      PressButton(frame, IDCANCEL);
                      WaitUntil([frame] { return !::IsWindowVisible(frame); });
                  }
                  ::Sleep(50);
              }
          })
    {
    }
    ~UserAtTheScreen()
    {
        done = true;
        user.join();
    }

private:
    std::atomic<bool> done{false};
    std::thread user;
};

void ShowTheFaultingPage(void* object)
{
    IUnknown* objects[1] = {static_cast<IUnknown*>(object)};
    CLSID pages[1] = {FaultingPageId};
    GuardedPropertyFrame(nullptr, 0, 0, L"Faulting", 1, objects, 1, pages, 0, 0, nullptr);
}

} // namespace

TEST(PropertyPages, AnAccessViolationInAGuardedPageIsReportedAndEveryFaultGoesOn)
{
    FaultingPage page;
    DWORD registration = 0;
    ASSERT_EQ(S_OK, ::CoRegisterClassObject(FaultingPageId, static_cast<IClassFactory*>(&page), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &registration));
    struct Case {
        DWORD code;
        const wchar_t* box;
    };
    const Case cases[] = {
        {EXCEPTION_ACCESS_VIOLATION, L"The property page of this filter has just caused a memory access violation"},
        {EXCEPTION_INT_DIVIDE_BY_ZERO, nullptr},
        {EXCEPTION_STACK_OVERFLOW, nullptr},
        {0xE06D7363, nullptr},
    };
    for (const Case& fault : cases) {
        events.clear();
        pageFault = fault.code;
        PagelessObject object(false);
        {
            const UserAtTheScreen user;
            CallContinuingAfterExceptions(ShowTheFaultingPage, static_cast<IUnknown*>(&object), RecordHandledOutside);
        }
        std::vector<std::wstring> expected;
        if (fault.box != nullptr)
            expected.push_back(L"box " + std::wstring(fault.box) + L" [OK]");
        expected.push_back(L"handled outside " + std::to_wstring(fault.code));
        EXPECT_EQ(expected, events) << std::hex << fault.code;
    }
    ::CoRevokeClassObject(registration);
}
