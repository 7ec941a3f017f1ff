// CChannelSkinDlg: the window, its skin and layout, its buttons and keys, the country,
// the tuner plan and the channel scan. The list's edits, the fine-tuning and the list
// files are in CChannelSkinDlgEditing.cpp.
#include "windows/setup/CChannelSkinDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "skin/CChannelListCtrl.h"
#include "skin/CIniFile.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinComboBox.h"
#include "skin/CSkinLabel.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinSlider.h"
#include "skin/CVideoStatic.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinValues.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <win32/module.h>

#include <new>

namespace {

constexpr int kTVDisplayMode = 110;
constexpr int kScanState = 6;
constexpr int kTvState = 2;
constexpr int kCompositeState = 11;
constexpr int kSVideoState = 13;
constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 768;
// Remote keys the window acts on.
constexpr LPARAM kKeyScan = 23;

// Design rectangles of the controls the window places itself.
constexpr RECT kVideoAreaRect{18, 548, 317, 752};
constexpr RECT kChannelListRect{148, 132, 831, 457};
constexpr RECT kFineTuneSliderRect{480, 667, 930, 679};
constexpr RECT kProgressSliderRect{480, 630, 930, 642};
// The program's pictures: the focused cell's frame, the combo's arrow, face and selection,
// the sliders' track and thumb.
constexpr UINT kCellFrameBitmap = 142;
constexpr UINT kComboFaceBitmap = 143;
constexpr UINT kComboArrowBitmap = 184;
constexpr UINT kComboSelectedBitmap = 185;
constexpr UINT kSliderTrackBitmap = 144;
constexpr UINT kSliderThumbBitmap = 145;
constexpr COLORREF kSliderTrackMask = 0xFF00FF;
constexpr int kColumns = 5;
constexpr int kColumnShare = 127;

HBITMAP LoadProgramBitmap(UINT id) { return ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); }

template <class T>
void DestroyControl(std::unique_ptr<T>& control) {
  if (control && control->GetSafeHwnd()) control->DestroyWindow();
  control.reset();
}

}  // namespace

BEGIN_MESSAGE_MAP(CChannelSkinDlg, CSkinDialog)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_CBN_SELCHANGE(CChannelSkinDlg::kCountryComboId, OnCountrySelected)
  ON_MESSAGE(UM_SCAN_PROGRESS, OnScanProgress)
  ON_MESSAGE(UM_SCAN_DONE, OnScanDone)
  ON_MESSAGE(UM_SCAN_MODE, OnScanMode)
  ON_MESSAGE(UM_RUNSTATE_CHANGED, OnRunStateChanged)
  ON_MESSAGE(UM_RADIO_CLICKED, OnRadioClicked)
  ON_MESSAGE(UM_SLIDER_TRACK, OnSliderTrack)
  ON_MESSAGE(UM_SLIDER_SET, OnSliderSet)
  ON_MESSAGE(UM_CHANNEL_SELECT, OnChannelSelect)
  ON_MESSAGE(UM_CHANNEL_ACTIVATE, OnChannelActivate)
  ON_MESSAGE(UM_CHANNEL_EDITED, OnChannelEdited)
  ON_MESSAGE(UM_CHANNEL_UPDATED, OnChannelUpdated)
  ON_MESSAGE(UM_CHANNEL_FIELD_EDITED, OnChannelFieldEdited)
  ON_MESSAGE(UM_GET_COMBO_ITEMS, OnGetComboItems)
  ON_MESSAGE(UM_COMBO_ITEM_CHOSEN, OnComboItemChosen)
  ON_MESSAGE(UM_CHANNEL_ROW_CHANGED, OnChannelRowChanged)
  ON_MESSAGE(UM_REMOTE_KEY, OnRemoteKey)
  ON_WM_GETMINMAXINFO()
  ON_WM_SIZE()
END_MESSAGE_MAP()

CChannelSkinDlg::CChannelSkinDlg(UINT nIDTemplate, CWnd* pParent)
    : CSkinDialog(nIDTemplate, pParent, "Setting-Buttons", "Setting-ButtonsMin") {}

CChannelSkinDlg::~CChannelSkinDlg() = default;

// ---- Skin

