// The schedule entry editor's skin and controls, its messages and keys.
#include "windows/setup/CScheduleSkinDlg.h"

#include "core/CAppController.h"
#include "core/data/CChannelList.h"
#include "skin/CDigitEdit.h"
#include "skin/CIniFile.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinLabel.h"
#include "skin/CSkinRadioButton.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinValues.h"
#include "windows/main/WindowMessages.h"

#include <memory>
#include <new>

namespace {

constexpr RECT kVideoAreaRect{40, 530, 339, 731};
constexpr int kFirstLabelId = 5700;
// The numeric edits' font, and its size in tenths of a point per design unit of height.
constexpr char kEditFace[] = "Times New Roman";

// The range of the hour edits is 0-23, of the minute and second edits 0-59.
int MostValueOf(const CString& name) {
  return name == "StartHour_Edit" || name == "RecordHour_Edit" ? 23 : 59;
}

}  // namespace

BEGIN_MESSAGE_MAP(CScheduleSkinDlg, CSkinDialog)
  ON_WM_DESTROY()
  ON_MESSAGE(UM_RADIO_CLICKED, OnRadioClicked)
  ON_MESSAGE(UM_DIGITEDIT_FOCUS, OnDigitEditFocus)
END_MESSAGE_MAP()

CScheduleSkinDlg::CScheduleSkinDlg(UINT nIDTemplate, CWnd* pParent)
    : CSkinDialog(nIDTemplate, pParent, "Time-Buttons", "Time-ButtonsMin"),
      m_start(CTime::GetCurrentTime().GetTime()) {}

CScheduleSkinDlg::~CScheduleSkinDlg() { DestroyControls(); }

void CScheduleSkinDlg::DestroyControls() {
  m_videoArea.Destroy();
  for (CDigitEdit*& edit : m_edits) DestroyAndDelete(edit);
  m_edits.clear();
  for (CSkinRadioButton*& radio : m_radios) DestroyAndDelete(radio);
  m_radios.clear();
  m_labels.DestroyAll();
}

void CScheduleSkinDlg::OnDestroy() {
  DestroyControls();
  CSkinDialog::OnDestroy();
}

// ---- Skin

BOOL CScheduleSkinDlg::LoadSkin(const CString& skinFile) {
  const BOOL made = LoadSkinButtons(skinFile) && CreateLabels() && CreateRadios() && CreateEdits() &&
                    CreateVideoArea();
  LayoutSkinButtons();
  if (made) {
    ReadChannelRanges();
    ApplyChannelRange();
    m_videoArea.ShowLivePicture();
    RefreshAll();
  }
  Invalidate();
  return made;
}

// "NAME,IMAGE,left,top,right,bottom,TEXT" per key of "Time-Statics"; the picture frames
// the text.
BOOL CScheduleSkinDlg::CreateLabels() {
  return m_labels.Create(*this, m_skinFile, "Time-Statics", kFirstLabelId);
}

// "caption,IMAGE,value,left,top,right,bottom" per key of "Time-Radio"; the picture holds
// the unchecked and the checked image side by side.
BOOL CScheduleSkinDlg::CreateRadios() {
  const CIniFile ini(m_skinFile);
  CStringArray keys;
  ini.GetSectionKeys("Time-Radio", keys);
  const CSize client = ClientSize();
  for (int key = 1; key <= static_cast<int>(keys.GetSize()); ++key) {
    CString keyName;
    keyName.Format("%d", key);
    CString value = ini.GetString("Time-Radio", keyName, "");
    if (value.IsEmpty()) continue;
    const CString caption = CutField(value);
    const CString image = CutField(value);
    const int radioValue = FieldToInt(CutField(value));
    const CRect design = CutRect(value);
    std::unique_ptr<CSkinRadioButton> radio(new (std::nothrow) CSkinRadioButton);
    if (!radio) return FALSE;
    radio->SetText(caption);
    radio->SetValue(radioValue);
    radio->SetTextRect(design.left, design.top, design.right, design.bottom);
    HBITMAP strip = nullptr;
    SIZE size{};
    if (LoadPictureFile(GetSkinFilePath(ini, image), strip, size)) {
      const RECT unchecked{0, 0, size.cx / 2, size.cy};
      const RECT checked{size.cx / 2, 0, size.cx / 2 * 2, size.cy};
      radio->SetBitmaps(strip, strip, unchecked, checked);
      ReleaseBitmap(strip);
    }
    if (!radio->Create(caption, WS_CHILD | WS_VISIBLE, ScaleDesignRect(design, client.cx, client.cy), this,
                       kFirstRadioId + static_cast<UINT>(radioValue)))
      return FALSE;
    m_radios.push_back(radio.release());
  }
  return TRUE;
}

