#include <dshow/ProcAmpPage.h>

#include <com/objbase.h>
#include <win32/user/DialogManager.h>
#include <win32/user/controls.h>
#include <win32/user/window.h>

#include <array>
#include <cwchar>
#include <new>
#include <string>
#include <vector>

namespace plat {

namespace {

constexpr std::array<const char*, 5> kNames{"Brightness", "Contrast", "Hue", "Saturation", "Sharpness"};
constexpr int kLineHeight = 20;
constexpr int kNameWidth = 90;
constexpr int kValueWidth = 60;
constexpr int kMargin = 8;
constexpr SIZE kPageSize{kMargin * 2 + kNameWidth + kValueWidth, kMargin * 2 + kLineHeight * 5};

LPOLESTR taskString(const wchar_t* text) {
  const std::size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
  auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (copy) std::wmemcpy(copy, text, bytes / sizeof(wchar_t));
  return copy;
}

}  // namespace

HRESULT ProcAmpPage::create(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto* page = new (std::nothrow) ProcAmpPage();
  if (!page) return E_OUTOFMEMORY;
  const HRESULT hr = page->QueryInterface(iid, out);
  page->Release();
  return hr;
}

ProcAmpPage::~ProcAmpPage() { Deactivate(); }

STDMETHODIMP ProcAmpPage::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPropertyPage) {
    *ppv = static_cast<IPropertyPage*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ProcAmpPage::AddRef() { return m_refs.addRef(); }

STDMETHODIMP_(ULONG) ProcAmpPage::Release() {
  const ULONG left = m_refs.release();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP ProcAmpPage::SetPageSite(IPropertyPageSite* pPageSite) {
  m_site = pPageSite;
  return S_OK;
}

// The page's lines, with the values read now.
STDMETHODIMP ProcAmpPage::Activate(HWND hWndParent, LPCRECT pRect, BOOL) {
  if (!pRect) return E_POINTER;
  if (m_window) return E_UNEXPECTED;
  std::vector<std::string> values(kNames.size(), "-");
  for (std::size_t p = 0; p < kNames.size() && m_procAmp; ++p) {
    long value = 0;
    long flags = 0;
    if (SUCCEEDED(m_procAmp->Get(static_cast<long>(p), &value, &flags))) values[p] = std::to_string(value);
  }
  std::vector<res::Control> controls;
  for (std::size_t p = 0; p < kNames.size(); ++p) {
    const int y = kMargin + static_cast<int>(p) * kLineHeight;
    controls.push_back({"STATIC", kFirstName + static_cast<int>(p), kNames[p], WS_CHILD | WS_VISIBLE | SS_LEFT, 0,
                        kMargin, y, kNameWidth, kLineHeight});
    controls.push_back({"STATIC", kFirstValue + static_cast<int>(p), values[p].c_str(),
                        WS_CHILD | WS_VISIBLE | SS_LEFT, 0, kMargin + kNameWidth, y, kValueWidth, kLineHeight});
  }
  const res::Dialog page{0, "", "", WS_CHILD | DS_CONTROL, 0, pRect->left, pRect->top, pRect->right - pRect->left,
                         pRect->bottom - pRect->top, controls.data(), controls.size()};
  m_window = DialogManager::create(page, nullptr, hWndParent, nullptr, 0);
  return m_window ? S_OK : E_FAIL;
}

STDMETHODIMP ProcAmpPage::Deactivate() {
  if (m_window) DestroyWindow(m_window);
  m_window = nullptr;
  return S_OK;
}

STDMETHODIMP ProcAmpPage::GetPageInfo(PROPPAGEINFO* pPageInfo) {
  if (!pPageInfo) return E_POINTER;
  *pPageInfo = PROPPAGEINFO{};
  pPageInfo->cb = sizeof(PROPPAGEINFO);
  pPageInfo->pszTitle = taskString(L"Video Proc Amp");
  pPageInfo->size = kPageSize;
  return pPageInfo->pszTitle ? S_OK : E_OUTOFMEMORY;
}

// The first object with picture controls is the one shown.
STDMETHODIMP ProcAmpPage::SetObjects(ULONG cObjects, IUnknown** ppUnk) {
  m_procAmp.reset();
  if (cObjects && !ppUnk) return E_POINTER;
  for (ULONG i = 0; i < cObjects && !m_procAmp; ++i) {
    if (ppUnk[i]) ppUnk[i]->QueryInterface(IID_IAMVideoProcAmp, m_procAmp.putVoid());
  }
  return S_OK;
}

STDMETHODIMP ProcAmpPage::Show(UINT nCmdShow) {
  if (!m_window) return E_UNEXPECTED;
  ShowWindow(m_window, static_cast<int>(nCmdShow));
  return S_OK;
}

STDMETHODIMP ProcAmpPage::Move(LPCRECT pRect) {
  if (!pRect) return E_POINTER;
  if (!m_window) return E_UNEXPECTED;
  MoveWindow(m_window, pRect->left, pRect->top, pRect->right - pRect->left, pRect->bottom - pRect->top, TRUE);
  return S_OK;
}

STDMETHODIMP ProcAmpPage::IsPageDirty() { return S_FALSE; }

STDMETHODIMP ProcAmpPage::Apply() { return S_OK; }

STDMETHODIMP ProcAmpPage::Help(LPCOLESTR) { return E_NOTIMPL; }

STDMETHODIMP ProcAmpPage::TranslateAccelerator(LPMSG) { return S_FALSE; }

}  // namespace plat