BOOL CChannelSkinDlg::LoadSkin(const CString& skinFile) {
  const BOOL made = LoadSkinButtons(skinFile) && CreateSkinStatics("Channel-Static") &&
                    CreateVideoArea() && CreateRadios() && CreateCountryCombo();
  if (!made) return FALSE;
  ShowCountryLabels();
  InitCountryMode();
  if (!CreateSliders()) return FALSE;
  ShowScanProgress(0);
  ShowFineTuneValue(0);
  m_skinStatics.Show("Country_Static", TRUE);
  if (g_pAppController && !CAppController::GetFollowRegionCountry()) m_countryCombo->ShowWindow(SW_SHOW);
  m_skinStatics.SetText("Source_Static", CAppController::GetTunerSourceText());
  LayoutSkinButtons();
  SetFocus();
  Invalidate();
  if (g_pAppController && g_pAppController->IsPreviewing()) g_pAppController->SetVideoOwner(m_videoArea->GetSafeHwnd());
  return TRUE;
}

// "NAME,IMAGE,left,top,right,bottom,TEXT" per key; the picture frames the label.
BOOL CChannelSkinDlg::CreateSkinStatics(LPCSTR section) {
  const BOOL made = m_skinStatics.Create(*this, m_skinFile, section, kFirstLabelId);
  // The country list drops from the country label, down over the window.
  for (int i = 0; i < m_skinStatics.GetCount(); ++i) {
    const CSkinLabel* label = m_skinStatics.GetAt(i);
    if (label->GetName() != "Country_Static") continue;
    RECT design{};
    label->GetPlacement(design);
    m_countryComboRect.SetRect(design.left - 4, design.top - 4, design.right - 8, design.bottom + 300);
  }
  return made;
}

BOOL CChannelSkinDlg::CreateVideoArea() {
  return m_videoArea.Create(*this, kVideoAreaRect);
}

// "IMAGE1,left,top,right,bottom,IMAGE2,left,top,right,bottom": the region radio at the
// first rectangle, the list radio at the second. Each picture holds its radio's unchecked
// and checked images side by side, each the size of the first rectangle.
BOOL CChannelSkinDlg::CreateRadios() {
  const CIniFile ini(m_skinFile);
  CString value = ini.GetString("Setting-Radio", "1", "");
  if (value.IsEmpty()) return TRUE;
  const CString firstImage = CutField(value);
  const CRect first = CutRect(value);
  const CString secondImage = CutField(value);
  const CRect second = CutRect(value);
  const CString files[2] = {firstImage, secondImage};
  const CRect places[2] = {first, second};
  // Held to the skins' largest extent, so twice the width stays in range.
  const int width = SkinWidth(first);
  const int height = SkinHeight(first);
  const CRect unchecked(0, 0, width, height);
  const CRect checked(width, 0, 2 * width, height);
  std::unique_ptr<CSkinRadioButton>* radios[2] = {&m_regionRadio, &m_listRadio};
  const UINT ids[2] = {kRegionRadioId, kListRadioId};
  for (int i = 0; i < 2; ++i) {
    radios[i]->reset(new (std::nothrow) CSkinRadioButton);
    CSkinRadioButton* radio = radios[i]->get();
    if (!radio) return FALSE;
    radio->SetTextRect(places[i].left, places[i].top, places[i].right, places[i].bottom);
    HBITMAP picture = nullptr;
    SIZE size{};
    if (LoadPictureFile(GetSkinFilePath(ini, files[i]), picture, size)) {
      radio->SetBitmaps(picture, picture, unchecked, checked);
      ReleaseBitmap(picture);
    }
    if (!radio->Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, SkinWidth(places[i]), SkinHeight(places[i])), this, ids[i]))
      return FALSE;
    PlaceRadio(*radio);
  }
  return TRUE;
}

// At its rectangle's scaled top-left corner, in the rectangle's own pixel size.
void CChannelSkinDlg::PlaceRadio(CSkinRadioButton& radio) {
  RECT design{};
  radio.GetTextRect(design);
  const CSize client = ClientSize();
  const CPoint at = ScaleDesignRect(design, client.cx, client.cy).TopLeft();
  radio.MoveWindow(at.x, at.y, SkinWidth(design), SkinHeight(design), TRUE);
}

