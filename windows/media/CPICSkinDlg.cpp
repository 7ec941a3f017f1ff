#include "windows/media/CPICSkinDlg.h"

#include "core/CDisplayMode.h"
#include "core/MediaListFile.h"
#include "skin/CFolderPicker.h"
#include "skin/CIniFile.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinButtonEx.h"
#include "skin/CSkinLabel.h"
#include "skin/CSkinSlider.h"
#include "skin/CVideoStatic.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinValues.h"
#include "windows/main/WindowMessages.h"
#include "windows/media/CDibLock.h"
#include "windows/media/CThumbnailListWnd.h"

#include <com/globalmem.h>
#include <mfc/wnd/CFileDialog.h>
#include <vendor/language/Language.h>
#include <vendor/pictorin/Pictorin.h>
#include <win32/codepage.h>
#include <win32/shell/shellapi.h>

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int kLauncherDisplayMode = 105;
constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 768;
constexpr RECT kPictureAreaRect{307, 214, 1006, 754};
// The sliders lie between x 57 and 237 of the design space.
constexpr int kSliderLeft = 57;
constexpr int kSliderRight = 237;
constexpr UINT kSliderChannelBitmap = 144;
constexpr UINT kSliderThumbBitmap = 145;
constexpr COLORREF kSliderChannelMask = 0xFF00FF;
constexpr int kFirstLabelId = 4300;
// A position of 0 ... 100 gives the library's strength 0 ... 127.
constexpr int kMostPosition = 100;
constexpr int kMostStrength = 127;
// Texts of the UI text library: the failed save and the message boxes' caption.
constexpr int kSaveFailedText = 1;
constexpr int kCaptionText = 3;

using AdjustFunction = BOOL (*)(BYTE*, int, int, int, int, int, int, int);
using SmoothFunction = BOOL (*)(const BYTE*, int, int, int, int, int, BYTE*);

struct SliderRow {
  UINT id;
  int top;
  int bottom;
  AdjustFunction adjust;
  LPCSTR label;
};

constexpr SliderRow kSliderRows[CPICSkinDlg::kSliderCount] = {
    {CPICSkinDlg::kLightnessSlider, 463, 475, AdjustLightness, "VideoLightness_Static"},
    {CPICSkinDlg::kHueSlider, 494, 506, AdjustHue, "VideoChroma_Static"},
    {CPICSkinDlg::kContrastSlider, 520, 532, AdjustContrast, "VideoContrast_Static"},
    {CPICSkinDlg::kSaturationSlider, 549, 561, AdjustSaturation, "VideoSaturation_Static"},
};

// The buttons that wait for a picture.
constexpr LPCSTR kPictureButtons[] = {"XIAOCHU_BUTTON", "PINGHUA_BUTTON", "SAVE_BUTTON"};

const char* const kOpenFilter =
    "BMP File (*.bmp;*.bmp)|*.bmp;*.bmp|GIF File (*.gif)|*.gif|JPG File (*.jpg)|*.jpg|PNG File (*.png)|*.png|"
    "PCX File (*.pcx)|*.pcx|tif File (*.tif)|*.tif|All Files (*.*)|*.*|";
const char* const kSaveFilter = "Bmp File (*.bmp)|*.bmp||";

const SliderRow* FindRow(UINT id) {
  for (const SliderRow& row : kSliderRows)
    if (row.id == id) return &row;
  return nullptr;
}

// Written here in UTF-8, shown in the machine's ANSI code page.
CString ToAnsi(LPCSTR utf8) {
  WCHAR wide[256] = {};
  if (!::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 256)) return utf8;
  char ansi[512] = {};
  if (!::WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr)) return utf8;
  return ansi;
}

// The folder picker's title and prompt in the UI language: 2 simplified and 3 traditional
// Chinese, English otherwise.
void FolderPickerTexts(CString& title, CString& prompt) {
  switch (GetLanguage()) {
    case 2:
      title = ToAnsi("文件路径: ");
      prompt = ToAnsi("选择输入文件路径:");
      break;
    case 3:
      title = ToAnsi("檔案路徑: ");
      prompt = ToAnsi("選擇輸入檔案路徑:");
      break;
    default:
      title = "File Path: ";
      prompt = "Select Input File Path:";
      break;
  }
}

}  // namespace

