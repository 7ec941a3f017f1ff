#include "windows/main/CShapeBarDlg.h"

#include "core/CDisplayMode.h"
#include "skin/CIniFile.h"
#include "skin/CShapeButton.h"
#include "skin/CShapeSlider.h"
#include "skin/CSkinSlider.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinValues.h"
#include "windows/main/CAppBar.h"
#include "windows/main/WindowMessages.h"

#include <win32/file.h>
#include <win32/user/appbar.h>
#include <win32/user/cursorfile.h>

#include <new>

RECT g_barDockRect = {0, 0, 0, 0};

namespace {

constexpr COLORREF kMaskTransparent = 0xFF00FF;
constexpr COLORREF kMaskTolerance = 0x101010;
constexpr RECT kVolumeSliderRect = {195, 38, 266, 49};
constexpr UINT kVolumeChannelBitmap = 144;
constexpr UINT kVolumeThumbBitmap = 145;

BOOL IsTrue(const CString& field) { return field.CompareNoCase("TRUE") == 0; }

void ReadTail(CString& value, CShapeBarDlg::ShapeEntry& entry) {
  entry.useCursor = IsTrue(CutField(value));
  if (entry.useCursor) entry.cursorFile = CutField(value);
  entry.shaped = IsTrue(CutField(value));
  if (!entry.shaped) return;
  const int red = FieldToInt(CutField(value));
  const int green = FieldToInt(CutField(value));
  const int blue = FieldToInt(CutField(value));
  entry.colour = RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
}

// name, left, top, right, bottom, tooltip, useCursor[, cursor], shaped[, red, green, blue]
CShapeBarDlg::ShapeEntry ReadButtonEntry(CString value) {
  CShapeBarDlg::ShapeEntry entry;
  entry.name = CutField(value);
  entry.rect = CutRect(value);
  entry.tooltip = CutField(value);
  ReadTail(value, entry);
  return entry;
}

// name, tooltip, left, top, right, bottom, orientation, useCursor[, cursor], shaped[, ...]
CShapeBarDlg::ShapeEntry ReadProgressEntry(CString value) {
  CShapeBarDlg::ShapeEntry entry;
  entry.name = CutField(value);
  entry.tooltip = CutField(value);
  entry.rect = CutRect(value);
  entry.horizontal = CutField(value) == "H";
  ReadTail(value, entry);
  return entry;
}

// The region reader compares the colour's low byte with blue.
COLORREF SwapRedBlue(COLORREF colour) {
  return RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour));
}

int KeyCount(const CIniFile& ini, LPCSTR section) {
  CStringArray keys;
  ini.GetSectionKeys(section, keys);
  return static_cast<int>(keys.GetSize());
}

}  // namespace

BEGIN_MESSAGE_MAP(CShapeBarDlg, CDialog)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_ACTIVATE()
  ON_WM_SHOWWINDOW()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_SIZE()
  ON_WM_NCHITTEST()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_TIMER()
  ON_MESSAGE(UM_BAR_CONTROL, OnBarControl)
  ON_MESSAGE(UM_BAR_COMMAND, OnBarCommand)
  ON_MESSAGE(UM_PROGRESS_TRACK, OnProgressTrack)
  ON_MESSAGE(UM_PROGRESS_SET, OnProgressSet)
  ON_MESSAGE(UM_SLIDER_TRACK, OnSliderTrack)
  ON_MESSAGE(UM_SLIDER_SET, OnSliderSet)
END_MESSAGE_MAP()

CShapeBarDlg::CShapeBarDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

CShapeBarDlg::~CShapeBarDlg() {
  ReleaseControls();
  delete m_appBar;
}

// ---- Skin