BOOL CChannelSkinDlg::CreateCountryCombo() {
  m_countryCombo.reset(new (std::nothrow) CSkinComboBox);
  if (!m_countryCombo) return FALSE;
  const HBITMAP arrows = LoadProgramBitmap(kComboArrowBitmap);
  const HBITMAP face = LoadProgramBitmap(kComboFaceBitmap);
  const HBITMAP selected = LoadProgramBitmap(kComboSelectedBitmap);
  const HBITMAP sources[7] = {arrows, arrows, arrows, arrows, face, face, selected};
  const RECT whole{0, 0, 273, 26};
  const RECT rects[7] = {{0, 0, 28, 26}, {28, 0, 56, 26}, {56, 0, 84, 26}, {84, 0, 112, 26}, whole, whole, whole};
  m_countryCombo->SetBitmaps(sources, rects);
  for (HBITMAP bitmap : {arrows, face, selected})
    if (bitmap) ::DeleteObject(bitmap);
  m_countryCombo->SetFrameRect(whole);
  m_countryCombo->SetFrameMargins(3, 3, 3, 3);
  m_countryCombo->SetAltFrameRect(whole);
  m_countryCombo->SetAltFrameMargins(3, 3, 3, 3);
  const CSize client = ClientSize();
  if (!m_countryCombo->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST,
                              ScaleDesignRect(m_countryComboRect, client.cx, client.cy), this, kCountryComboId))
    return FALSE;
  m_countryCombo->ShowWindow(SW_HIDE);
  if (g_pAppController) {
    CStringArray names;
    g_pAppController->CopyCountryNames(names);
    for (int i = 0; i < names.GetSize(); ++i) m_countryCombo->AddItem(names.GetAt(i));
    m_countryCombo->SetCurSel(g_pAppController->GetCountryIndex());
  }
  PlaceCountryCombo();
  return TRUE;
}

BOOL CChannelSkinDlg::CreateSliders() {
  const CSize client = ClientSize();
  const RECT* places[2] = {&kFineTuneSliderRect, &kProgressSliderRect};
  const UINT ids[2] = {kFineTuneSliderId, kProgressSliderId};
  std::unique_ptr<CSkinSlider>* sliders[2] = {&m_fineTuneSlider, &m_progressSlider};
  for (int i = 0; i < 2; ++i) {
    sliders[i]->reset(new (std::nothrow) CSkinSlider);
    CSkinSlider* slider = sliders[i]->get();
    if (!slider || !slider->Create("", WS_CHILD | WS_VISIBLE, ScaleDesignRect(*places[i], client.cx, client.cy), this,
                                   ids[i]))
      return FALSE;
    slider->SetChannelBitmaps(kSliderTrackBitmap, 0, FALSE, TRUE, kSliderTrackMask);
    slider->SetThumbBitmaps(kSliderThumbBitmap, 0, TRUE);
    slider->SetMargins(0, 0, 0, 0);
    slider->SetDrawFocusRect(FALSE);
    slider->SetBkColor(0);
  }
  m_fineTuneSlider->SetRange(-kFineTuneSteps, kFineTuneSteps);
  m_fineTuneSlider->SetPos(0);
  m_fineTuneSlider->SetLastPos(0);
  m_progressSlider->SetRange(0, 100);
  m_progressSlider->SetPos(0);
  m_progressSlider->Enable(FALSE);
  return TRUE;
}

// ---- Layout

void CChannelSkinDlg::LayoutHostedControl() {
  const CSize client = ClientSize();
  if (m_channelList) {
    m_channelList->MoveWindow(ScaleDesignRect(kChannelListRect, client.cx, client.cy), TRUE);
    for (int column = 0; column < kColumns; ++column)
      m_channelList->SetColumnWidth(column, client.cx * kColumnShare / kDesignWidth);
  }
  if (m_fineTuneSlider) m_fineTuneSlider->MoveWindow(ScaleDesignRect(kFineTuneSliderRect, client.cx, client.cy), TRUE);
  if (m_progressSlider) m_progressSlider->MoveWindow(ScaleDesignRect(kProgressSliderRect, client.cx, client.cy), TRUE);
  for (auto* radio : {m_regionRadio.get(), m_listRadio.get()})
    if (radio) PlaceRadio(*radio);
  m_skinStatics.Layout(client.cx, client.cy);
  PlaceCountryCombo();
  m_videoArea.Place();
}

void CChannelSkinDlg::PlaceCountryCombo() {
  if (!m_countryCombo || !m_countryCombo->GetSafeHwnd()) return;
  const CSize client = ClientSize();
  m_countryCombo->MoveWindow(ScaleDesignRect(m_countryComboRect, client.cx, client.cy), TRUE);
  const int height = ::GetSystemMetrics(SM_CYSCREEN) * (g_isMaximized ? 26 : 21) / kDesignHeight;
  m_countryCombo->SetItemHeight(-1, static_cast<UINT>(height));
  m_countryCombo->DrawFace();
}

