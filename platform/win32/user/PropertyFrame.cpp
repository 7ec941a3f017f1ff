#include <win32/user/PropertyFrame.h>

#include <com/objbase.h>
#include <win32/codepage.h>
#include <win32/user/DialogManager.h>
#include <win32/user/controls.h>
#include <win32/user/window.h>

#include <algorithm>

namespace plat {

namespace {

constexpr int kMargin = 7;
constexpr int kTabWidth = 90;
constexpr int kTabHeight = 23;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kGap = 6;

std::string narrow(LPCOLESTR text) {
  if (!text || !*text) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(size - 1));
  return out;
}

}  // namespace

PropertyFrame::PropertyFrame(LPCOLESTR caption) {
  const std::string name = narrow(caption);
  m_title = name.empty() ? "Properties" : name + " Properties";
}

PropertyFrame::~PropertyFrame() { releasePages(); }

HRESULT PropertyFrame::addPages(ULONG cObjects, IUnknown** objects, ULONG cPages, const CLSID* clsids) {
  for (ULONG i = 0; i < cPages; ++i) {
    Page entry;
    HRESULT hr = CoCreateInstance(clsids[i], nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, entry.page.putVoid());
    if (FAILED(hr)) return hr;
    entry.page->SetPageSite(this);
    m_pages.push_back(entry);
    hr = entry.page->SetObjects(cObjects, objects);
    if (FAILED(hr)) return hr;
    PROPPAGEINFO info{};
    info.cb = sizeof(info);
    if (SUCCEEDED(entry.page->GetPageInfo(&info))) {
      m_pages.back().title = narrow(info.pszTitle);
      m_pages.back().size = info.size;
      CoTaskMemFree(info.pszTitle);
      CoTaskMemFree(info.pszDocString);
      CoTaskMemFree(info.pszHelpFile);
    }
  }
  return S_OK;
}

SIZE PropertyFrame::pageAreaSize() const {
  SIZE area{0, 0};
  for (const Page& entry : m_pages) {
    area.cx = std::max(area.cx, entry.size.cx);
    area.cy = std::max(area.cy, entry.size.cy);
  }
  const LONG tabs = static_cast<LONG>(m_pages.size()) * (kTabWidth + kGap) - kGap;
  area.cx = std::max({area.cx, tabs, static_cast<LONG>(2 * kButtonWidth + kGap)});
  return area;
}

HRESULT PropertyFrame::run(HWND owner, int x, int y) {
  const SIZE area = pageAreaSize();
  const int pageTop = kMargin + kTabHeight + kGap;
  m_pageArea = RECT{kMargin, pageTop, kMargin + area.cx, pageTop + area.cy};
  const int width = area.cx + 2 * kMargin;
  const int height = m_pageArea.bottom + kGap + kButtonHeight + kMargin;

  std::vector<res::Control> controls;
  for (std::size_t i = 0; i < m_pages.size(); ++i) {
    controls.push_back({"BUTTON", kFirstTab + static_cast<int>(i), m_pages[i].title.c_str(),
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                        kMargin + static_cast<int>(i) * (kTabWidth + kGap), kMargin, kTabWidth, kTabHeight});
  }
  const int buttonsTop = height - kMargin - kButtonHeight;
  const int cancelLeft = width - kMargin - kButtonWidth;
  controls.push_back({"BUTTON", IDOK, "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
                      cancelLeft - kGap - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight});
  controls.push_back({"BUTTON", IDCANCEL, "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                      cancelLeft, buttonsTop, kButtonWidth, kButtonHeight});
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  const res::Dialog dialog{0,     m_title.c_str(), "",    style,           WS_EX_DLGMODALFRAME, x, y,
                           width, height,          controls.data(), controls.size()};

  HWND ownerTop = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  m_frame = DialogManager::create(dialog, nullptr, ownerTop, frameProc, reinterpret_cast<LPARAM>(this));
  if (!m_frame) return E_OUTOFMEMORY;
  // With nobody to close it, the user takes OK, as with a message box's default button.
  const HWND frame = m_frame;
  const auto pressOk = [frame] {
    SendMessageA(frame, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(frame, IDOK)));
    return true;
  };
  DialogManager::runModal(m_frame, ownerTop, {}, pressOk);
  m_frame = nullptr;
  return S_OK;
}

INT_PTR CALLBACK PropertyFrame::frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<PropertyFrame*>(lParam);
    SetWindowLongPtrA(frame, DWLP_USER, lParam);
    self->m_frame = frame;
    self->activatePages();
    return TRUE;
  }
  auto* self = reinterpret_cast<PropertyFrame*>(GetWindowLongPtrA(frame, DWLP_USER));
  if (message != WM_COMMAND || !self) return FALSE;
  return self->onCommand(LOWORD(wParam)) ? TRUE : FALSE;
}

bool PropertyFrame::onCommand(int id) {
  if (id == IDOK) {
    applyPages();
    DialogManager::end(m_frame, IDOK);
    return true;
  }
  if (id == IDCANCEL) {
    DialogManager::end(m_frame, IDCANCEL);
    return true;
  }
  const std::size_t tab = static_cast<std::size_t>(id - kFirstTab);
  if (id < kFirstTab || tab >= m_pages.size()) return false;
  select(tab);
  return true;
}

void PropertyFrame::activatePages() {
  for (const Page& entry : m_pages) entry.page->Activate(m_frame, &m_pageArea, TRUE);
  m_current = 0;
  for (std::size_t i = 0; i < m_pages.size(); ++i) m_pages[i].page->Show(i == m_current ? SW_SHOW : SW_HIDE);
}

void PropertyFrame::select(std::size_t index) {
  if (index == m_current) return;
  m_pages[m_current].page->Show(SW_HIDE);
  m_current = index;
  m_pages[m_current].page->Show(SW_SHOW);
}

void PropertyFrame::applyPages() {
  for (const Page& entry : m_pages) entry.page->Apply();
}

void PropertyFrame::releasePages() {
  for (const Page& entry : m_pages) {
    entry.page->Deactivate();
    entry.page->SetObjects(0, nullptr);
    entry.page->SetPageSite(nullptr);
  }
  m_pages.clear();
}

STDMETHODIMP PropertyFrame::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPropertyPageSite) {
    *ppv = static_cast<IPropertyPageSite*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) PropertyFrame::AddRef() { return m_refs.addRef(); }

STDMETHODIMP_(ULONG) PropertyFrame::Release() { return m_refs.release(); }

// The frame keeps no dirty state of its own: OK applies every page.
STDMETHODIMP PropertyFrame::OnStatusChange(DWORD) { return S_OK; }

STDMETHODIMP PropertyFrame::GetLocaleID(LCID* pLocaleID) {
  if (!pLocaleID) return E_POINTER;
  *pLocaleID = 0x0409;
  return S_OK;
}

STDMETHODIMP PropertyFrame::GetPageContainer(IUnknown** ppUnk) {
  if (!ppUnk) return E_POINTER;
  *ppUnk = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP PropertyFrame::TranslateAccelerator(LPMSG) { return S_FALSE; }

}  // namespace plat
