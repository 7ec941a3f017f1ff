#include "windows/media/CVideoSkinDlg.h"

#include "core/CDisplayMode.h"
#include "edit_project/Project.h"
#include "skin/CIniFile.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinButtonEx.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinValues.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/SaveOptionRecord.h"

#include <new>

namespace {

static_assert(UM_PROJECT_GRAPH_EVENT == 0x40D);

constexpr int kLauncherDisplayMode = 105;
// Design rectangles of the controls the window makes itself (1024 x 768 units).
constexpr RECT kClipVideoDesign{117, 230, 544, 534};
constexpr RECT kProjectVideoDesign{568, 230, 995, 534};
constexpr RECT kClipSliderDesign{151, 538, 511, 552};
constexpr RECT kProjectSliderDesign{602, 538, 962, 552};
// The sliders' pictures among the program's bitmaps: channel, active channel, thumb,
// active thumb. The thumbs are keyed by the colour of their pixel (0, 0).
constexpr UINT kChannelBitmap = 148;
constexpr UINT kActiveChannelBitmap = 149;
constexpr UINT kThumbBitmap = 150;
constexpr UINT kActiveThumbBitmap = 151;
constexpr COLORREF kKeyAtPoint = 0xFF000000;
constexpr DWORD kControlStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD kRadioStyle = 0x54000000;  // WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS
constexpr int kMinTrackWidth = 800;
constexpr int kMinTrackHeight = 600;

// One list's entry of "Video-ListCtrl": its design rectangle and its flag.
struct ListEntry {
  CRect design;
  BOOL flag = FALSE;
};

BOOL ReadListEntry(const CIniFile& ini, LPCSTR key, ListEntry& entry) {
  CString value = ini.GetString("Video-ListCtrl", key, "");
  value.Trim();
  if (value.IsEmpty()) return FALSE;
  entry.design = CutRect(value);
  entry.flag = value.CompareNoCase("TRUE") == 0;
  return TRUE;
}

void MoveToDesign(CWnd& control, const RECT& design, CSize client) {
  if (control.GetSafeHwnd()) control.MoveWindow(ScaleDesignRect(design, client.cx, client.cy), TRUE);
}

}  // namespace

BEGIN_MESSAGE_MAP(CVideoSkinDlg, CSkinDialog)
  ON_WM_TIMER()
  ON_WM_GETMINMAXINFO()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_SIZING()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_DESTROY()
  ON_NOTIFY(NM_VIDEO_AREA_SIZED, 0, OnVideoAreaSized)
  ON_MESSAGE(UM_PROJECT_GRAPH_EVENT, OnProjectGraphEvent)
  ON_MESSAGE(CImageListView::UM_OPEN_LIST_ITEM, OnOpenListItem)
  ON_MESSAGE(UM_SLIDER_TRACK, OnSliderTrack)
  ON_MESSAGE(UM_SLIDER_SET, OnSliderSet)
  ON_MESSAGE(UM_REMOTE_KEY, OnRemoteKey)
END_MESSAGE_MAP()

CVideoSkinDlg::CVideoSkinDlg(UINT nIDTemplate, CWnd* pParent)
    : CSkinDialog(nIDTemplate, pParent, "Video-Buttons", "Video-ButtonsMin") {}

CVideoSkinDlg::~CVideoSkinDlg() = default;

// ---- The skin and the window's own controls

BOOL CVideoSkinDlg::LoadSkin(const CString& skinFile) {
  if (!LoadSkinButtons(skinFile)) return FALSE;
  CreateRadioButtons();
  CreateLists();
  if (!CreateVideoAreas()) return FALSE;
  if (!CreateSlider(m_clipSlider, kClipSliderId, kClipSliderDesign) ||
      !CreateSlider(m_projectSlider, kProjectSliderId, kProjectSliderDesign))
    return FALSE;
  m_projectSlider.SetShowSelection(FALSE);
  LayoutSkinButtons();
  Invalidate();
  return TRUE;
}