// ---- Labels

CSkinLabel* CChannelSkinDlg::FindLabel(LPCSTR name) const {
  return m_skinStatics.Find(name);
}

// ---- Buttons

void CChannelSkinDlg::OnSkinButton(const CString& name) {
  if (SwallowsButtonAction()) return;
  if (OnListButton(name)) return;
  const CSkinButton* button = FindSkinButton(name);
  if (!button || (name != "HELP_BUTTON" && !button->IsEnabled())) return;
  // The live graph goes before the program closes.
  if (name == "CLOSE_BUTTON" && g_pAppController && g_pAppController->IsPreviewing())
    g_pAppController->DestroyCaptureGraph();
  if (HandleFrameButton(name)) return;
  if (name == "MAIN_BUTTON") {
    // The launcher has the TV window close this window once the message is over.
    GoToLauncher(kDisplayMode);
  } else if (name == "RETURN_BUTTON") {
    // The TV window closes this window once the message that brings it back is over.
    ReturnToParent(kTVDisplayMode);
  } else if (name == "AUTOSCAN_BUTTON") {
    StartOrStopScan();
  }
}

BOOL CChannelSkinDlg::OnListButton(const CString& name) {
  if (name == "LEFT_BUTTON" || name == "RIGHT_BUTTON") {
    ToggleTunerSource();
    return TRUE;
  }
  const struct {
    LPCSTR name;
    UINT message;
  } moves[] = {{"UP_BUTTON", UM_LIST_MOVE_UP},
               {"DOWN_BUTTON", UM_LIST_MOVE_DOWN},
               {"PAGEUP_BUTTON", UM_LIST_MOVE_TOP},
               {"PAGEDOWN_BUTTON", UM_LIST_MOVE_BOTTOM}};
  for (const auto& move : moves) {
    if (name != move.name) continue;
    if (m_channelList) {
      m_channelList->SendMessage(move.message, 0, 0);
      ResetFineTune();
    }
    return TRUE;
  }
  if (name == "MOVEUP_BUTTON" || name == "MOVEDOWN_BUTTON") {
    if (m_channelList) {
      m_channelList->PostMessage(WM_KEYDOWN, name == "MOVEUP_BUTTON" ? VK_UP : VK_DOWN, 0);
      ResetFineTune();
    }
    return TRUE;
  }
  if (name == "LOAD_BUTTON") {
    LoadChannelFile();
    return TRUE;
  }
  if (name == "SAVE_BUTTON") {
    SaveChannelFile();
    return TRUE;
  }
  return FALSE;
}

void CChannelSkinDlg::StartOrStopScan() {
  if (!g_pAppController) return;
  g_pAppController->SetScanTargetWnd(m_hWnd);
  g_pAppController->StartScan();
}

void CChannelSkinDlg::ToggleTunerSource() {
  if (!g_pAppController) return;
  EndListEdits();
  CString text;
  CAppController::ToggleTunerSource(text);
  if (text.IsEmpty()) return;
  m_skinStatics.SetText("Source_Static", text);
  RetuneCurrentChannel();
}

void CChannelSkinDlg::EnableButtonsForState(int state) {
  for (int i = 0; i < GetSkinButtonCount(); ++i) {
    CSkinButton* button = GetSkinButton(i);
    switch (state) {
      case kScanState:
        button->SetDisabled(!IsNamed(button, {"MINISIZE_BUTTON", "NORMAL_BUTTON", "HELP_BUTTON", "AUTOSCAN_BUTTON"}));
        break;
      case kTvState: button->SetDisabled(FALSE); break;
      case kCompositeState:
      case kSVideoState:
        button->SetDisabled(
            !IsNamed(button, {"MINISIZE_BUTTON", "NORMAL_BUTTON", "HELP_BUTTON", "RETURN_BUTTON", "CLOSE_BUTTON"}));
        break;
      default: break;
    }
  }
}

LRESULT CChannelSkinDlg::OnRunStateChanged(WPARAM wParam, LPARAM) {
  const int state = static_cast<int>(wParam);
  EnableButtonsForState(state);
  if (state == kScanState) {
    for (auto* radio : {m_regionRadio.get(), m_listRadio.get()})
      if (radio) radio->EnableWindow(FALSE);
  }
  return 0;
}