HGLOBAL CPICSkinDlg::s_hPicture = nullptr;
CString CPICSkinDlg::s_pictureName;

BEGIN_MESSAGE_MAP(CPICSkinDlg, CSkinDialog)
  ON_WM_PAINT()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_MESSAGE(UM_SLIDER_TRACK, OnSliderTrack)
  ON_MESSAGE(UM_SLIDER_SET, OnSliderSet)
  ON_MESSAGE(CImageListView::UM_OPEN_LIST_ITEM, OnOpenListItem)
  ON_MESSAGE(CImageListView::UM_LIST_OPEN_ITEM, OnListOpenItem)
  ON_MESSAGE(CImageListView::UM_LIST_SET_FOLDER, OnListSetFolder)
  ON_MESSAGE(CImageListView::UM_LIST_ADD_FILE, OnListAddFile)
END_MESSAGE_MAP()

CPICSkinDlg::CPICSkinDlg(UINT nIDTemplate, CWnd* pParent) : CSkinDialog(nIDTemplate, pParent, "Pic-Buttons", "Pic-ButtonsMin") {
  m_undo.SetFolder(GetAppFolder());
}

CPICSkinDlg::~CPICSkinDlg() {
  DestroyControls();
  ReplacePicture(nullptr);
}

void CPICSkinDlg::DestroyControls() {
  DestroyAndDelete(m_pRadio);
  for (CSkinSlider*& slider : m_sliders) DestroyAndDelete(slider);
  m_pictureArea.Destroy();
  m_labels.DestroyAll();
  DestroyAndDelete(m_pThumbList);
}

// ---- Skin

BOOL CPICSkinDlg::LoadSkin(const CString& skinFile) {
  BOOL made = LoadSkinButtons(skinFile);
  if (made) {
    for (LPCSTR name : {"XIAOCHU_BUTTON", "PINGHUA_BUTTON", "SAVE_BUTTON", "RETURNOP_BUTTON"}) EnableButton(name, FALSE);
    made = CreateThumbnailList() && CreateLabels() && CreateRadioButton() && CreateSliders() && CreatePictureArea();
  }
  LayoutSkinButtons();
  Invalidate();
  return made;
}

// The first key holding a rectangle places the list; there is only one list to place.
BOOL CPICSkinDlg::CreateThumbnailList() {
  CRect design;
  if (m_pThumbList || !FindSectionRect("Pic-ListCtrl", design)) return TRUE;
  m_pThumbList = new (std::nothrow) CThumbnailListWnd;
  if (!m_pThumbList) return FALSE;
  const CSize client = ClientSize();
  if (!m_pThumbList->Create("", WS_CHILD | WS_VISIBLE, ScaleDesignRect(design, client.cx, client.cy), this, 0, TRUE, 0,
                            1)) {
    delete m_pThumbList;
    m_pThumbList = nullptr;
    return FALSE;
  }
  m_pThumbList->SetNotifyWindow(m_hWnd);
  m_pThumbList->SetMargins(design.left, design.top, design.right, design.bottom);
  m_pThumbList->LoadListFile(GetAppFolder() + kPictureHistoryFile);
  m_pThumbList->SetMenuMode(1);
  return TRUE;
}

// "NAME,IMAGE,left,top,right,bottom,TEXT" per key; the picture frames the label.
BOOL CPICSkinDlg::CreateLabels() {
  return m_labels.Create(*this, m_skinFile, "Pic-Static", kFirstLabelId);
}