// "Video-RadioButton": latching buttons in the button entries' format, command ids from
// 5310 on; a key that is empty or whose button cannot be made is left out.
void CVideoSkinDlg::CreateRadioButtons() {
  const CIniFile ini(m_skinFile);
  CStringArray keys;
  ini.GetSectionKeys("Video-RadioButton", keys);
  const CSize client = ClientSize();
  for (int key = 1; key <= static_cast<int>(keys.GetSize()); ++key) {
    SkinButtonEntry entry;
    if (!ReadButtonEntry(ini, "Video-RadioButton", key, entry)) continue;
    auto radio = std::unique_ptr<CSkinButtonEx>(new (std::nothrow) CSkinButtonEx);
    if (!radio) continue;
    radio->SetCommandId(kFirstRadioCommand + key - 1);
    radio->SetName(entry.strName);
    radio->SetShowCaption(FALSE);
    HBITMAP strip = nullptr;
    SIZE size{};
    LoadPictureFile(GetFullPath(m_skinFile) + entry.strImage, strip, size);
    radio->SetImage(strip, entry.rcDesign.left, entry.rcDesign.top, entry.rcDesign.right, entry.rcDesign.bottom);
    ReleaseBitmap(strip);
    if (!radio->Create("", kRadioStyle, ScaleDesignRect(entry.rcDesign, client.cx, client.cy), this, 0))
      continue;
    m_radioButtons.push_back(std::move(radio));
  }
}

// "Video-ListCtrl": key "1" the clip list (one selection), key "2" the project list.
void CVideoSkinDlg::CreateLists() {
  const CIniFile ini(m_skinFile);
  const CSize client = ClientSize();
  CThumbnailListWnd* lists[] = {&m_clipList, &m_projectList};
  for (int i = 0; i < 2; ++i) {
    ListEntry entry;
    char key[2] = {static_cast<char>('1' + i), '\0'};
    if (!ReadListEntry(ini, key, entry)) continue;
    CThumbnailListWnd& list = *lists[i];
    if (!list.Create("", kControlStyle, ScaleDesignRect(entry.design, client.cx, client.cy), this, 0,
                     i == 0, RGB(0, 0, 0), entry.flag))
      continue;
    list.SetNotifyWindow(m_hWnd);
    list.SetMargins(entry.design.left, entry.design.top, entry.design.right, entry.design.bottom);
  }
}

// Black where no picture is shown.
BOOL CVideoSkinDlg::CreateVideoAreas() {
  const CSize client = ClientSize();
  LPCTSTR blackClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  for (auto [area, design] : {std::pair{&m_clipVideo, kClipVideoDesign}, std::pair{&m_projectVideo, kProjectVideoDesign}}) {
    if (area->GetSafeHwnd()) continue;
    if (!area->Create(blackClass, "", kControlStyle, ScaleDesignRect(design, client.cx, client.cy), this, 0))
      return FALSE;
  }
  return TRUE;
}

BOOL CVideoSkinDlg::CreateSlider(CBitmapSlider& slider, UINT id, const RECT& design) {
  if (slider.GetSafeHwnd()) return TRUE;
  const CSize client = ClientSize();
  if (!slider.Create("", kControlStyle, ScaleDesignRect(design, client.cx, client.cy), this, id))
    return FALSE;
  slider.SetChannelBitmaps(kChannelBitmap, kActiveChannelBitmap, FALSE, kKeyAtPoint, 0, 0);
  slider.SetThumbBitmaps(kThumbBitmap, kActiveThumbBitmap, TRUE, kKeyAtPoint, 0, 0);
  slider.SetDrawFocusRect(FALSE);
  slider.SetRange(0, 100);
  slider.SetPos(0);
  return TRUE;
}

// Radio buttons keep the full-screen design space in both layouts, like the first buttons.
void CVideoSkinDlg::LayoutHostedControl() { LayoutControls(); }

void CVideoSkinDlg::LayoutControls() {
  const CSize client = ClientSize();
  for (const auto& radio : m_radioButtons) {
    RECT design{};
    radio->GetSkinRect(design);
    MoveToDesign(*radio, design, client);
  }
  for (CThumbnailListWnd* list : {&m_clipList, &m_projectList}) {
    RECT design{};
    list->GetMargins(design);
    MoveToDesign(*list, design, client);
  }
  MoveToDesign(m_clipVideo, kClipVideoDesign, client);
  MoveToDesign(m_projectVideo, kProjectVideoDesign, client);
  MoveToDesign(m_clipSlider, kClipSliderDesign, client);
  MoveToDesign(m_projectSlider, kProjectSliderDesign, client);
}

void CVideoSkinDlg::FitVideos() {
  if (m_clipOpen) {
    m_lib.mpeg_video_auto_size();
    m_clipVideo.Invalidate();
  }
  if (m_previewActive) {
    m_lib.mpeg_Project_auto_size_video();
    m_projectVideo.Invalidate();
  }
}

CSkinButtonEx* CVideoSkinDlg::FindRadioButton(LPCSTR name) const {
  for (const auto& radio : m_radioButtons)
    if (radio->GetName() == name) return radio.get();
  return nullptr;
}