// ---- Keys

LRESULT CChannelSkinDlg::OnRemoteKey(WPARAM, LPARAM lParam) {
  // The file dialog in front has the user; leaving now would pull the window from under it.
  if (m_inFileDialog) return 0;
  m_dblClickSeen = FALSE;
  if (PressButtonOfRemoteKey(lParam)) return 0;
  if (lParam == kKeyScan && g_pAppController && g_pAppController->IsScanState()) OnSkinButton("AUTOSCAN_BUTTON");
  return 0;
}

BOOL CChannelSkinDlg::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message != WM_KEYDOWN) return CDialog::PreTranslateMessage(pMsg);
  // Enter and Escape belong to the control they were meant for (an in-place edit), once.
  if (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE) return DispatchToControl(pMsg);
  if (::GetFocus() == m_hWnd) {
    if (pMsg->wParam == VK_BACK) return GoBackByKey();
    if (pMsg->wParam == 'H' || pMsg->wParam == VK_F1) {
      ShowHelp(GetAppFolder());
      return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(pMsg);
}

// ---- Window messages

LRESULT CChannelSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (!wParam) break;
      LayoutSkinButtons();
      return 0;
    case WM_EXITSIZEMOVE:
      if (!LayoutAfterSizing()) break;
      Invalidate();
      return 0;
    case WM_HELP:
    case WM_ENTERSIZEMOVE: return 0;
    case UM_SCAN_CHANNEL_FOUND: OnScanChannelFound(reinterpret_cast<ChannelRecord*>(lParam)); return 0;
    case WM_SYSCOMMAND:
      if (CloseProgramFromSystemMenu(wParam)) return 0;
      break;
    default: break;
  }
  return CSkinDialog::WindowProc(message, wParam, lParam);
}

int CChannelSkinDlg::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CSkinDialog::OnCreate(lpCreateStruct) == -1) return -1;
  return CreateChannelList() ? 0 : -1;
}

// Every pointer is cleared as its control goes, so a second teardown finds nothing.
void CChannelSkinDlg::OnDestroy() {
  ReleaseBitmap(m_background);
  DeleteAllRows();
  DestroyControl(m_channelList);
  DestroyControl(m_countryCombo);
  DestroyControl(m_fineTuneSlider);
  DestroyControl(m_progressSlider);
  m_videoArea.Destroy();
  DestroyControl(m_regionRadio);
  DestroyControl(m_listRadio);
  m_skinStatics.DestroyAll();
  CSkinDialog::OnDestroy();
}

void CChannelSkinDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  CSkinDialog::OnGetMinMaxInfo(lpMMI);
  lpMMI->ptMinTrackSize = {800, 600};
}

void CChannelSkinDlg::OnSize(UINT nType, int cx, int cy) {
  m_sizedFlag = TRUE;
  CSkinDialog::OnSize(nType, cx, cy);
}

// ---- Country

void CChannelSkinDlg::ShowCountryLabels() {
  if (!g_pAppController) return;
  m_skinStatics.SetText("Country_Static", g_pAppController->GetSelectedCountryName());
  CString code;
  code.Format("%d", g_pAppController->GetCountryCode());
  m_skinStatics.SetText("CountryCode_Static", code);
}

void CChannelSkinDlg::InitCountryMode() {
  if (!g_pAppController) return;
  const BOOL follow = CAppController::GetFollowRegionCountry() != 0;
  m_listMode = follow ? 0 : 1;
  UpdateCountryControls(!follow, FALSE);
  if (m_regionRadio) m_regionRadio->SetCheck(follow, TRUE);
  if (m_listRadio) m_listRadio->SetCheck(!follow, TRUE);
}

void CChannelSkinDlg::UpdateCountryControls(BOOL arrowsEnabled, BOOL refresh) {
  if (!g_pAppController) return;
  for (int i = 0; i < GetSkinButtonCount(); ++i) {
    CSkinButton* button = GetSkinButton(i);
    if (IsNamed(button, {"CountryLeft_Button", "CountryRight_Button"})) button->SetDisabled(!arrowsEnabled);
  }
  if (refresh) ShowCountryLabels();
}

void CChannelSkinDlg::RefillAfterCountryChange() {
  UpdateCountryControls(FALSE, TRUE);
  DeleteAllRows();
  FillChannelList();
}

