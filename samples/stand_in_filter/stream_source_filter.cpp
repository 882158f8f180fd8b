#include "stream_source_filter.h"

#include <cwchar>

const CLSID CLSID_VantorSourceFilter = {0x55C39876, 0xFF76, 0x4AB0, {0xAA, 0xB0, 0x0A, 0x46, 0xD5, 0x35, 0xA2, 0x6B}};
const IID IID_IStreamSourceSettings = {0x6A0D3E2C, 0x5B7F, 0x4C21, {0x9E, 0x43, 0x1F, 0x8A, 0x60, 0x2D, 0x7B, 0x15}};

namespace {

const size_t MaxFilterNameLength = 127;

} // namespace

StreamSourceFilter::StreamSourceFilter(const std::wstring& name, const CLSID& pageClassId)
    : name(name), pageClassId(pageClassId), settings(StreamSettings::Load())
{
}

STDMETHODIMP StreamSourceFilter::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter)
        *object = static_cast<IBaseFilter*>(this);
    else if (iid == IID_ISpecifyPropertyPages)
        *object = static_cast<ISpecifyPropertyPages*>(this);
    else if (iid == IID_IStreamSourceSettings)
        *object = static_cast<IStreamSourceSettings*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP StreamSourceFilter::GetClassID(CLSID* classId)
{
    if (classId == nullptr)
        return E_POINTER;
    *classId = CLSID_VantorSourceFilter;
    return S_OK;
}

STDMETHODIMP StreamSourceFilter::Stop()
{
    state = State_Stopped;
    return S_OK;
}

STDMETHODIMP StreamSourceFilter::Pause()
{
    state = State_Paused;
    return S_OK;
}

STDMETHODIMP StreamSourceFilter::Run(REFERENCE_TIME)
{
    state = State_Running;
    return S_OK;
}

STDMETHODIMP StreamSourceFilter::GetState(DWORD, FILTER_STATE* current)
{
    if (current == nullptr)
        return E_POINTER;
    *current = state;
    return S_OK;
}

STDMETHODIMP StreamSourceFilter::SetSyncSource(IReferenceClock*)
{
    return S_OK;
}

STDMETHODIMP StreamSourceFilter::GetSyncSource(IReferenceClock** clock)
{
    if (clock == nullptr)
        return E_POINTER;
    *clock = nullptr;
    return S_OK;
}

STDMETHODIMP StreamSourceFilter::EnumPins(IEnumPins** pins)
{
    if (pins != nullptr)
        *pins = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP StreamSourceFilter::FindPin(LPCWSTR, IPin** pin)
{
    if (pin == nullptr)
        return E_POINTER;
    *pin = nullptr;
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP StreamSourceFilter::QueryFilterInfo(FILTER_INFO* info)
{
    if (info == nullptr)
        return E_POINTER;
    const size_t length = name.size() < MaxFilterNameLength ? name.size() : MaxFilterNameLength;
    wmemcpy(info->achName, name.c_str(), length);
    info->achName[length] = L'\0';
    info->pGraph = nullptr;
    return S_OK;
}

STDMETHODIMP StreamSourceFilter::JoinFilterGraph(IFilterGraph*, LPCWSTR)
{
    return S_OK;
}

STDMETHODIMP StreamSourceFilter::QueryVendorInfo(LPWSTR* vendorInfo)
{
    if (vendorInfo == nullptr)
        return E_POINTER;
    static const wchar_t vendor[] = L"ZELK Soft";
    *vendorInfo = static_cast<LPWSTR>(::CoTaskMemAlloc(sizeof(vendor)));
    if (*vendorInfo == nullptr)
        return E_OUTOFMEMORY;
    wmemcpy(*vendorInfo, vendor, sizeof(vendor) / sizeof(wchar_t));
    return S_OK;
}

STDMETHODIMP StreamSourceFilter::GetPages(CAUUID* pages)
{
    if (pages == nullptr)
        return E_POINTER;
    pages->pElems = static_cast<GUID*>(::CoTaskMemAlloc(sizeof(GUID)));
    if (pages->pElems == nullptr) {
        pages->cElems = 0;
        return E_OUTOFMEMORY;
    }
    pages->cElems = 1;
    pages->pElems[0] = pageClassId;
    return S_OK;
}

StreamSettings StreamSourceFilter::GetSettings()
{
    return settings;
}

HRESULT StreamSourceFilter::SetSettings(const StreamSettings& newSettings)
{
    if (!newSettings.Validate().empty())
        return E_INVALIDARG;
    if (!newSettings.Save())
        return E_FAIL;
    settings = newSettings;
    return S_OK;
}
