// The filter's stream settings page. Values are checked and handed to the filter, which
// stores them, when the frame applies the page (OK or Apply) and the page is dirty.
#pragma once

#include <ocidl.h>

#include "com_object.h"
#include "platform/com_ptr.h"
#include "stream_source_filter.h"

// {8E3B5A41-2C7D-4F19-A6E2-5D0C94B1F3A7}
extern const CLSID CLSID_StreamSourcePage;

class StreamSourcePage : public IPropertyPage {
public:
    StreamSourcePage();
    virtual ~StreamSourcePage() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    IMPLEMENT_COM_REFERENCE_COUNT(references)

    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT showCommand) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override;
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR helpDirectory) override;
    STDMETHODIMP TranslateAccelerator(MSG* message) override;

protected:
    // Called once the page's dialog exists and shows the filter's settings.
    virtual void OnDialogCreated(HWND) {}

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR page);

    void ShowSettings(const StreamSettings& settings);
    StreamSettings ReadControls() const;
    void MarkDirty();

    ComReferenceCount references;
    vantor::ComPtr<IPropertyPageSite> site;
    vantor::ComPtr<IStreamSourceSettings> filter;
    HWND parent = nullptr;
    HWND dialog = nullptr;
    bool dirty = false;
    bool showingSettings = false;
};
