#include "windows/main/CSkinDialog.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "skin/CIniFile.h"
#include "skin/CSkinButton.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinValues.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <win32/module.h>

#include <new>

namespace {

constexpr int kIconId = 128;
constexpr int kLauncherDisplayMode = 105;
// Design space of the client area, and of the restored layout's buttons from index 4 on.
constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 768;
constexpr int kRestoredDesignWidth = 800;
constexpr int kRestoredDesignHeight = 600;
constexpr int kFirstRestoredScaledButton = 4;
// The caption strip's height in design units.
constexpr int kCaptionStripHeight = 76;

using HtmlHelpProc = HWND (*)(HWND, LPCSTR, UINT, DWORD_PTR);

}  // namespace

BEGIN_MESSAGE_MAP(CSkinDialog, CDialog)
  ON_WM_PAINT()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(WM_HELP, OnHelpMessage)
  ON_MESSAGE(UM_REMOTE_KEY, OnRemoteKey)
  ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

CSkinDialog::CSkinDialog(UINT nIDTemplate, CWnd* pParent, LPCSTR buttonSection, LPCSTR restoredButtonSection)
    : CDialog(nIDTemplate, pParent), m_buttonSection(buttonSection), m_restoredButtonSection(restoredButtonSection) {
  m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(kIconId));
}

CSkinDialog::~CSkinDialog() {
  DestroySkinButtons();
  ReleaseBitmap(m_background);
}

void CSkinDialog::DestroySkinButtons() {
  for (CSkinButton* button : m_skinButtons) {
    if (button->GetSafeHwnd()) button->DestroyWindow();
    delete button;
  }
  m_skinButtons.clear();
  m_buttonKeys.clear();
}

void CSkinDialog::DoDataExchange(CDataExchange*) {}

CString CSkinDialog::GetFullPath(const CString& file) {
  CString folder = file.Left(file.ReverseFind('\\') + 1);
  folder.TrimRight('\\');
  return folder + "\\";
}

CString CSkinDialog::GetAppFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  CString folder = path;
  return folder.Left(folder.ReverseFind('\\') + 1);
}

void CSkinDialog::ShowHelp(const CString& folder) {
  if (folder.IsEmpty()) return;
  static HMODULE viewer = nullptr;
  if (!viewer) viewer = ::LoadLibraryA("hhctrl.ocx");
  if (!viewer) return;
  if (auto open = reinterpret_cast<HtmlHelpProc>(::GetProcAddress(viewer, "HtmlHelpA")))
    open(nullptr, folder + "help\\help.chm", 0, 0);
}

void CSkinDialog::StretchDrawBitmap(HDC hdc, int x1, int y1, int x2, int y2, HBITMAP hBitmap) {
  if (!hBitmap) return;
  const int oldMode = ::SetStretchBltMode(hdc, COLORONCOLOR);
  StretchWholeBitmap(hdc, RECT{x1, y1, x2, y2}, hBitmap);
  ::SetStretchBltMode(hdc, oldMode);
}

int CSkinDialog::FirstButtonCommandId() const { return kFirstSkinButtonId; }

int CSkinDialog::FirstRestoredScaledButton() const { return kFirstRestoredScaledButton; }

CString CSkinDialog::ButtonSection(BOOL maximised) const {
  return maximised ? m_buttonSection : m_restoredButtonSection;
}

