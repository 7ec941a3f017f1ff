// The OLE side of a windowed control: its client site and the site's ambient properties,
// in-place activation into a container's window (DoVerb makes the control's child window
// at the given rectangle, SetObjectRects moves it, InPlaceDeactivate and Close destroy
// it) and the control window's messages, handed to the class. The derived class supplies
// IUnknown (the one of its object) and answers its own interfaces.
//
// Everything runs on the container's thread.
#pragma once

#include <com/ComPtr.h>
#include <com/oleidl.h>
#include <win32/user.h>

namespace plat::atl {

class ControlBase : public IOleObject, public IOleInPlaceObject {
 public:
  ControlBase(const ControlBase&) = delete;
  ControlBase& operator=(const ControlBase&) = delete;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* pClientSite) override;
  STDMETHODIMP GetClientSite(IOleClientSite** ppClientSite) override;
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD dwSaveOption) override;
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
  STDMETHODIMP InitFromData(IUnknown*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IUnknown** ppDataObject) override;
  STDMETHODIMP DoVerb(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite, LONG lindex, HWND hwndParent,
                      LPCRECT lprcPosRect) override;
  STDMETHODIMP EnumVerbs(IUnknown** ppEnumOleVerb) override;
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR* pszUserType) override;
  STDMETHODIMP SetExtent(DWORD, SIZE*) override { return S_OK; }
  STDMETHODIMP GetExtent(DWORD, SIZE* psizel) override;
  STDMETHODIMP Advise(IUnknown*, DWORD* pdwConnection) override;
  STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumAdvise(IUnknown** ppenumAdvise) override;
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* pdwStatus) override;
  STDMETHODIMP SetColorScheme(void*) override { return E_NOTIMPL; }
  // IOleWindow / IOleInPlaceObject
  STDMETHODIMP GetWindow(HWND* phwnd) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override { return S_OK; }
  STDMETHODIMP SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override;
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

  HWND window() const { return m_hWnd; }

 protected:
  ControlBase() = default;
  virtual ~ControlBase();

  // The container's ambient user mode: false while it is designing. A container that does
  // not answer is taken to be running.
  bool AmbientUserMode();

  // The control window's messages; true when handled (with `result`). WM_PAINT that is not
  // handled paints through OnDraw.
  virtual bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  virtual void OnDraw(HDC hdc, const RECT& bounds);
  // The window was made (DoVerb) or is about to go (deactivation).
  virtual void OnWindowCreated() {}
  virtual void OnWindowDestroying() {}
  // The container moved or sized the control; the rectangle is in the container's client area.
  virtual void OnPositionChanged(const RECT&) {}

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  ComPtr<IOleClientSite> m_site;
  HWND m_hWnd = nullptr;
};

}  // namespace plat::atl