BOOL CShapeBarDlg::LoadSkin(const CString& path) {
  if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return FALSE;
  m_skinPath = path;
  const CIniFile ini(path);
  const CString folder = GetSkinFilePath(ini, "");
  SIZE size{};
  LoadPictureFile(folder + ini.GetString("ShapeWindowInfo", "Normal", ""), m_bmpNormal, size);
  LoadPictureFile(folder + ini.GetString("ShapeWindowInfo", "Mask", ""), m_bmpMask, size);
  LoadPictureFile(folder + ini.GetString("ShapeWindowInfo", "Hovered", ""), m_bmpHovered, size);
  LoadPictureFile(folder + ini.GetString("ShapeWindowInfo", "Pressed", ""), m_bmpPressed, size);
  LoadPictureFile(folder + ini.GetString("ShapeWindowInfo", "Disabled", ""), m_bmpDisabled, size);
  if (HRGN region = m_bmpMask ? BitmapToRegion(m_bmpMask, kMaskTransparent, kMaskTolerance) : nullptr) {
    HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(copy, region, nullptr, RGN_COPY);
    if (!SetWindowRgn(m_hWnd, copy, TRUE)) ::DeleteObject(copy);
    ::DeleteObject(region);
  }
  if (!CreateSkinButtons() || !CreateVolumeSlider() || !CreateProgressBars()) return FALSE;
  ResetControls();
  return TRUE;
}

HRGN CShapeBarDlg::MakeControlRegion(const RECT& rect, BOOL shaped, COLORREF colour) const {
  const int width = SkinWidth(rect);
  const int height = SkinHeight(rect);
  if (!shaped) return ::CreateRectRgn(0, 0, width, height);
  HBITMAP cut = CutBitmap(m_bmpMask, rect.left, rect.top, width, height);
  if (!cut) return nullptr;
  // Every pixel of another colour is what the region reader keeps; the rest is the shape.
  HRGN others = BitmapToRegion(cut, SwapRedBlue(colour), 0);
  ::DeleteObject(cut);
  HRGN shape = ::CreateRectRgn(0, 0, width, height);
  const int kind = others ? ::CombineRgn(shape, shape, others, RGN_DIFF) : SIMPLEREGION;
  if (others) ::DeleteObject(others);
  if (kind == NULLREGION || kind == ERROR) {
    ::DeleteObject(shape);
    return nullptr;
  }
  return shape;
}

HCURSOR CShapeBarDlg::LoadSkinCursor(const CString& file) const {
  const CIniFile ini(m_skinPath);
  return ::LoadCursorFromFileA(GetSkinFilePath(ini, file));
}

// The cursor, the hit region and the window of a shaped control, and its tooltip.
template <class Control>
BOOL CShapeBarDlg::FinishControl(Control& control, const ShapeEntry& entry) {
  if (entry.useCursor) {
    HCURSOR cursor = LoadSkinCursor(entry.cursorFile);
    if (!cursor) return FALSE;
    control.SetUseCursor(TRUE);
    control.SetCursor(cursor);
  }
  HRGN region = MakeControlRegion(entry.rect, entry.shaped, entry.colour);
  if (!region) return FALSE;
  control.SetRegion(region);
  ::DeleteObject(region);
  if (!control.Create("", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, entry.rect, this, 0)) return FALSE;
  control.SetTooltipText(entry.tooltip, TRUE);
  return TRUE;
}

BOOL CShapeBarDlg::CreateSkinButtons() {
  const CIniFile ini(m_skinPath);
  const int count = KeyCount(ini, "ShapeButtonInfo");
  for (int k = 1; k <= count; ++k) {
    CString key;
    key.Format("Button%d", k);
    const CString value = ini.GetString("ShapeButtonInfo", key, "");
    if (value.IsEmpty()) continue;
    const ShapeEntry entry = ReadButtonEntry(value);
    auto* button = new (std::nothrow) CShapeButton;
    if (!button) return FALSE;
    button->SetStateBitmaps(m_bmpNormal, m_bmpHovered, m_bmpPressed, m_bmpDisabled, entry.rect, entry.rect,
                            entry.rect, entry.rect);
    button->SetName(entry.name);
    button->SetCommandTag(static_cast<WPARAM>(kFirstButtonId + k - 1));
    if (!FinishControl(*button, entry)) {
      delete button;
      return FALSE;
    }
    m_buttons.push_back(button);
  }
  return TRUE;
}