// Key "1": "NAME,IMAGE,left,top,right,bottom,X" as a button's; its five images side by side.
BOOL CPICSkinDlg::CreateRadioButton() {
  const CIniFile ini(m_skinFile);
  SkinButtonEntry entry;
  if (m_pRadio || !ReadButtonEntry(ini, "Pic-RadioButtons", 1, entry)) return TRUE;
  m_pRadio = new (std::nothrow) CSkinButtonEx;
  if (!m_pRadio) return FALSE;
  m_pRadio->SetName(entry.strName);
  m_pRadio->SetCommandId(kFirstRadioCommand);
  m_pRadio->SetLatch(FALSE);
  HBITMAP strip = nullptr;
  SIZE size{};
  LoadPictureFile(GetSkinFilePath(ini, entry.strImage), strip, size);
  m_pRadio->SetShowCaption(FALSE);
  m_pRadio->SetImage(strip, entry.rcDesign.left, entry.rcDesign.top, entry.rcDesign.right, entry.rcDesign.bottom);
  ReleaseBitmap(strip);
  const CSize client = ClientSize();
  if (!m_pRadio->Create("", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, ScaleDesignRect(entry.rcDesign, client.cx, client.cy),
                        this, 0)) {
    delete m_pRadio;
    m_pRadio = nullptr;
    return FALSE;
  }
  m_pRadio->SetDisabled(TRUE);
  return TRUE;
}

BOOL CPICSkinDlg::CreateSliders() {
  const CSize client = ClientSize();
  for (int i = 0; i < kSliderCount; ++i) {
    if (m_sliders[i]) continue;
    const SliderRow& row = kSliderRows[i];
    auto* slider = new (std::nothrow) CSkinSlider;
    if (!slider) return FALSE;
    const RECT design{kSliderLeft, row.top, kSliderRight, row.bottom};
    if (!slider->Create("", WS_CHILD | WS_VISIBLE, ScaleDesignRect(design, client.cx, client.cy), this, row.id)) {
      delete slider;
      return FALSE;
    }
    slider->SetChannelBitmaps(kSliderChannelBitmap, 0, FALSE, TRUE, kSliderChannelMask);
    slider->SetThumbBitmaps(kSliderThumbBitmap, 0, FALSE, 0xFF000000);
    slider->SetDrawFocusRect(FALSE);
    slider->SetRange(0, kMostPosition);
    slider->SetPos(0);
    slider->SetBkColor(0);
    slider->SetMargins(0, 0, 0, 0);
    slider->Enable(FALSE);
    m_sliders[i] = slider;
  }
  return TRUE;
}

BOOL CPICSkinDlg::CreatePictureArea() {
  return m_pictureArea.Create(*this, kPictureAreaRect);
}

// ---- Layout and painting

CRect CPICSkinDlg::PictureAreaRect() const {
  const CSize client = ClientSize();
  return ScaleDesignRect(kPictureAreaRect, client.cx, client.cy);
}

void CPICSkinDlg::LayoutHostedControl() {
  const CSize client = ClientSize();
  if (m_pRadio) {
    RECT design{};
    m_pRadio->GetSkinRect(design);
    m_pRadio->MoveWindow(ScaleDesignRect(design, client.cx, client.cy), TRUE);
  }
  if (m_pThumbList) {
    RECT margins{};
    m_pThumbList->GetMargins(margins);
    const CRect place = ScaleDesignRect(margins, client.cx, client.cy);
    m_pThumbList->MoveWindow(place, TRUE);
    m_pThumbList->MoveList(0, 0, place.Width(), place.Height());
  }
  m_labels.Layout(client.cx, client.cy);
  for (int i = 0; i < kSliderCount; ++i) {
    if (!m_sliders[i]) continue;
    const RECT design{kSliderLeft, kSliderRows[i].top, kSliderRight, kSliderRows[i].bottom};
    m_sliders[i]->MoveWindow(ScaleDesignRect(design, client.cx, client.cy), TRUE);
  }
  m_pictureArea.Place();
}

void CPICSkinDlg::OnPaint() {
  CPaintDC dc(this);
  PaintSkin(dc);
  ShowPicture();
}

