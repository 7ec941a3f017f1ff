// A property page made from a dialog template of a module: Activate creates the template
// as a child dialog of the frame's page area, the class handles the dialog's messages,
// the objects the frame gives are kept for it. The page's title is its template's caption
// and its size the template's size. The derived class supplies nothing else: it is
// created through its module's class table and counts references here.
#pragma once

#include <com/ComPtr.h>
#include <com/RefCount.h>
#include <com/ocidl.h>

#include <string>
#include <vector>

namespace plat::atl {

class PropertyPageBase : public IPropertyPage {
 public:
  PropertyPageBase(const PropertyPageBase&) = delete;
  PropertyPageBase& operator=(const PropertyPageBase&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return m_refs.addRef(); }
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP SetPageSite(IPropertyPageSite* pPageSite) override;
  STDMETHODIMP Activate(HWND hWndParent, LPCRECT pRect, BOOL bModal) override;
  STDMETHODIMP Deactivate() override;
  STDMETHODIMP GetPageInfo(PROPPAGEINFO* pPageInfo) override;
  STDMETHODIMP SetObjects(ULONG cObjects, IUnknown** ppUnk) override;
  STDMETHODIMP Show(UINT nCmdShow) override;
  STDMETHODIMP Move(LPCRECT pRect) override;
  STDMETHODIMP IsPageDirty() override { return S_FALSE; }
  STDMETHODIMP Apply() override { return S_OK; }
  STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }

 protected:
  PropertyPageBase(HINSTANCE module, int dialogId, const char* title, SIZE size);
  virtual ~PropertyPageBase();

  // The dialog's messages; true when handled. WM_INITDIALOG comes once the objects are set.
  virtual bool OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  HWND dialog() const { return m_dialog; }
  const std::vector<ComPtr<IUnknown>>& objects() const { return m_objects; }

 private:
  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  RefCount m_refs;
  HINSTANCE m_module;
  int m_dialogId;
  std::string m_title;
  SIZE m_size;
  ComPtr<IPropertyPageSite> m_site;
  std::vector<ComPtr<IUnknown>> m_objects;
  HWND m_dialog = nullptr;
};

}  // namespace plat::atl