BOOL CShapeBarDlg::CreateProgressBars() {
  const CIniFile ini(m_skinPath);
  const int count = KeyCount(ini, "ShapeProgressInfo");
  for (int k = 1; k <= count; ++k) {
    CString key;
    key.Format("Progress%d", k);
    const CString value = ini.GetString("ShapeProgressInfo", key, "");
    if (value.IsEmpty()) continue;
    const ShapeEntry entry = ReadProgressEntry(value);
    auto* progress = new (std::nothrow) CShapeSlider;
    if (!progress) return FALSE;
    progress->SetStateBitmaps(m_bmpNormal, m_bmpHovered, m_bmpPressed, m_bmpDisabled, m_bmpNormal, entry.rect,
                              entry.rect, entry.rect, entry.rect, entry.rect);
    progress->SetName(entry.name);
    progress->SetHorizontal(entry.horizontal);
    progress->SetRange(0, 100, FALSE);
    const auto id = static_cast<WPARAM>(kFirstProgressId + k - 1);
    progress->SetNotifyTag(id);
    if (!FinishControl(*progress, entry)) {
      delete progress;
      return FALSE;
    }
    m_progressBars.push_back(progress);
    m_progressIds.push_back(id);
  }
  return TRUE;
}

BOOL CShapeBarDlg::CreateVolumeSlider() {
  if (m_volumeSlider) return TRUE;
  m_volumeSlider = new (std::nothrow) CSkinSlider;
  if (!m_volumeSlider) return FALSE;
  if (!m_volumeSlider->Create("", WS_CHILD | WS_VISIBLE, kVolumeSliderRect, this, kVolumeSliderId)) {
    delete m_volumeSlider;
    m_volumeSlider = nullptr;
    return FALSE;
  }
  m_volumeSlider->SetChannelBitmaps(kVolumeChannelBitmap, 0, FALSE, TRUE, 0xFF00FF);
  m_volumeSlider->SetThumbBitmaps(kVolumeThumbBitmap, 0, FALSE, 0xFF000000);
  m_volumeSlider->SetDrawFocusRect(FALSE);
  m_volumeSlider->SetRange(0, 100);
  m_volumeSlider->SetMargins(0, 0, 0, 0);
  m_volumeSlider->SetPos(50);
  m_volumeSlider->SetBkColor(0);
  m_volumeSlider->Enable(TRUE);
  return TRUE;
}

void CShapeBarDlg::ResetControls() {
  EnableSliderByName("PROGRESS_POS", FALSE);
  EnableButtons(TRUE, {"STOP_MOVIE"});
  Invalidate();
}

void CShapeBarDlg::EnableButtons(BOOL allow, std::initializer_list<LPCSTR> names) {
  for (CShapeButton* button : m_buttons) {
    BOOL named = FALSE;
    for (LPCSTR name : names) named = named || button->GetName() == name;
    button->EnableButton(allow ? named : !named);
  }
}

void CShapeBarDlg::ReleaseControls() {
  for (CShapeButton* button : m_buttons) {
    if (button->GetSafeHwnd()) button->DestroyWindow();
    delete button;
  }
  m_buttons.clear();
  for (CShapeSlider* progress : m_progressBars) {
    if (progress->GetSafeHwnd()) progress->DestroyWindow();
    delete progress;
  }
  m_progressBars.clear();
  m_progressIds.clear();
  if (m_volumeSlider) {
    if (m_volumeSlider->GetSafeHwnd()) m_volumeSlider->DestroyWindow();
    delete m_volumeSlider;
    m_volumeSlider = nullptr;
  }
  ReleaseBitmap(m_bmpNormal);
  ReleaseBitmap(m_bmpHovered);
  ReleaseBitmap(m_bmpPressed);
  ReleaseBitmap(m_bmpDisabled);
  ReleaseBitmap(m_bmpMask);
}

// ---- Controls by name

CShapeButton* CShapeBarDlg::FindButton(LPCSTR name) const {
  for (CShapeButton* button : m_buttons)
    if (button->GetName() == name) return button;
  return nullptr;
}

CShapeSlider* CShapeBarDlg::FindProgress(LPCSTR name) const {
  for (CShapeSlider* progress : m_progressBars)
    if (progress->GetName() == name) return progress;
  return nullptr;
}

int CShapeBarDlg::EnableSliderByName(LPCSTR name, BOOL enable) {
  CShapeSlider* progress = FindProgress(name);
  return progress ? progress->EnableButton(enable) : 0;
}