// Without a picture the area shows black, as its frame does.
void CPICSkinDlg::ShowPicture() {
  if (!m_pictureArea || !m_pictureArea->GetSafeHwnd()) return;
  const CRect area = PictureAreaRect();
  const RECT target{0, 0, area.Width(), area.Height()};
  int width = 0;
  int height = 0;
  {
    const CDibLock picture(s_hPicture);
    width = picture.GetWidth();
    height = picture.GetHeight();
  }
  HDC hdc = ::GetDC(m_pictureArea->GetSafeHwnd());
  const RECT source{0, 0, width, height};
  if (width <= 0 || !::DIBDisplay(hdc, &target, s_hPicture, &source, 0))
    ::FillRect(hdc, &target, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::ReleaseDC(m_pictureArea->GetSafeHwnd(), hdc);
  if (m_bHistogram) DrawHistogram();
}

BOOL CPICSkinDlg::DrawHistogram() {
  if (!s_hPicture || !m_pictureArea) return FALSE;
  DWORD counts[PICTORIN_CHANNELS * PICTORIN_BINS] = {};
  DWORD maxima[PICTORIN_CHANNELS] = {};
  {
    const CDibLock picture(s_hPicture);
    if (!picture.IsUsable() ||
        !::HistogramFromDIB(picture.GetBits(), 3, 3, picture.GetWidth(), picture.GetHeight(), picture.GetStride(), 15,
                            counts, maxima))
      return FALSE;
  }
  const CRect area = PictureAreaRect();
  const RECT target{0, 0, area.Width(), area.Height()};
  static const COLORREF colors[] = {0x0000FF, 0x00FF00, 0xFF0000};
  HDC hdc = ::GetDC(m_pictureArea->GetSafeHwnd());
  const BOOL drawn = ::DrawHistogram(hdc, &target, 3, 7, counts, maxima, colors, 0, 0, 0, 0, 0);
  ::ReleaseDC(m_pictureArea->GetSafeHwnd(), hdc);
  return drawn;
}

void CPICSkinDlg::OnSize(UINT nType, int cx, int cy) {
  m_sizedFlag = TRUE;
  CSkinDialog::OnSize(nType, cx, cy);
}

LRESULT CPICSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (wParam) LayoutSkinButtons();
      return 0;
    case WM_EXITSIZEMOVE:
      if (LayoutAfterSizing()) return 0;
      break;
    case WM_HELP: return 0;
    default: break;
  }
  return CSkinDialog::WindowProc(message, wParam, lParam);
}

// ---- Pictures

void CPICSkinDlg::ReplacePicture(HGLOBAL hPicture) {
  if (s_hPicture == hPicture) return;
  if (s_hPicture) ::GlobalFree(s_hPicture);
  s_hPicture = hPicture;
}

BOOL CPICSkinDlg::OpenPicture(const CString& path) {
  HGLOBAL picture = ::DIBRead(path);
  if (!picture) return FALSE;
  ReplacePicture(picture);
  ShowPicture();
  if (m_pRadio && m_pRadio->IsDisabled()) m_pRadio->SetDisabled(FALSE);
  for (LPCSTR name : kPictureButtons) EnableButton(name, TRUE);
  return TRUE;
}

LRESULT CPICSkinDlg::OnOpenListItem(WPARAM, LPARAM lParam) {
  const auto* item = reinterpret_cast<const CMediaFileItem*>(lParam);
  if (!item || item->GetThirdIndex() == -1) return 0;
  CString path;
  if (m_pThumbList) path = item->GetImagePath();
  for (CSkinSlider* slider : m_sliders)
    if (slider) slider->Enable(TRUE);
  EnableButton("RETURNOP_BUTTON", FALSE);
  // A file that cannot be read leaves the window without a picture.
  if (!OpenPicture(path)) {
    ReplacePicture(nullptr);
    ShowPicture();
  }
  s_pictureName = path;
  m_undo.Reset();
  for (CSkinSlider* slider : m_sliders)
    if (slider) slider->SetPos(0);
  for (int i = 0; i < m_labels.GetCount(); ++i) m_labels.GetAt(i)->SetText("0");
  return 0;
}

LRESULT CPICSkinDlg::OnSliderTrack(WPARAM wParam, LPARAM lParam) {
  if (const SliderRow* row = FindRow(static_cast<UINT>(wParam))) {
    CString text;
    text.Format("%d", static_cast<int>(lParam));
    SetLabelText(row->label, text);
  }
  return 0;
}

LRESULT CPICSkinDlg::OnSliderSet(WPARAM wParam, LPARAM lParam) {
  Adjust(static_cast<UINT>(wParam), static_cast<int>(lParam));
  return 0;
}

