#include <atl/PropertyPageBase.h>

#include <com/objbase.h>
#include <win32/user.h>

#include <cstring>

namespace plat::atl {

namespace {

constexpr const char* kPageProp = "plat.atl.page";

LPOLESTR taskString(const std::string& text) {
  auto* out = static_cast<LPOLESTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(OLECHAR)));
  if (!out) return nullptr;
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = static_cast<unsigned char>(text[i]);
  out[text.size()] = 0;
  return out;
}

}  // namespace

PropertyPageBase::PropertyPageBase(HINSTANCE module, int dialogId, const char* title, SIZE size)
    : m_module(module), m_dialogId(dialogId), m_title(title), m_size(size) {}

PropertyPageBase::~PropertyPageBase() { Deactivate(); }

STDMETHODIMP PropertyPageBase::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPropertyPage) {
    *ppv = static_cast<IPropertyPage*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) PropertyPageBase::Release() {
  const ULONG left = m_refs.release();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP PropertyPageBase::SetPageSite(IPropertyPageSite* pPageSite) {
  m_site = pPageSite;
  return S_OK;
}

STDMETHODIMP PropertyPageBase::Activate(HWND hWndParent, LPCRECT pRect, BOOL) {
  if (!pRect) return E_POINTER;
  if (m_dialog) return E_UNEXPECTED;
  m_dialog = CreateDialogParamA(m_module, MAKEINTRESOURCEA(m_dialogId), hWndParent, dialogProc,
                                reinterpret_cast<LPARAM>(this));
  if (!m_dialog) return E_FAIL;
  MoveWindow(m_dialog, pRect->left, pRect->top, pRect->right - pRect->left, pRect->bottom - pRect->top, FALSE);
  return S_OK;
}

STDMETHODIMP PropertyPageBase::Deactivate() {
  if (m_dialog) {
    RemovePropA(m_dialog, kPageProp);
    DestroyWindow(m_dialog);
  }
  m_dialog = nullptr;
  return S_OK;
}

STDMETHODIMP PropertyPageBase::GetPageInfo(PROPPAGEINFO* pPageInfo) {
  if (!pPageInfo) return E_POINTER;
  *pPageInfo = PROPPAGEINFO{};
  pPageInfo->cb = sizeof(PROPPAGEINFO);
  pPageInfo->pszTitle = taskString(m_title);
  pPageInfo->size = m_size;
  return pPageInfo->pszTitle ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP PropertyPageBase::SetObjects(ULONG cObjects, IUnknown** ppUnk) {
  if (cObjects && !ppUnk) return E_POINTER;
  m_objects.clear();
  for (ULONG i = 0; i < cObjects; ++i)
    if (ppUnk[i]) m_objects.emplace_back(ppUnk[i]);
  return S_OK;
}

STDMETHODIMP PropertyPageBase::Show(UINT nCmdShow) {
  if (!m_dialog) return E_UNEXPECTED;
  ShowWindow(m_dialog, static_cast<int>(nCmdShow));
  return S_OK;
}

STDMETHODIMP PropertyPageBase::Move(LPCRECT pRect) {
  if (!pRect) return E_POINTER;
  if (!m_dialog) return E_UNEXPECTED;
  MoveWindow(m_dialog, pRect->left, pRect->top, pRect->right - pRect->left, pRect->bottom - pRect->top, TRUE);
  return S_OK;
}

INT_PTR CALLBACK PropertyPageBase::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* page = reinterpret_cast<PropertyPageBase*>(lParam);
    SetPropA(hwnd, kPageProp, static_cast<HANDLE>(page));
    page->m_dialog = hwnd;
  }
  auto* page = static_cast<PropertyPageBase*>(GetPropA(hwnd, kPageProp));
  return page && page->OnDialogMessage(message, wParam, lParam) ? TRUE : FALSE;
}

}  // namespace plat::atl