BOOL CShapeBarDlg::SetSliderPosByName(LPCSTR name, int pos) {
  CShapeSlider* progress = FindProgress(name);
  if (!progress) return FALSE;
  progress->SetPos(pos);
  return TRUE;
}

void CShapeBarDlg::SetVolumePos(int pos) {
  if (m_volumeSlider) m_volumeSlider->SetPos(pos);
}

void CShapeBarDlg::OnSkinButton(const CString& name) {
  const CShapeButton* button = FindButton(name);
  if (!button || !button->IsButtonEnabled()) return;
  if (CWnd* owner = GetParent())
    ::SendMessageA(owner->GetSafeHwnd(), UM_BAR_COMMAND, reinterpret_cast<WPARAM>(static_cast<LPCSTR>(name)), 0);
}

BOOL CShapeBarDlg::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (!pHandlerInfo) {
    for (CShapeButton* button : m_buttons) {
      if (button->GetCommandTag() != nID) continue;
      if (nCode == CN_COMMAND) OnSkinButton(button->GetName());
      return TRUE;
    }
  }
  return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CShapeBarDlg::OnBarCommand(WPARAM wParam, LPARAM) {
  for (CShapeButton* button : m_buttons)
    if (button->GetCommandTag() == wParam) {
      OnSkinButton(button->GetName());
      break;
    }
  return 0;
}

CShapeSlider* CShapeBarDlg::FindProgressById(WPARAM id) const {
  for (size_t i = 0; i < m_progressBars.size(); ++i)
    if (m_progressIds[i] == id) return m_progressBars[i];
  return nullptr;
}

LRESULT CShapeBarDlg::OnProgressTrack(WPARAM wParam, LPARAM lParam) {
  if (CShapeSlider* progress = FindProgressById(wParam)) OnProgressMoved(progress->GetName(), static_cast<int>(lParam));
  return 0;
}

LRESULT CShapeBarDlg::OnProgressSet(WPARAM wParam, LPARAM lParam) {
  if (CShapeSlider* progress = FindProgressById(wParam))
    OnProgressReleased(progress->GetName(), static_cast<int>(lParam));
  return 0;
}

LRESULT CShapeBarDlg::OnSliderTrack(WPARAM wParam, LPARAM lParam) {
  if (CWnd* owner = GetParent()) ::PostMessageA(owner->GetSafeHwnd(), UM_SLIDER_TRACK, wParam, lParam);
  return 0;
}

LRESULT CShapeBarDlg::OnSliderSet(WPARAM wParam, LPARAM lParam) {
  if (CWnd* owner = GetParent()) ::PostMessageA(owner->GetSafeHwnd(), UM_SLIDER_SET, wParam, lParam);
  return 0;
}

// ---- Docking and showing

int CShapeBarDlg::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CDialog::OnCreate(lpCreateStruct) == -1) return -1;
  m_appBar = new (std::nothrow) CAppBar(m_hWnd);
  if (!m_appBar) return 0;
  const LONG units = ::GetDialogBaseUnits();
  AppBarState state;
  state.autoHide = m_autoHideAtStart;
  state.edge = ABE_TOP;
  state.width = LOWORD(units) * 60 / 3;
  state.height = static_cast<int>(14 * HIWORD(units) / 3.7);
  m_appBar->SetState(state);
  m_appBar->Register();
  m_appBar->DockTo(ABE_BOTTOM, g_barDockRect, FALSE);
  return 0;
}

void CShapeBarDlg::OnDestroy() {
  if (m_appBar) {
    if (m_appBar->IsRegistered()) m_appBar->Unregister();
    delete m_appBar;
    m_appBar = nullptr;
  }
  RestoreCursor();
  KillHideTimer();
  ReleaseControls();
  CDialog::OnDestroy();
}

void CShapeBarDlg::RestoreCursor() {
  if (m_cursorShown) return;
  ::ShowCursor(TRUE);
  m_cursorShown = TRUE;
}

void CShapeBarDlg::SetAutoHide(BOOL on) {
  if (m_appBar) m_appBar->SetAutoHide(on);
}