// The message may come from anywhere: a position outside 0 ... 100 counts as the nearest end.
void CPICSkinDlg::Adjust(UINT nSliderId, int nPosition) {
  if (!s_hPicture) return;
  const int position = nPosition < 0 ? 0 : nPosition > kMostPosition ? kMostPosition : nPosition;
  {
    const CDibLock picture(s_hPicture);
    if (!picture.IsUsable()) return;
    // The picture as it is before the change goes to the next temporary file, for undo to
    // bring back; one that cannot be saved keeps its change, without a way back to before it.
    const CString file = m_undo.NextFile();
    if (::DIBSave(s_hPicture, file)) m_undo.Push(file);
    if (const SliderRow* row = FindRow(nSliderId)) {
      CString text;
      text.Format("%d", position);
      SetLabelText(row->label, text);
      const int bpp = picture.GetBytesPerPixel();
      row->adjust(picture.GetBits(), picture.GetWidth(), picture.GetHeight(), bpp, bpp, picture.GetStride(),
                  position * kMostStrength / kMostPosition, 0);
    }
  }
  if (!m_undo.IsEmpty()) EnableButton("RETURNOP_BUTTON", TRUE);
  ShowPicture();
}

void CPICSkinDlg::Smooth(BOOL bMedian) {
  if (!s_hPicture) return;
  {
    const CDibLock picture(s_hPicture);
    if (!picture.IsUsable()) return;
    const SIZE_T size = picture.GetImageSize();
    std::unique_ptr<BYTE[]> copy(new (std::nothrow) BYTE[size]);
    if (!copy) return;
    std::memcpy(copy.get(), picture.GetBits(), size);
    const SmoothFunction filter = bMedian ? MedianSmooth : GaussSmooth;
    const int bpp = picture.GetBytesPerPixel();
    filter(copy.get(), bpp, bpp, picture.GetWidth(), picture.GetHeight(), picture.GetStride(), picture.GetBits());
  }
  ShowPicture();
}

// The newest file holds the picture as it was before the latest change (the smoothing
// filters are not changes of the stack: a filter since then goes with it).
void CPICSkinDlg::Undo() {
  CString path;
  if (!m_undo.Pop(path)) {
    EnableButton("RETURNOP_BUTTON", FALSE);
    return;
  }
  // A file that cannot be read any more leaves the picture shown as it is.
  OpenPicture(path);
}

void CPICSkinDlg::ToggleHistogram() {
  if (!m_bHistogram) {
    m_bHistogram = DrawHistogram();
  } else {
    m_bHistogram = FALSE;
    ShowPicture();
  }
  if (m_pRadio) {
    m_pRadio->SetChecked(m_bHistogram);
    m_pRadio->Invalidate();
  }
}

void CPICSkinDlg::Save() {
  if (!s_hPicture) return;
  // Saving over a file asks first: the default name is the picture's own file.
  CFileDialog dialog(FALSE, "bmp", s_pictureName, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT, kSaveFilter,
                     this);
  if (dialog.DoModal() != IDOK) return;
  const CString path = dialog.GetPathName();
  if (!::DIBSave(s_hPicture, path)) {
    ::MessageBoxA(m_hWnd, GetMessageInfo(kSaveFailedText), GetMessageInfo(kCaptionText), MB_OK);
    return;
  }
  if (!m_pThumbList || IsListed(path)) return;
  m_pThumbList->AddFileIfKnownType(path, TRUE);
  AppendMediaList(GetAppFolder() + kPictureHistoryFile, path, kMediaListPicture);
}

BOOL CPICSkinDlg::IsListed(const CString& path) const {
  const CImageListView* view = m_pThumbList->GetListView();
  for (int i = 0; view && i < m_pThumbList->GetItemCount(); ++i)
    if (const CMediaFileItem* item = view->GetItem(i); item && item->GetImagePath().CompareNoCase(path) == 0) return TRUE;
  return FALSE;
}

// ---- Buttons, keys and the list's requests

