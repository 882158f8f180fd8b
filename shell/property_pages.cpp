#include "shell/property_pages.h"

#include <cwchar>
#include <string>

#include <olectl.h>
#include <strmif.h>

#include "platform/com_ptr.h"
#include "platform/exception_observer.h"

namespace {

// DirectShow's name fields hold 128 characters with the terminator.
const size_t MaxCaptionLength = 127;

std::wstring ObjectName(const vantor::ComPtr<IUnknown>& object)
{
    vantor::ComPtr<IBaseFilter> filter;
    if (SUCCEEDED(object.QueryInterface(filter))) {
        FILTER_INFO info = {};
        if (SUCCEEDED(filter->QueryFilterInfo(&info))) {
            vantor::ComPtr<IFilterGraph> graph;
            graph.Attach(info.pGraph);
            return std::wstring(info.achName, wcsnlen(info.achName, MaxCaptionLength));
        }
    }
    vantor::ComPtr<IPin> pin;
    if (SUCCEEDED(object.QueryInterface(pin))) {
        PIN_INFO info = {};
        if (SUCCEEDED(pin->QueryPinInfo(&info))) {
            vantor::ComPtr<IBaseFilter> owningFilter;
            owningFilter.Attach(info.pFilter);
            return std::wstring(info.achName, wcsnlen(info.achName, MaxCaptionLength));
        }
    }
    return std::wstring();
}

// The page list a filter hands out; the filter allocated the identifiers, the caller frees them.
// A failed call's list belongs to nobody, so it is never taken.
class PageList {
public:
    PageList() : pages{0, nullptr} {}
    ~PageList() { ::CoTaskMemFree(pages.pElems); }
    PageList(const PageList&) = delete;
    PageList& operator=(const PageList&) = delete;

    HRESULT Fetch(ISpecifyPropertyPages& source)
    {
        CAUUID received = {0, nullptr};
        const HRESULT status = source.GetPages(&received);
        if (SUCCEEDED(status))
            pages = received;
        return status;
    }
    ULONG Count() const { return pages.cElems; }
    CLSID* Ids() const { return pages.pElems; }

private:
    CAUUID pages;
};

struct PropertyFrameCall {
    HWND owner;
    UINT x;
    UINT y;
    LPCOLESTR caption;
    ULONG objectCount;
    LPUNKNOWN* objects;
    ULONG pageCount;
    LPCLSID pageIds;
    LCID locale;
    DWORD reserved;
    LPVOID reservedPointer;
    HRESULT result;
};

void CallPropertyFrame(void* context)
{
    PropertyFrameCall& call = *static_cast<PropertyFrameCall*>(context);
    call.result = ::OleCreatePropertyFrame(call.owner, call.x, call.y, call.caption, call.objectCount, call.objects,
                                           call.pageCount, call.pageIds, call.locale, call.reserved, call.reservedPointer);
}

void ObservePageFault(DWORD exceptionCode)
{
    PageFaultFilter(exceptionCode);
}

} // namespace

void ShowPropertyPages(IUnknown* object, HWND owner)
{
    const vantor::ComPtr<IUnknown> subject(object);
    vantor::ComPtr<ISpecifyPropertyPages> pageSource;
    if (FAILED(subject.QueryInterface(pageSource)))
        return;
    const std::wstring caption = ObjectName(subject);

    PageList pages;
    if (FAILED(pages.Fetch(*pageSource.Get())))
        return;
    vantor::ComPtr<IUnknown> frameObject;
    if (FAILED(pageSource.QueryInterface(frameObject)))
        return;
    IUnknown* objects[1] = {frameObject.Get()};
    GuardedPropertyFrame(owner, 0, 0, caption.c_str(), 1, objects, pages.Count(), pages.Ids(), 0, 0, nullptr);
}

HRESULT GuardedPropertyFrame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG objectCount, LPUNKNOWN* objects,
                             ULONG pageCount, LPCLSID pageIds, LCID locale, DWORD reserved, LPVOID reservedPointer)
{
    PropertyFrameCall call = {owner, x, y, caption, objectCount, objects, pageCount, pageIds, locale, reserved,
                              reservedPointer, E_FAIL};
    vantor::CallObservingExceptions(CallPropertyFrame, &call, ObservePageFault);
    return call.result;
}

int PageFaultFilter(DWORD exceptionCode)
{
    // Shown while the faulting page is still on the stack, before the system's fault handling.
    if (exceptionCode == EXCEPTION_ACCESS_VIOLATION)
        ::MessageBoxW(nullptr, L"The property page of this filter has just caused a memory access violation", nullptr, MB_OK);
    return 0;
}