void CShapeBarDlg::SetVideoWindow(HWND hwnd) {
  if (!::IsWindow(hwnd)) return;
  m_videoWindow = hwnd;
  if (m_appBar) m_appBar->SetReferenceWindow(hwnd);
}

void CShapeBarDlg::DockToVideo(BOOL setRect) {
  if (!m_appBar || !m_dockToVideo) return;
  ::GetWindowRect(m_videoWindow, &g_barDockRect);
  m_appBar->DockTo(ABE_BOTTOM, g_barDockRect, TRUE);
  if (setRect) m_appBar->SetDockRect(g_barDockRect.left, g_barDockRect.top, g_barDockRect.right, g_barDockRect.bottom);
}

void CShapeBarDlg::SetDockRect(int left, int top, int right, int bottom) {
  if (m_appBar) m_appBar->SetDockRect(left, top, right, bottom);
}

void CShapeBarDlg::ShowBar() {
  if (!m_appBar || m_shown) return;
  m_shown = TRUE;
  m_appBar->StartShowTimer();
}

// The owner hides the bar outright when its window goes (back to the launcher, another
// window in front): the bar is then not shown, so the next ShowBar shows it again. Hiding
// with a minimised owner (a status) leaves the state, as the window comes back with it.
void CShapeBarDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDialog::OnShowWindow(bShow, nStatus);
  if (bShow || nStatus != 0) return;
  m_shown = FALSE;
  if (m_appBar) m_appBar->WindowHidden();
}

void CShapeBarDlg::ShowNow() {
  if (!m_appBar) return;
  DockToVideo(FALSE);
  m_appBar->Show();
  if (!m_keepCursor) RestoreCursor();
  ReturnFocus();
}

void CShapeBarDlg::HideNow() {
  RestoreCursor();
  KillHideTimer();
  KillTimer(CAppBar::kShowTimer);
  ShowWindow(SW_HIDE);
  m_shown = FALSE;
}

void CShapeBarDlg::PlaceAtBottomOf(HWND window) {
  if (!m_hWnd || !::IsWindow(window)) return;
  CRect outer;
  ::GetWindowRect(window, &outer);
  CRect bar;
  GetClientRect(&bar);
  SetWindowPos(nullptr, outer.left, outer.bottom - bar.Height(), bar.Width(), bar.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void CShapeBarDlg::ShowDockedAlong(const RECT& dock) {
  SetDockRect(dock.left, dock.top, dock.right, dock.bottom);
  ShowNow();
  KillHideTimer();
  if (!m_keepCursor) m_keepCursor = TRUE;
}

void CShapeBarDlg::KillHideTimer() {
  if (m_hideTimer == kNoTimer) return;
  KillTimer(CAppBar::kHideTimer);
  m_hideTimer = kNoTimer;
}

LRESULT CShapeBarDlg::OnBarControl(WPARAM wParam, LPARAM lParam) {
  if (!m_appBar) return 0;
  switch (wParam) {
    case 0: m_appBar->DockTo(ABE_BOTTOM, g_barDockRect, TRUE); break;
    case 1: {
      POINT cursor{};
      ::GetCursorPos(&cursor);
      if ((cursor.x != m_lastCursor.x || cursor.y != m_lastCursor.y) && !m_shown) {
        m_shown = TRUE;
        m_appBar->StartShowTimer();
      } else if (lParam) {
        if (m_hideTimer == kNoTimer) m_hideTimer = SetTimer(CAppBar::kHideTimer, CAppBar::kHideTimerMs, nullptr);
      } else {
        KillHideTimer();
      }
      break;
    }
    case 2: m_appBar->StartHideTimer(); break;
    default: break;
  }
  return 0;
}

void CShapeBarDlg::HideOnTimer() {
  if (m_cursorShown && !m_keepCursor) {
    ::ShowCursor(FALSE);
    m_cursorShown = FALSE;
  }
  if (!m_shown) return;
  ::GetCursorPos(&m_lastCursor);
  KillTimer(CAppBar::kHideTimer);
  m_hideTimer = kNoTimer;
  DockToVideo(FALSE);
  m_appBar->Hide(FALSE);
  m_shown = FALSE;
}

void CShapeBarDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == CAppBar::kHideTimer && m_appBar) {
    HideOnTimer();
    return;
  }
  if (nIDEvent == CAppBar::kShowTimer) {
    KillTimer(CAppBar::kShowTimer);
    ShowNow();
  }
  CDialog::OnTimer(nIDEvent);
}