void CVideoSkinDlg::ShowTrackMode() {
  LPCSTR checked = m_trackMode == kAudioTrackMode ? "AUDIO_BUTTON" : "PRESCAN_BUTTON";
  for (const auto& radio : m_radioButtons) {
    if (radio->GetName() == checked) {
      radio->SetChecked(TRUE);
      radio->Invalidate();
    } else {
      radio->SetReleased(TRUE);
    }
  }
}

void CVideoSkinDlg::SwitchTrackMode() {
  if (m_trackMode == kAudioTrackMode) m_trackMode = kVideoTrackMode;
  else if (m_trackMode == kVideoTrackMode) m_trackMode = kAudioTrackMode;
  else return;
  ShowTrackMode();
}

void CVideoSkinDlg::StartTimer(UINT_PTR id, int& field) {
  if (field != kNoTimer) return;
  if (SetTimer(id, kPollMs, nullptr)) field = static_cast<int>(id);
}

void CVideoSkinDlg::StopTimer(UINT_PTR id, int& field) {
  if (field == kNoTimer) return;
  KillTimer(id);
  field = kNoTimer;
}

// ---- Start and leaving

void CVideoSkinDlg::Start() {
  StopTimer(kClipTimer, m_clipTimer);
  StopTimer(kProjectTimer, m_projectTimer);
  m_videoEnd = 0;
  m_audioEnd = 0;
  m_cutStartPercent = kUnset;
  m_cutEndPercent = kUnset;
  m_clipOpen = FALSE;
  m_trackMode = kVideoTrackMode;
  m_previewActive = FALSE;
  m_projectPlayState = kStopped;
  ShowTrackMode();
  m_clipVideo.Invalidate();
  if (!m_lib.mpeg_Project_Open() || !m_lib.mpeg_Init()) return;
  m_lib.mpeg_Project_SetNotifyWnd(m_hWnd);
  UpdateProjectButtons();
  m_clipSlider.SetPos(0);
  m_clipSlider.SetSelStart(0);
  m_clipSlider.SetSelEnd(0);
  m_projectSlider.SetPos(0);
  m_cutStartSet = FALSE;
}

// The project goes first: its objects are let go while the clip player still holds COM.
void CVideoSkinDlg::CloseLibraries() {
  m_lib.mpeg_Project_Close();
  m_lib.mpeg_Close();
}

// The launcher deletes this window once the posted layout message reaches it, after this
// handler and the button that started it are done.
void CVideoSkinDlg::Leave() {
  StopTimer(kClipTimer, m_clipTimer);
  StopTimer(kProjectTimer, m_projectTimer);
  CloseLibraries();
  m_clipOpen = FALSE;
  m_previewActive = FALSE;
  StoreSharedRect();
  CWnd* main = AfxGetMainWnd();
  if (main && main != this) main->ShowWindow(SW_SHOW);
  ShowWindow(SW_HIDE);
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kLauncherDisplayMode);
  if (main && main != this) main->PostMessage(UM_REFRESH_LAYOUT, kDisplayMode, 0);
}

// ---- Buttons and keys

BOOL CVideoSkinDlg::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (!pHandlerInfo) {
    for (const auto& radio : m_radioButtons) {
      if (radio->GetCommandId() != static_cast<int>(nID)) continue;
      if (nCode == CN_COMMAND) OnSkinButton(radio->GetName());
      return TRUE;
    }
  }
  return CSkinDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CVideoSkinDlg::OnSkinButton(const CString& name) {
  if (SwallowsButtonAction()) {
    // A radio button latches on its press: it shows the mode that still holds.
    ShowTrackMode();
    return;
  }
  if (name == "CLOSE_BUTTON") {
    if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (name == "MAX_BUTTON") {
    ToggleMaximized();
    FitVideos();
  } else if (name == "MIN_BUTTON") {
    ShowWindow(SW_MINIMIZE);
  } else if (name == "HELP_BUTTON") {
    ShowHelp(GetAppFolder());
  } else if (name == "MAIN_BUTTON" || name == "RETURN_BUTTON") {
    Leave();
  } else if (name == "LEFTPLAY_BUTTON") {
    PlayClip();
  } else if (name == "PAUSE_BUTTON") {
    PauseClip();
  } else if (name == "STOP_BUTTON") {
    StopClip();
  } else if (name == "CUTLEFT_BUTTON") {
    MarkCutStart();
  } else if (name == "CUTRIGHT_BUTTON") {
    MarkCutEnd();
  } else if (name == "CUT_BUTTON") {
    AddCutToProject();
  } else if (name == "RIGHTPLAY_BUTTON") {
    PlayProject();
  } else if (name == "RIGHTPAUSE_BUTTON") {
    PauseProject();
  } else if (name == "RIGHTSTOP_BUTTON") {
    StopProject();
  } else if (name == "ADD_BUTTON") {
    AddSourceFile();
  } else if (name == "DELETE_BUTTON") {
    EmptyProject();
  } else if (name == "HECHENG_BUTTON") {
    SaveProject();
  } else if (name == "AUDIO_BUTTON" || name == "PRESCAN_BUTTON") {
    m_trackMode = name == "AUDIO_BUTTON" ? kAudioTrackMode : kVideoTrackMode;
    ShowTrackMode();
  }
}

BOOL CVideoSkinDlg::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    switch (pMsg->wParam) {
      case VK_RETURN:
      case VK_ESCAPE: return TRUE;
      case VK_TAB: SwitchTrackMode(); break;
      case VK_BACK: OnSkinButton("RETURN_BUTTON"); return TRUE;
      default: break;
    }
  }
  return CSkinDialog::PreTranslateMessage(pMsg);
}