LRESULT CChannelSkinDlg::OnRadioClicked(WPARAM wParam, LPARAM) {
  if (!m_regionRadio || !m_listRadio) return 0;
  if (wParam == kListRadioId) {
    m_listRadio->SetCheck(TRUE, TRUE);
    m_regionRadio->SetCheck(FALSE, TRUE);
    m_skinStatics.Show("Country_Static", FALSE);
    if (g_pAppController) m_countryCombo->SetCurSel(g_pAppController->GetCountryIndex());
    m_countryCombo->ShowWindow(SW_SHOW);
    m_listMode = 1;
  } else if (wParam == kRegionRadioId) {
    m_regionRadio->SetCheck(TRUE, TRUE);
    m_listRadio->SetCheck(FALSE, TRUE);
    m_skinStatics.Show("Country_Static", TRUE);
    m_countryCombo->ShowWindow(SW_HIDE);
    m_listMode = 0;
  }
  // What the label or the box covered shows the background again.
  Invalidate();
  if (!g_pAppController) return 0;
  if (CAppController::GetFollowRegionCountry() != 1 - m_listMode) CAppController::ToggleFollowRegionCountry();
  if (m_listMode) {
    UpdateCountryControls(TRUE, FALSE);
    return 0;
  }
  EndListEdits();
  if (!g_pAppController->SetCountryFromRegion()) {
    UpdateCountryControls(FALSE, FALSE);
  } else {
    RefillAfterCountryChange();
  }
  return 0;
}

// The country library is loaded for each pick, as its name is only known then.
void CChannelSkinDlg::OnCountrySelected() {
  if (!g_pAppController || !m_countryCombo) return;
  const int index = m_countryCombo->GetCurSel();
  if (index == g_pAppController->GetCountryIndex()) return;
  CString name;
  m_countryCombo->GetItemText(index, name);
  if (name.IsEmpty()) {
    Invalidate();
    return;
  }
  using CountryCodeProc = int (*)(const char*);
  HMODULE library = ::LoadLibraryA("Chanloret.dll");
  if (!library) return;
  auto countryCode = reinterpret_cast<CountryCodeProc>(::GetProcAddress(library, "GetCountryCode"));
  if (!countryCode) {
    ::FreeLibrary(library);
    return;
  }
  const int code = countryCode(name);
  ::FreeLibrary(library);
  CString text;
  text.Format("%d", code);
  m_skinStatics.SetFirstText("CountryCode_Static", text);
  EndListEdits();
  if (g_pAppController->SetCountryFromList(code)) RefillAfterCountryChange();
  else UpdateCountryControls(FALSE, FALSE);
  Invalidate();
}

// ---- Rows

BOOL CChannelSkinDlg::CreateChannelList() {
  m_channelList.reset(new (std::nothrow) CChannelListCtrl);
  if (!m_channelList) return FALSE;
  const CSize client = ClientSize();
  // The report list draws its rows itself, one selected at a time.
  const DWORD style = WS_CHILD | WS_VISIBLE | LVS_NOCOLUMNHEADER | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SINGLESEL |
                      LVS_SHOWSELALWAYS;
  if (!m_channelList->Create(style, ScaleDesignRect(kChannelListRect, client.cx, client.cy), this, kChannelListId))
    return FALSE;
  const HBITMAP frame = LoadProgramBitmap(kCellFrameBitmap);
  const CRect cell(0, 0, 55, 19);
  m_channelList->SetBitmaps(frame, frame, nullptr, nullptr, nullptr, nullptr, cell, cell, cell, cell, cell, cell, cell);
  if (frame) ::DeleteObject(frame);
  m_channelList->SetCellFrameRect(cell);
  m_channelList->SetCellFrameMargins(3, 3, 4, 3);
  m_channelList->MeasureInParent();
  for (int column = 0; column < kColumns; ++column)
    m_channelList->InsertColumn(column, "", LVCFMT_LEFT, client.cx * kColumnShare / kDesignWidth);
  m_channelList->SetColumnEditable(1, TRUE);
  // Past the columns the list shows its own black, as between its rows.
  m_channelList->SetBkColor(RGB(0, 0, 0));
  return FillChannelList();
}