BOOL CSkinDialog::CreateSkinButtons(BOOL maximised) {
  const CIniFile ini(m_skinFile);
  const CString section = ButtonSection(maximised);
  CStringArray keys;
  ini.GetSectionKeys(section, keys);
  const CSize client = ClientSize();
  const CString folder = GetFullPath(m_skinFile);
  for (int key = 1; key <= static_cast<int>(keys.GetSize()); ++key) {
    SkinButtonEntry entry;
    if (!ReadButtonEntry(ini, section, key, entry)) continue;
    auto* button = new (std::nothrow) CSkinButton;
    if (!button) {
      if (SkipsFailedButtons()) continue;
      return FALSE;
    }
    button->SetCommandId(entry.nCommandId - kFirstSkinButtonId + FirstButtonCommandId());
    button->SetName(entry.strName);
    HBITMAP strip = nullptr;
    SIZE size{};
    LoadPictureFile(folder + entry.strImage, strip, size);
    button->SetShowCaption(FALSE);
    button->SetImage(strip, entry.rcDesign.left, entry.rcDesign.top, entry.rcDesign.right, entry.rcDesign.bottom);
    ReleaseBitmap(strip);
    if (!button->Create("", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, ScaleDesignRect(entry.rcDesign, client.cx, client.cy),
                        this, 0)) {
      delete button;
      if (SkipsFailedButtons()) continue;
      return FALSE;
    }
    m_skinButtons.push_back(button);
    m_buttonKeys.push_back(key);
  }
  return TRUE;
}

BOOL CSkinDialog::LoadSkinButtons(const CString& skinFile) {
  m_skinFile = skinFile;
  PlaceWindow();
  return CreateSkinButtons(g_isMaximized);
}

void CSkinDialog::SwitchButtonLayout(BOOL maximised) {
  const CIniFile ini(m_skinFile);
  const CString section = ButtonSection(maximised);
  const CString folder = GetFullPath(m_skinFile);
  for (size_t i = 0; i < m_skinButtons.size(); ++i) {
    SkinButtonEntry entry;
    if (!ReadButtonEntry(ini, section, m_buttonKeys[i], entry)) continue;
    HBITMAP strip = nullptr;
    SIZE size{};
    LoadPictureFile(folder + entry.strImage, strip, size);
    m_skinButtons[i]->SetImage(strip, entry.rcDesign.left, entry.rcDesign.top, entry.rcDesign.right,
                               entry.rcDesign.bottom);
    ReleaseBitmap(strip);
  }
}

void CSkinDialog::LoadShapeRegion(BOOL maximised) {
  const CIniFile ini(m_skinFile);
  const CString file = ini.GetString("Main-ShapeWindowBKbmp", maximised ? "1" : "2", "");
  if (file.IsEmpty()) return;
  LoadPictureFile(GetFullPath(m_skinFile) + file, m_background, m_backgroundSize);
}

void CSkinDialog::LayoutSkinButtons() {
  const CSize client = ClientSize();
  for (size_t k = 0; k < m_skinButtons.size(); ++k) {
    RECT design{};
    m_skinButtons[k]->GetSkinRect(design);
    CRect rc;
    if (static_cast<int>(k) >= FirstRestoredScaledButton() && !g_isMaximized)
      rc = ScaleRect(design, client.cx, client.cy, kRestoredDesignWidth, kRestoredDesignHeight);
    else
      rc = ScaleDesignRect(design, client.cx, client.cy);
    m_skinButtons[k]->MoveWindow(&rc, TRUE);
  }
  LayoutHostedControl();
  Invalidate();
}

void CSkinDialog::MaximizeToWorkArea(BOOL savePlacement) {
  if (savePlacement && g_sharedPlacement) GetWindowPlacement(g_sharedPlacement);
  LoadShapeRegion(TRUE);
  SwitchButtonLayout(TRUE);
  CRect window;
  GetWindowRect(&window);
  CPoint origin(0, 0);
  ClientToScreen(&origin);
  const CSize client = ClientSize();
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  placement.showCmd = SW_SHOWNORMAL;
  placement.rcNormalPosition = {window.left - origin.x, 0,
                                ::GetSystemMetrics(SM_CXSCREEN) + (window.right - origin.x - client.cx),
                                ::GetSystemMetrics(SM_CYSCREEN) + (window.bottom - origin.y - client.cy)};
  placement.ptMaxPosition = {placement.rcNormalPosition.left, 0};
  SetWindowPlacement(&placement);
  g_isMaximized = 1;
  LayoutSkinButtons();
}