// "NAME,left,top,right,bottom" per key of "Time-EditControl".
BOOL CScheduleSkinDlg::CreateEdits() {
  const CIniFile ini(m_skinFile);
  CStringArray keys;
  ini.GetSectionKeys("Time-EditControl", keys);
  const CSize client = ClientSize();
  for (int key = 1; key <= static_cast<int>(keys.GetSize()); ++key) {
    CString keyName;
    keyName.Format("%d", key);
    CString value = ini.GetString("Time-EditControl", keyName, "");
    if (value.IsEmpty()) continue;
    const CString name = CutField(value);
    const CRect design = CutRect(value);
    std::unique_ptr<CDigitEdit> edit(new (std::nothrow) CDigitEdit);
    if (!edit) return FALSE;
    const UINT id = kFirstEditId + static_cast<UINT>(key);
    if (!edit->Create(WS_CHILD | WS_VISIBLE, ScaleDesignRect(design, client.cx, client.cy), this, id)) return FALSE;
    edit->SetText(name);
    edit->SetTag(static_cast<int>(id));
    edit->SetRect(design);
    edit->SetPointFont(kEditFace);
    edit->SetRange(MostValueOf(name), 0);
    m_edits.push_back(edit.release());
  }
  return TRUE;
}

BOOL CScheduleSkinDlg::CreateVideoArea() {
  return m_videoArea.Create(*this, kVideoAreaRect);
}

// List 1's numbers are taken as they are (-1 for an empty list); list 2's first number is
// kept within its last and is at least 1.
void CScheduleSkinDlg::ReadChannelRanges() {
  if (!g_pChannelList) return;
  m_first1 = g_pChannelList->GetFirstChannelNumber(1);
  m_last1 = g_pChannelList->GetLastChannelNumber(1);
  m_first2 = g_pChannelList->GetFirstChannelNumber(2);
  m_last2 = g_pChannelList->GetLastChannelNumber(2);
  if (m_first2 > m_last2) m_first2 = m_last2;
  if (m_first2 < 0) m_first2 = 1;
}

void CScheduleSkinDlg::LayoutHostedControl() {
  const CSize client = ClientSize();
  m_labels.Layout(client.cx, client.cy);
  for (CSkinRadioButton* radio : m_radios) {
    RECT design{};
    radio->GetTextRect(design);
    radio->MoveWindow(ScaleDesignRect(design, client.cx, client.cy), TRUE);
  }
  for (CDigitEdit* edit : m_edits) edit->MoveWindow(ScaleDesignRect(edit->GetRect(), client.cx, client.cy), TRUE);
  m_videoArea.Place();
}

// ---- Controls by name

CDigitEdit* CScheduleSkinDlg::FindEdit(LPCSTR name) const {
  for (CDigitEdit* edit : m_edits)
    if (edit->GetText() == name) return edit;
  return nullptr;
}

CSkinLabel* CScheduleSkinDlg::FindLabel(LPCSTR name) const {
  return m_labels.Find(name);
}