// Other keys leave a double-click seen before as it is.
LRESULT CVideoSkinDlg::OnRemoteKey(WPARAM, LPARAM lParam) {
  if (lParam != kRemoteKeyReturn && lParam != kRemoteKeyClose) return 0;
  m_dblClickSeen = FALSE;
  PressButtonOfRemoteKey(lParam);
  return 0;
}

// ---- Window messages

LRESULT CVideoSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (wParam != WA_INACTIVE) LayoutSkinButtons();
      return 0;
    case WM_EXITSIZEMOVE:
      if (!LayoutAfterSizing()) break;
      FitVideos();
      return 0;
    case WM_SYSCOMMAND:
      if (CloseProgramFromSystemMenu(wParam)) return 0;
      break;
    default: break;
  }
  return CSkinDialog::WindowProc(message, wParam, lParam);
}

void CVideoSkinDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kClipTimer) PollClip();
  else if (nIDEvent == kProjectTimer) PollProject();
  else CSkinDialog::OnTimer(nIDEvent);
}

void CVideoSkinDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  CSkinDialog::OnGetMinMaxInfo(lpMMI);
  lpMMI->ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
}

void CVideoSkinDlg::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CSkinDialog::OnWindowPosChanged(lpwndpos);
  FitVideos();
}

void CVideoSkinDlg::OnSizing(UINT fwSide, LPRECT pRect) {
  m_sizedFlag = TRUE;
  CSkinDialog::OnSizing(fwSide, pRect);
}

void CVideoSkinDlg::OnVideoAreaSized(NMHDR*, LRESULT*) { FitVideos(); }

void CVideoSkinDlg::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CSkinDialog::OnLButtonDblClk(nFlags, point);
  if (IsInCaptionStrip(point)) FitVideos();
}

void CVideoSkinDlg::OnDestroy() {
  StopTimer(kClipTimer, m_clipTimer);
  StopTimer(kProjectTimer, m_projectTimer);
  CloseLibraries();
  FreeSaveOption();
  CSkinDialog::OnDestroy();
}

LRESULT CVideoSkinDlg::OnSliderTrack(WPARAM wParam, LPARAM) {
  if (wParam == kClipSliderId) StopTimer(kClipTimer, m_clipTimer);
  else if (wParam == kProjectSliderId) StopTimer(kProjectTimer, m_projectTimer);
  return 0;
}

LRESULT CVideoSkinDlg::OnSliderSet(WPARAM wParam, LPARAM lParam) {
  if (wParam == kClipSliderId) SeekClip(static_cast<int>(lParam));
  else if (wParam == kProjectSliderId) SeekProject(static_cast<int>(lParam));
  return 0;
}

LRESULT CVideoSkinDlg::OnOpenListItem(WPARAM wParam, LPARAM lParam) {
  const auto view = reinterpret_cast<HWND>(wParam);
  if (m_clipList.GetSafeHwnd() && view == m_clipList.GetListHwnd())
    OpenClip(reinterpret_cast<const CMediaFileItem*>(lParam));
  else if (m_projectList.GetSafeHwnd() && view == m_projectList.GetListHwnd())
    PlayProject();
  return 0;
}

LRESULT CVideoSkinDlg::OnProjectGraphEvent(WPARAM, LPARAM) {
  if (m_projectPlayState == kPlaying && m_lib.mpeg_Project_HandleGraphEvent(1)) {
    m_projectSlider.SetPos(0);
    StopTimer(kProjectTimer, m_projectTimer);
    m_projectPlayState = kStopped;
  }
  return Default();
}