void CPICSkinDlg::EnableButton(LPCSTR name, BOOL bEnable) {
  if (CSkinButton* button = FindSkinButton(name)) button->SetDisabled(!bEnable);
}

void CPICSkinDlg::SetLabelText(LPCSTR name, LPCSTR text) { m_labels.SetFirstText(name, text); }

CSkinLabel* CPICSkinDlg::FindLabel(LPCSTR name) const {
  return m_labels.Find(name);
}

CSkinSlider* CPICSkinDlg::GetSlider(UINT nId) const {
  for (int i = 0; i < kSliderCount; ++i)
    if (kSliderRows[i].id == nId) return m_sliders[i];
  return nullptr;
}

BOOL CPICSkinDlg::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (!pHandlerInfo && m_pRadio && nID == static_cast<UINT>(kFirstRadioCommand)) {
    if (nCode == CN_COMMAND && !m_pRadio->IsDisabled()) OnSkinButton(m_pRadio->GetName());
    return TRUE;
  }
  return CSkinDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CPICSkinDlg::OnSkinButton(const CString& name) {
  if (SwallowsButtonAction()) return;
  const BOOL radio = m_pRadio && m_pRadio->GetName() == name;
  if (!radio && !IsButtonUsable(name)) return;
  if (name == "CLOSE_BUTTON") m_undo.DeleteFiles();
  if (HandleFrameButton(name)) return;
  if (name == "MAIN_BUTTON" || name == "RETURN_BUTTON") {
    ReturnToLauncher();
  } else if (name == "RETURNOP_BUTTON") {
    Undo();
  } else if (name == "ZHIFANG_BUTTON") {
    ToggleHistogram();
  } else if (name == "XIAOCHU_BUTTON") {
    Smooth(TRUE);
  } else if (name == "PINGHUA_BUTTON") {
    Smooth(FALSE);
  } else if (name == "SAVE_BUTTON") {
    Save();
  }
}

// The launcher destroys this window once it is back in front, so it is told by a posted
// message: nothing of this window may be on the stack then.
void CPICSkinDlg::ReturnToLauncher() {
  m_undo.DeleteFiles();
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kLauncherDisplayMode);
  StoreSharedRect();
  CWnd* main = AfxGetMainWnd();
  if (!main || main == this) return;
  main->ShowWindow(SW_SHOW);
  ShowWindow(SW_HIDE);
  main->PostMessage(UM_REFRESH_LAYOUT, 0, 0);
}

BOOL CPICSkinDlg::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    switch (pMsg->wParam) {
      case VK_RETURN:
      case VK_ESCAPE: return DispatchToControl(pMsg);
      case VK_BACK: return GoBackByKey();
      default: break;
    }
  }
  return CSkinDialog::PreTranslateMessage(pMsg);
}

LRESULT CPICSkinDlg::OnListOpenItem(WPARAM, LPARAM lParam) {
  const auto* item = reinterpret_cast<const CMediaFileItem*>(lParam);
  if (item) ::ShellExecuteA(nullptr, nullptr, item->GetImagePath(), nullptr, nullptr, SW_SHOWNORMAL);
  return 0;
}

LRESULT CPICSkinDlg::OnListSetFolder(WPARAM, LPARAM) {
  if (!m_pThumbList) return 0;
  CString title;
  CString prompt;
  FolderPickerTexts(title, prompt);
  CFolderPicker picker(title, prompt, "", this);
  if (picker.DoModal() != IDOK) return 0;
  m_pThumbList->AddFolder(picker.GetPath(), FALSE, TRUE);
  m_pThumbList->Redraw();
  return 0;
}

LRESULT CPICSkinDlg::OnListAddFile(WPARAM, LPARAM) {
  if (!m_pThumbList) return 0;
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, kOpenFilter, this);
  if (dialog.DoModal() != IDOK) return 0;
  m_pThumbList->AddMediaFile(dialog.GetPathName(), FALSE, TRUE);
  return 0;
}

void CPICSkinDlg::OnDestroy() {
  if (m_pThumbList) m_pThumbList->SaveListFile(GetAppFolder() + kPictureHistoryFile, FALSE);
  CSkinDialog::OnDestroy();
}