CSkinRadioButton* CScheduleSkinDlg::GetRadio(UINT id) const {
  for (CSkinRadioButton* radio : m_radios)
    if (radio->GetDlgCtrlID() == static_cast<int>(id)) return radio;
  return nullptr;
}

void CScheduleSkinDlg::SetLabelText(LPCSTR name, const CString& text) { m_labels.SetFirstText(name, text); }

void CScheduleSkinDlg::EnableButton(LPCSTR name, BOOL enable) {
  if (CSkinButton* button = FindSkinButton(name); button && button->IsEnabled() != enable) {
    button->SetDisabled(!enable);
    button->Invalidate();
  }
}

// ---- Buttons, radios, keys

void CScheduleSkinDlg::OnSkinButton(const CString& name) {
  if (SwallowsButtonAction()) return;
  if (!IsButtonUsable(name)) return;
  if (HandleFrameButton(name)) return;
  if (name == "MAIN_BUTTON") {
    LeaveForLauncher();
  } else if (name == "RETURN_BUTTON" || name == "CANCEL_BUTTON") {
    ReturnToPlanList(FALSE);
  } else if (name == "SAVE_BUTTON") {
    if (StoreEntry()) ReturnToPlanList(TRUE);
  } else if (name == "MEI_LEFTBUTTON" || name == "MEI_RIGHTBUTTON") {
    StepRecurrence(name == "MEI_RIGHTBUTTON");
  } else if (name == "SHOWTIME_TOPBUTTON" || name == "SHOWTIME_BOTTOMBUTTON") {
    StepDate(name == "SHOWTIME_TOPBUTTON");
  } else if (name == "CHANNEL_TOPBUTTON" || name == "CHANNEL_BOTTOMBUTTON") {
    StepChannel(name == "CHANNEL_TOPBUTTON");
  } else if (name == "MODE_LEFTBUTTON" || name == "MODE_RIGHTBUTTON") {
    m_mode = m_mode == 1 ? 0 : 1;
    ShowMode();
  } else if (name == "MAKE_LEFTBUTTON" || name == "MAKE_RIGHTBUTTON") {
    m_action = name == "MAKE_RIGHTBUTTON" ? (m_action >= 3 ? 0 : m_action + 1) : (m_action <= 0 ? 3 : m_action - 1);
    ShowAction();
  }
}

// The last radio is the remove-when-past toggle; the others choose the source.
LRESULT CScheduleSkinDlg::OnRadioClicked(WPARAM wParam, LPARAM) {
  CSkinRadioButton* last = GetRemoveWhenPastRadio();
  if (!last) return 0;
  const UINT id = static_cast<UINT>(wParam);
  if (last->GetDlgCtrlID() == static_cast<int>(id)) {
    m_removeWhenPast = m_removeWhenPast ? 0 : 1;
    last->SetCheck(m_removeWhenPast, TRUE);
    return 0;
  }
  for (CSkinRadioButton* radio : m_radios)
    if (radio != last) radio->SetCheck(radio->GetDlgCtrlID() == static_cast<int>(id), TRUE);
  switch (id) {
    case kAntennaRadio: SelectSource(0); break;
    case kCableRadio: SelectSource(1); break;
    case kCompositeRadio: SelectSource(2); break;
    default: SelectSource(m_source); break;
  }
  return 0;
}

LRESULT CScheduleSkinDlg::OnDigitEditFocus(WPARAM wParam, LPARAM lParam) {
  m_focusFlag = wParam;
  m_focusTag = lParam;
  return 0;
}

// Enter and Escape go to the control they were typed in and never close the editor;
// Backspace outside an edit goes back to the plan list.
BOOL CScheduleSkinDlg::PreTranslateMessage(MSG* pMsg) { return PreTranslateWindowKeys(pMsg); }

BOOL CScheduleSkinDlg::OnKey(MSG* pMsg) { return pMsg->wParam == VK_RETURN && DispatchToControl(pMsg); }

LRESULT CScheduleSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return SizingWindowProc(message, wParam, lParam);
}
