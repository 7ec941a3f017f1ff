// The property page of the TV stick's capture filter: the picture controls (brightness,
// contrast, hue, saturation, sharpness) as the filter's IAMVideoProcAmp reports them, one
// line each, read when the page is activated. The page edits nothing, so it is never dirty
// and Apply has nothing to write.
#pragma once

#include <com/ComPtr.h>
#include <com/RefCount.h>
#include <com/ocidl.h>
#include <dshow/axextend.h>

// {3D8E51A2-6F04-4B7C-A2E9-5C1B7D30F611}
DEFINE_GUID(CLSID_ProcAmpPropertyPage, 0x3D8E51A2, 0x6F04, 0x4B7C, 0xA2, 0xE9, 0x5C, 0x1B, 0x7D, 0x30, 0xF6, 0x11);

namespace plat {

class ProcAmpPage final : public IPropertyPage {
 public:
  static HRESULT create(IUnknown* outer, REFIID iid, void** out);

  // The value of property p (VideoProcAmp_Brightness…Sharpness) shows in the page's
  // control of id kFirstValue + p, its name in the one of id kFirstName + p.
  static constexpr int kFirstName = 100;
  static constexpr int kFirstValue = 200;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IPropertyPage
  STDMETHODIMP SetPageSite(IPropertyPageSite* pPageSite) override;
  STDMETHODIMP Activate(HWND hWndParent, LPCRECT pRect, BOOL bModal) override;
  STDMETHODIMP Deactivate() override;
  STDMETHODIMP GetPageInfo(PROPPAGEINFO* pPageInfo) override;
  STDMETHODIMP SetObjects(ULONG cObjects, IUnknown** ppUnk) override;
  STDMETHODIMP Show(UINT nCmdShow) override;
  STDMETHODIMP Move(LPCRECT pRect) override;
  STDMETHODIMP IsPageDirty() override;
  STDMETHODIMP Apply() override;
  STDMETHODIMP Help(LPCOLESTR pszHelpDir) override;
  STDMETHODIMP TranslateAccelerator(LPMSG pMsg) override;

 private:
  ProcAmpPage() = default;
  ~ProcAmpPage();

  RefCount m_refs;
  ComPtr<IPropertyPageSite> m_site;
  ComPtr<IAMVideoProcAmp> m_procAmp;
  HWND m_window = nullptr;
};

}  // namespace plat