void CSkinDialog::RestorePlacement() {
  if (!g_isMaximized) return;
  g_isMaximized = 0;
  LoadShapeRegion(FALSE);
  SwitchButtonLayout(FALSE);
  if (g_sharedPlacement) SetWindowPlacement(g_sharedPlacement);
  LayoutSkinButtons();
}

void CSkinDialog::ShowAtSharedRect() {
  if (!g_isMaximized) {
    MoveWindow(&g_sharedWindowRect, TRUE);
    LayoutSkinButtons();
  } else {
    MaximizeToWorkArea(FALSE);
  }
  Invalidate();
}

void CSkinDialog::PlaceWindow() {
  if (!g_isMaximized) {
    MoveWindow(&g_sharedWindowRect, TRUE);
    LoadShapeRegion(FALSE);
  } else {
    MaximizeToWorkArea(FALSE);
  }
}

void CSkinDialog::ReturnToSharedPlace() {
  if (!g_isMaximized) {
    LoadShapeRegion(FALSE);
    SwitchButtonLayout(FALSE);
    MoveWindow(&g_sharedWindowRect, TRUE);
  } else {
    MaximizeToWorkArea(FALSE);
  }
}

void CSkinDialog::StoreSharedRect() { GetWindowRect(&g_sharedWindowRect); }

void CSkinDialog::ReturnToParent(int displayMode) {
  StoreSharedRect();
  if (CWnd* parent = GetParent()) {
    parent->ShowWindow(SW_SHOW);
    ::SendMessageA(parent->GetSafeHwnd(), UM_ATTACH_VIDEO, 0, 0);
    ::SendMessageA(parent->GetSafeHwnd(), UM_REFRESH_LAYOUT, 0, 0);
  }
  if (g_pDisplayMode) g_pDisplayMode->SetMode(displayMode);
}

CSkinButton* CSkinDialog::FindSkinButton(LPCSTR name) const {
  for (CSkinButton* button : m_skinButtons)
    if (button->GetName() == name) return button;
  return nullptr;
}

BOOL CSkinDialog::IsButtonUsable(LPCSTR name) const {
  const CSkinButton* button = FindSkinButton(name);
  return button && button->IsEnabled();
}

CSkinButton* CSkinDialog::GetSkinButton(int index) const {
  return index >= 0 && index < GetSkinButtonCount() ? m_skinButtons[static_cast<size_t>(index)] : nullptr;
}

void CSkinDialog::ShowSkinButtons(BOOL show) {
  for (CSkinButton* button : m_skinButtons) {
    button->SetDisabled(!show);
    button->ShowWindow(show ? SW_SHOW : SW_HIDE);
  }
}

BOOL CSkinDialog::HandleFrameButton(const CString& name) {
  if (name == "CLOSE_BUTTON") {
    if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (name == "NORMAL_BUTTON") {
    ToggleMaximized();
  } else if (name == "MINISIZE_BUTTON") {
    if (CWnd* main = AfxGetMainWnd()) main->ShowWindow(SW_MINIMIZE);
  } else if (name == "HELP_BUTTON") {
    ShowHelp(GetAppFolder());
  } else {
    return FALSE;
  }
  return TRUE;
}

void CSkinDialog::ToggleMaximized() {
  if (g_isMaximized) RestorePlacement();
  else MaximizeToWorkArea(TRUE);
}

BOOL CSkinDialog::SwallowsButtonAction() {
  if (!m_dblClickSeen && !m_swallowAfterFullScreen) return FALSE;
  ClearGuards();
  return TRUE;
}

void CSkinDialog::ClearGuards() {
  m_dblClickSeen = FALSE;
  m_swallowAfterFullScreen = FALSE;
}

void CSkinDialog::GoToLauncher(WPARAM leftMode) {
  if (g_pAppController && g_pAppController->IsPreviewing()) {
    g_pAppController->StopPreview();
    g_pAppController->SetIdle();
  }
  StoreSharedRect();
  m_otherWindowShown = TRUE;
  if (CWnd* main = AfxGetMainWnd()) {
    main->ShowWindow(SW_SHOW);
    main->SendMessage(UM_REFRESH_LAYOUT, leftMode, 0);
  }
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kLauncherDisplayMode);
}

