// The ZELK Vantor Source filter as far as a settings program sees it: a DirectShow filter
// with a name and property pages, which keeps its stream settings under the current user.
// It takes part in no graph.
#pragma once

#include <string>

#include <dshow.h>

#include "com_object.h"
#include "stream_settings.h"

// {55C39876-FF76-4AB0-AAB0-0A46D535A26B}
extern const CLSID CLSID_VantorSourceFilter;

// The filter's settings as its pages use them (in-process only).
struct IStreamSourceSettings : public IUnknown {
    virtual StreamSettings GetSettings() = 0;
    // Stores the settings; they must be valid.
    virtual HRESULT SetSettings(const StreamSettings& settings) = 0;
};
extern const IID IID_IStreamSourceSettings;

class StreamSourceFilter : public IBaseFilter, public ISpecifyPropertyPages, public IStreamSourceSettings {
public:
    StreamSourceFilter(const std::wstring& name, const CLSID& pageClassId);
    virtual ~StreamSourceFilter() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    IMPLEMENT_COM_REFERENCE_COUNT(references)

    // IPersist, IMediaFilter, IBaseFilter
    STDMETHODIMP GetClassID(CLSID* classId) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* vendorInfo) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override;

    // IStreamSourceSettings
    StreamSettings GetSettings() override;
    HRESULT SetSettings(const StreamSettings& settings) override;

private:
    ComReferenceCount references;
    std::wstring name;
    CLSID pageClassId;
    FILTER_STATE state = State_Stopped;
    StreamSettings settings;
};
