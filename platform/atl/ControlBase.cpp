#include <atl/ControlBase.h>

#include <com/objbase.h>
#include <com/oleauto.h>
#include <win32/gdi.h>

namespace plat::atl {

namespace {
constexpr const char* kWindowClass = "AtlControlWindow";
constexpr const char* kObjectProp = "plat.atl.control";
}  // namespace

ControlBase::~ControlBase() {
  if (m_hWnd) DestroyWindow(m_hWnd);
}

STDMETHODIMP ControlBase::SetClientSite(IOleClientSite* pClientSite) {
  m_site = pClientSite;
  return S_OK;
}

STDMETHODIMP ControlBase::GetClientSite(IOleClientSite** ppClientSite) {
  if (!ppClientSite) return E_POINTER;
  *ppClientSite = m_site.get();
  if (*ppClientSite) (*ppClientSite)->AddRef();
  return S_OK;
}

STDMETHODIMP ControlBase::Close(DWORD) { return InPlaceDeactivate(); }

STDMETHODIMP ControlBase::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
  if (ppmk) *ppmk = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ControlBase::GetClipboardData(DWORD, IUnknown** ppDataObject) {
  if (ppDataObject) *ppDataObject = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ControlBase::EnumVerbs(IUnknown** ppEnumOleVerb) {
  if (ppEnumOleVerb) *ppEnumOleVerb = nullptr;
  return OLEOBJ_E_NOVERBS;
}

STDMETHODIMP ControlBase::GetUserType(DWORD, LPOLESTR* pszUserType) {
  if (pszUserType) *pszUserType = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ControlBase::GetExtent(DWORD, SIZE* psizel) {
  if (!psizel) return E_POINTER;
  RECT rect{};
  if (m_hWnd) GetClientRect(m_hWnd, &rect);
  *psizel = {rect.right, rect.bottom};
  return S_OK;
}

STDMETHODIMP ControlBase::Advise(IUnknown*, DWORD* pdwConnection) {
  if (pdwConnection) *pdwConnection = 0;
  return E_NOTIMPL;
}

STDMETHODIMP ControlBase::EnumAdvise(IUnknown** ppenumAdvise) {
  if (ppenumAdvise) *ppenumAdvise = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ControlBase::GetMiscStatus(DWORD, DWORD* pdwStatus) {
  if (!pdwStatus) return E_POINTER;
  *pdwStatus = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
  return S_OK;
}

STDMETHODIMP ControlBase::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent,
                                 LPCRECT lprcPosRect) {
  if (iVerb == OLEIVERB_HIDE) {
    if (m_hWnd) ShowWindow(m_hWnd, SW_HIDE);
    return S_OK;
  }
  if (iVerb != OLEIVERB_PRIMARY && iVerb != OLEIVERB_SHOW && iVerb != OLEIVERB_INPLACEACTIVATE &&
      iVerb != OLEIVERB_UIACTIVATE)
    return E_NOTIMPL;
  if (pActiveSite && !m_site) m_site = pActiveSite;
  if (m_hWnd) {
    ShowWindow(m_hWnd, SW_SHOW);
    return lprcPosRect ? SetObjectRects(lprcPosRect, lprcPosRect) : S_OK;
  }
  if (!hwndParent || !lprcPosRect) return E_INVALIDARG;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = windowProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = kWindowClass;
  RegisterClassA(&wc);  // a second control of the class finds it registered
  m_hWnd = CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                           lprcPosRect->left, lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                           lprcPosRect->bottom - lprcPosRect->top, hwndParent, nullptr, nullptr, nullptr);
  if (!m_hWnd) return E_FAIL;
  SetPropA(m_hWnd, kObjectProp, static_cast<HANDLE>(this));
  OnWindowCreated();
  return S_OK;
}

STDMETHODIMP ControlBase::GetWindow(HWND* phwnd) {
  if (!phwnd) return E_POINTER;
  *phwnd = m_hWnd;
  return m_hWnd ? S_OK : E_FAIL;
}

STDMETHODIMP ControlBase::InPlaceDeactivate() {
  if (!m_hWnd) return S_OK;
  OnWindowDestroying();
  RemovePropA(m_hWnd, kObjectProp);
  DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
  return S_OK;
}

STDMETHODIMP ControlBase::SetObjectRects(LPCRECT lprcPosRect, LPCRECT) {
  if (!lprcPosRect) return E_POINTER;
  if (!m_hWnd) return OLE_E_NOT_INPLACEACTIVE;
  MoveWindow(m_hWnd, lprcPosRect->left, lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
             lprcPosRect->bottom - lprcPosRect->top, TRUE);
  OnPositionChanged(*lprcPosRect);
  return S_OK;
}

bool ControlBase::AmbientUserMode() {
  ComPtr<IDispatch> ambient;
  if (!m_site || FAILED(m_site.queryInterface(IID_IDispatch, ambient))) return true;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT value;
  VariantInit(&value);
  if (FAILED(ambient->Invoke(DISPID_AMBIENT_USERMODE, GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                             nullptr)))
    return true;
  VARIANT flag;
  VariantInit(&flag);
  const bool userMode = SUCCEEDED(VariantChangeType(&flag, &value, 0, VT_BOOL)) ? flag.boolVal != VARIANT_FALSE : true;
  VariantClear(&value);
  return userMode;
}

void ControlBase::OnDraw(HDC hdc, const RECT& bounds) {
  FillRect(hdc, &bounds, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

LRESULT CALLBACK ControlBase::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = static_cast<ControlBase*>(GetPropA(hwnd, kObjectProp));
  if (!control) return DefWindowProcA(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  if (control->OnWindowMessage(message, wParam, lParam, result)) return result;
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    RECT bounds{};
    GetClientRect(hwnd, &bounds);
    control->OnDraw(hdc, bounds);
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace plat::atl