BOOL CSkinDialog::IsNamed(const CSkinButton* button, std::initializer_list<LPCSTR> names) {
  for (LPCSTR name : names)
    if (button->GetName() == name) return TRUE;
  return FALSE;
}

void CSkinDialog::UnmarkButtonsFrom(int first) {
  for (int i = first; i < GetSkinButtonCount(); ++i) {
    CSkinButton* button = GetSkinButton(i);
    if (!button->GetHover()) continue;
    button->SetHover(FALSE);
    button->Invalidate();
  }
}

int CSkinDialog::FindMarkedButton(int first) const {
  for (int i = first; i < GetSkinButtonCount(); ++i)
    if (GetSkinButton(i)->GetHover()) return i;
  return -1;
}

void CSkinDialog::MoveButtonMark(int from, int to) {
  if (CSkinButton* old = GetSkinButton(from)) {
    old->SetHover(FALSE);
    old->Invalidate();
  }
  if (CSkinButton* next = GetSkinButton(to)) {
    next->SetHover(TRUE);
    next->Invalidate();
  }
}

void CSkinDialog::StepButtonMark(int first, int step) {
  const int last = GetSkinButtonCount() - 1;
  if (last < first) return;
  const int from = FindMarkedButton(first);
  int to = first;
  if (step < 0 && from >= 0) to = from == first ? last : from - 1;
  else if (step > 0 && from >= 0 && from != last) to = from + 1;
  MoveButtonMark(from, to);
}

void CSkinDialog::FollowHoverHint(WPARAM buttonId, LPARAM source, int first) {
  if (source == 0) UnmarkButtonsFrom(first);
  const int id = static_cast<int>(buttonId);
  if (id >= first && id < GetSkinButtonCount()) MoveButtonMark(-1, id);
}

void CSkinDialog::OnSkinButton(const CString&) {}

BOOL CSkinDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (!pHandlerInfo) {
    for (CSkinButton* button : m_skinButtons) {
      if (button->GetCommandId() != static_cast<int>(nID)) continue;
      if (nCode == CN_COMMAND) OnSkinButton(button->GetName());
      return TRUE;
    }
  }
  return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CSkinDialog::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    if (pMsg->wParam == VK_ESCAPE) return TRUE;
    if (pMsg->wParam == 'H' || pMsg->wParam == VK_F1) {
      ShowHelp(GetAppFolder());
      return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(pMsg);
}

BOOL CSkinDialog::PreTranslateWindowKeys(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
    if (pMsg->wParam == VK_ESCAPE) return DispatchToControl(pMsg);
    if (pMsg->wParam == VK_BACK) return GoBackByKey();
    if (OnKey(pMsg)) return TRUE;
  }
  return CSkinDialog::PreTranslateMessage(pMsg);
}

BOOL CSkinDialog::DispatchToControl(MSG* pMsg) {
  ::TranslateMessage(pMsg);
  ::DispatchMessageA(pMsg);
  return TRUE;
}

BOOL CSkinDialog::GoBackByKey() {
  m_dblClickSeen = FALSE;
  OnSkinButton("RETURN_BUTTON");
  return TRUE;
}

void CSkinDialog::PaintSkin(CDC& dc) {
  if (m_background) {
    CRect rc;
    GetClientRect(&rc);
    StretchDrawBitmap(dc.GetSafeHdc(), rc.left, rc.top, rc.right, rc.bottom, m_background);
  }
  for (CSkinButton* button : m_skinButtons) button->Invalidate();
}

void CSkinDialog::OnPaint() {
  CPaintDC dc(this);
  PaintSkin(dc);
}

LRESULT CSkinDialog::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

CSize CSkinDialog::ClientSize() const {
  CRect rc;
  GetClientRect(&rc);
  return {rc.Width(), rc.Height()};
}