// Rows in ascending channel number, the numbers' gaps closed up.
BOOL CChannelSkinDlg::FillChannelList() {
  if (!m_channelList || !g_pChannelList || !g_pAppSettings) return FALSE;
  const int plan = g_pAppSettings->TunerSource;
  DeleteAllRows();
  const int first = g_pChannelList->GetFirstChannelNumber(plan);
  const int last = g_pChannelList->GetLastChannelNumber(plan);
  if (first < 1 || last < 1 || first > last) return TRUE;
  int row = 0;
  for (int number = first; number >= 1; number = g_pChannelList->GetNextChannelNumber(number, plan)) {
    ChannelRecord record{};
    if (g_pChannelList->GetChannel(number, plan, &record)) InsertRowCopy(row++, record);
  }
  return TRUE;
}

void CChannelSkinDlg::DeleteAllRows() {
  if (!m_channelList || !m_channelList->GetSafeHwnd()) return;
  for (int row = m_channelList->GetItemCount() - 1; row >= 0; --row) m_channelList->DeleteRecordRow(row);
  m_channelList->DeleteAllItems();
}

void CChannelSkinDlg::InsertRowCopy(int row, const ChannelRecord& record) {
  auto* copy = new (std::nothrow) ChannelRecord(record);
  if (copy && m_channelList->InsertRecordRow(row, copy) < 0) delete copy;
}

void CChannelSkinDlg::RetuneCurrentChannel() {
  if (!FillChannelList() || !g_pAppSettings) return;
  const int plan = g_pAppSettings->TunerSource;
  TuneMuted(g_pChannelList->GetCurrentChannel(plan), plan);
}

// The row of `index` is tuned, by its record's number: numbers may have gaps.
LRESULT CChannelSkinDlg::OnChannelSelect(WPARAM wParam, LPARAM) {
  if (!g_pChannelList || !g_pAppSettings || !m_channelList) return 0;
  const int plan = g_pAppSettings->TunerSource == 2 ? 2 : 1;
  const ChannelRecord* record = m_channelList->GetItemRecord(static_cast<int>(wParam));
  if (record && g_pChannelList->GetCurrentChannel(plan) != record->ChannelNumber)
    TuneMuted(record->ChannelNumber, plan);
  ResetFineTune();
  return 0;
}

// ---- The scan

LRESULT CChannelSkinDlg::OnScanProgress(WPARAM wParam, LPARAM) {
  if (!g_pAppController || !IsWindowVisible() || !CAppController::IsScanning()) return 0;
  const int percent = static_cast<int>(wParam);
  ShowScanProgress(percent);
  if (m_progressSlider) m_progressSlider->SetPos(percent);
  return 0;
}

// The record is the window's to release. A channel found just before the worker ended (the
// plan's last, or one before a stop) arrives after the running flag is down, but still in
// the scan's run state, which lasts until the end is handled.
void CChannelSkinDlg::OnScanChannelFound(ChannelRecord* record) {
  const std::unique_ptr<ChannelRecord> received(record);
  if (!record || !g_pAppController || !m_channelList || !g_pChannelList || !g_pAppSettings) return;
  if (!CAppController::IsScanning() && !g_pAppController->IsScanState()) return;
  const int list = g_pAppSettings->VideoInput;
  if (m_scanFoundCount == 0) {
    CommitListEdits();
    DeleteAllRows();
    ResetFineTune();
    if (list == 1 || list == 2) g_pChannelList->ClearList(list);
  }
  InsertRowCopy(m_scanFoundCount, *record);
  auto* copy = new (std::nothrow) ChannelRecord(*record);
  if (copy && ((list != 1 && list != 2) || !g_pChannelList->AddChannel(list, copy))) delete copy;
  ++m_scanFoundCount;
}

LRESULT CChannelSkinDlg::OnScanDone(WPARAM, LPARAM) {
  if (g_pAppController) g_pAppController->FinishScan();
  ShowScanProgress(0);
  if (m_progressSlider) m_progressSlider->SetPos(0);
  for (auto* radio : {m_regionRadio.get(), m_listRadio.get()})
    if (radio) radio->EnableWindow(TRUE);
  SendMessage(UM_SCAN_MODE, 0, 1);
  m_scanFoundCount = 0;
  return 0;
}

LRESULT CChannelSkinDlg::OnScanMode(WPARAM, LPARAM lParam) {
  if (CAppController::GetFollowRegionCountry()) return 0;
  m_skinStatics.Show("Country_Static", !lParam);
  if (m_countryCombo) m_countryCombo->ShowWindow(lParam ? SW_SHOW : SW_HIDE);
  Invalidate();
  return 0;
}