// The window of the display mode in front: the TV window or the media player.
void CShapeBarDlg::ReturnFocus() {
  if (!g_pDisplayMode) return;
  LPCSTR title = g_pDisplayMode->Is110() ? "Orvane Media_TVDlg" : g_pDisplayMode->Is115() ? "Orvane Media_AVDlg" : nullptr;
  if (!title) return;
  HWND viewer = ::FindWindowA(nullptr, title);
  if (viewer && ::GetFocus() != viewer) ::SetFocus(viewer);
}

// ---- Window messages

void CShapeBarDlg::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CDialog::OnActivate(nState, pWndOther, bMinimized);
  APPBARDATA data{sizeof(APPBARDATA), m_hWnd, 0, 0, {}, 0};
  ::SHAppBarMessage(ABM_ACTIVATE, &data);
}

void CShapeBarDlg::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  APPBARDATA data{sizeof(APPBARDATA), m_hWnd, 0, 0, {}, 0};
  ::SHAppBarMessage(ABM_WINDOWPOSCHANGED, &data);
  CDialog::OnWindowPosChanged(lpwndpos);
}

void CShapeBarDlg::OnSize(UINT nType, int cx, int cy) {
  CDialog::OnSize(nType, cx, cy);
  if (!m_appBar) return;
  AppBarState state = m_appBar->GetState();
  if (state.autoHide || state.hidden) return;
  CRect window;
  GetWindowRect(&window);
  if (state.edge == ABE_LEFT || state.edge == ABE_RIGHT) state.width = window.Width();
  else state.height = window.Height();
  m_appBar->SetState(state);
}

LRESULT CShapeBarDlg::OnNcHitTest(CPoint point) {
  const LRESULT hit = CDialog::OnNcHitTest(point);
  const int edge = m_appBar ? m_appBar->GetState().edge : ABE_BOTTOM;
  if ((edge == ABE_TOP && hit == HTBOTTOM) || (edge == ABE_BOTTOM && hit == HTTOP) ||
      (edge == ABE_LEFT && hit == HTRIGHT) || (edge == ABE_RIGHT && hit == HTLEFT))
    return hit;
  return HTCLIENT;
}

void CShapeBarDlg::OnMouseMove(UINT nFlags, CPoint point) {
  PostMessage(UM_BAR_CONTROL, 1, 0);
  CDialog::OnMouseMove(nFlags, point);
}

void CShapeBarDlg::OnLButtonDown(UINT nFlags, CPoint point) {
  CDialog::OnLButtonDown(nFlags, point);
  ReturnFocus();
}

void CShapeBarDlg::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CDialog::OnLButtonDblClk(nFlags, point);
  ReturnFocus();
}

void CShapeBarDlg::OnPaint() {
  CPaintDC dc(this);
  for (CShapeButton* button : m_buttons) button->Invalidate();
  for (CShapeSlider* progress : m_progressBars) progress->Invalidate();
  HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(m_hWnd, clip) != ERROR) ::SelectClipRgn(dc.GetSafeHdc(), clip);
  ::DeleteObject(clip);
  if (m_bmpNormal) {
    BITMAP bm{};
    ::GetObjectA(m_bmpNormal, sizeof bm, &bm);
    HDC memory = ::CreateCompatibleDC(dc.GetSafeHdc());
    HGDIOBJ old = ::SelectObject(memory, m_bmpNormal);
    ::BitBlt(dc.GetSafeHdc(), 0, 0, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
  }
}

BOOL CShapeBarDlg::PreTranslateMessage(MSG* pMsg) {
  // Enter and Escape reach the focused window as keys: the bar never ends on them.
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
    ::TranslateMessage(pMsg);
    ::DispatchMessageA(pMsg);
    return TRUE;
  }
  return CDialog::PreTranslateMessage(pMsg);
}

LRESULT CShapeBarDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND) return 0;
  return CDialog::WindowProc(message, wParam, lParam);
}