BOOL CSkinDialog::FindSectionRect(LPCSTR section, CRect& design) const {
  const CIniFile ini(m_skinFile);
  CStringArray keys;
  ini.GetSectionKeys(section, keys);
  for (int key = 1; key <= static_cast<int>(keys.GetSize()); ++key) {
    CString keyName;
    keyName.Format("%d", key);
    if (ReadRect(ini, section, keyName, design) && !design.IsRectEmpty()) return TRUE;
  }
  return FALSE;
}

BOOL CSkinDialog::IsInCaptionStrip(CPoint point) const {
  const CSize client = ClientSize();
  return point.y < client.cy * kCaptionStripHeight / kDesignHeight;
}

void CSkinDialog::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!g_isMaximized) PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
  CDialog::OnLButtonDown(nFlags, point);
}

void CSkinDialog::OnLButtonDblClk(UINT nFlags, CPoint point) {
  m_dblClickSeen = TRUE;
  if (!IsInCaptionStrip(point)) return;
  ToggleMaximized();
  CDialog::OnLButtonDblClk(nFlags, point);
}

void CSkinDialog::OnMouseMove(UINT nFlags, CPoint point) {
  m_dblClickSeen = FALSE;
  CDialog::OnMouseMove(nFlags, point);
}

LRESULT CSkinDialog::OnHelpMessage(WPARAM, LPARAM) { return 0; }

LRESULT CSkinDialog::OnRemoteKey(WPARAM, LPARAM lParam) {
  m_dblClickSeen = FALSE;
  PressButtonOfRemoteKey(lParam);
  return 0;
}

BOOL CSkinDialog::PressButtonOfRemoteKey(LPARAM key) {
  if (key == kRemoteKeyReturn) OnSkinButton("RETURN_BUTTON");
  else if (key == kRemoteKeyClose) OnSkinButton("CLOSE_BUTTON");
  else return FALSE;
  return TRUE;
}

LRESULT CSkinDialog::SizingWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: m_sizedFlag = TRUE; break;
    case WM_ENTERSIZEMOVE:
    case WM_HELP: return 0;
    case WM_EXITSIZEMOVE:
      if (LayoutAfterSizing()) return 0;
      break;
    default: break;
  }
  return CSkinDialog::WindowProc(message, wParam, lParam);
}

LRESULT CSkinDialog::PageWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (!wParam) return 0;
      OnActivated();
      LayoutSkinButtons();
      return 0;
    case WM_SIZE:
      if (HidesBehindOtherWindow(wParam)) return 0;
      break;
    case WM_SYSCOMMAND:
      if (CloseProgramFromSystemMenu(wParam)) return 0;
      break;
    default: break;
  }
  return SizingWindowProc(message, wParam, lParam);
}

BOOL CSkinDialog::LayoutAfterSizing() {
  if (!m_sizedFlag) return FALSE;
  LayoutSkinButtons();
  m_sizedFlag = FALSE;
  return TRUE;
}

BOOL CSkinDialog::HidesBehindOtherWindow(WPARAM sizeType) {
  if (sizeType != SIZE_RESTORED || !m_otherWindowShown) return FALSE;
  ShowWindow(SW_HIDE);
  return TRUE;
}

BOOL CSkinDialog::CloseProgramFromSystemMenu(WPARAM command) {
  if ((command & 0xFFF0) != SC_CLOSE) return FALSE;
  if (const CSkinButton* close = FindSkinButton("CLOSE_BUTTON"); close && !close->IsEnabled()) return TRUE;
  if (CWnd* main = AfxGetMainWnd(); main && main != this) main->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  return TRUE;
}

HCURSOR CSkinDialog::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CSkinDialog::InitShell(LPCSTR title, BOOL appWindow) {
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0);
  if (appWindow) ModifyStyleEx(0, WS_EX_APPWINDOW);
  SetWindowText(title);
}

BOOL CSkinDialog::PaintIconic() {
  if (!IsIconic()) return FALSE;
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  CRect rc;
  GetClientRect(&rc);
  const int x = (rc.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (rc.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(dc.GetSafeHdc(), x, y, m_hIcon);
  return TRUE;
}
