#include "windows/setup/CRecordOptionsDlg.h"

#include "windows/setup/SaveOptionRecord.h"

#include <com/oleauto.h>
#include <dshow/dshow.h>
#include <mfc/afxdlgs.h>
#include <vendor/language/Language.h>
#include <win32/codepage.h>

#include <algorithm>
#include <cstring>

namespace {

// Ids of the labels and the UI texts each takes.
constexpr int kTitleText = 1;
constexpr struct {
  int control;
  int text;
} kControlTexts[] = {{1021, 2}, {1022, 3}, {1013, 4}, {1015, 5}, {1019, 7}, {1020, 8}, {1006, 6}, {1017, 9}, {1018, 10}};

constexpr char kTimeStamp[] = "%Y%m%d%H%M%S";
constexpr char kMpegFilter[] = "mpg Files (*.mpg)|*.MPG| All Files (*.*)|*.*||";
constexpr char kAviFilter[] = "avi Files (*.avi)|*.AVI| All Files (*.*)|*.*||";

// The entry's "FriendlyName" in the ANSI code page; false when it cannot be read.
bool ReadFriendlyName(IMoniker* moniker, CString& name) {
  IPropertyBag* bag = nullptr;
  if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) return false;
  VARIANT value;
  VariantInit(&value);
  const bool read = SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR && value.bstrVal;
  if (read) {
    char text[MAX_PATH] = {};
    ::WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, text, sizeof(text) - 1, nullptr, nullptr);
    name = text;
  }
  VariantClear(&value);
  bag->Release();
  return read;
}

}  // namespace

BEGIN_MESSAGE_MAP(CRecordOptionsDlg, CDialog)
  ON_BN_CLICKED(kTypeMpeg1, OnTypeMpeg1)
  ON_BN_CLICKED(kTypeMpeg2, OnTypeMpeg2)
  ON_BN_CLICKED(kTypeAvi, OnTypeAvi)
  ON_BN_CLICKED(kBrowse, OnBrowse)
  ON_BN_CLICKED(kUseVideo, OnVideoCompression)
  ON_BN_CLICKED(kUseAudio, OnAudioCompression)
  ON_BN_CLICKED(kOkButton, OnAccept)
  ON_BN_CLICKED(kCancelButton, OnCancel)
END_MESSAGE_MAP()

CRecordOptionsDlg::CRecordOptionsDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CRecordOptionsDlg::~CRecordOptionsDlg() {
  ReleaseRows(m_videoRows);
  ReleaseRows(m_audioRows);
}

void CRecordOptionsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kAudioList, m_audioCompressorList);
  DDX_Control(pDX, kVideoList, m_videoCompressorList);
  DDX_Control(pDX, kPathEdit, m_pathEdit);
}

BOOL CRecordOptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetTexts();
  m_typeMpeg1 = 0;
  m_typeMpeg2 = 0;
  m_typeAvi = 1;
  m_useVideoCompressor = 1;
  m_useAudioCompressor = 1;
  CheckRadioButton(kTypeMpeg1, kTypeAvi, kTypeAvi);
  CheckDlgButton(kUseVideo, BST_CHECKED);
  CheckDlgButton(kUseAudio, BST_CHECKED);
  EnableCompressorControls(TRUE);
  FillCompressorList(m_videoCompressorList, CLSID_VideoCompressorCategory, m_videoRows);
  FillCompressorList(m_audioCompressorList, CLSID_AudioCompressorCategory, m_audioRows);
  return TRUE;
}

void CRecordOptionsDlg::SetTexts() {
  SetWindowText(GetWindowCommenItem(kTitleText));
  for (const auto& entry : kControlTexts) SetDlgItemText(entry.control, GetWindowCommenItem(entry.text));
}

void CRecordOptionsDlg::FillCompressorList(CComboBox& list, REFCLSID category, std::vector<IMoniker*>& rows) {
  list.ResetContent();
  ReleaseRows(rows);
  ICreateDevEnum* devices = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                 reinterpret_cast<void**>(&devices)))) {
    IEnumMoniker* entries = nullptr;
    if (devices->CreateClassEnumerator(category, &entries, 0) == S_OK && entries) {
      IMoniker* entry = nullptr;
      while (entries->Next(1, &entry, nullptr) == S_OK) {
        CString name;
        if (ReadFriendlyName(entry, name) && list.AddString(name) >= 0) {
          rows.push_back(entry);
        } else {
          entry->Release();
        }
      }
      entries->Release();
    }
    devices->Release();
  }
  list.SetCurSel(0);
  UpdateData(FALSE);
}

void CRecordOptionsDlg::ReleaseRows(std::vector<IMoniker*>& rows) {
  for (IMoniker* row : rows) row->Release();
  rows.clear();
}

IBaseFilter* CRecordOptionsDlg::CompressorAt(const std::vector<IMoniker*>& rows, int position) {
  if (position < 0 || position >= static_cast<int>(rows.size())) return nullptr;
  IBaseFilter* filter = nullptr;
  if (FAILED(rows[static_cast<size_t>(position)]->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                                               reinterpret_cast<void**>(&filter))))
    return nullptr;
  return filter;
}

// ---- Choices

void CRecordOptionsDlg::ChooseType(int mpeg1, int mpeg2, int avi) {
  m_typeMpeg1 = mpeg1;
  m_typeMpeg2 = mpeg2;
  m_typeAvi = avi;
  EnableCompressorControls(avi);
}

void CRecordOptionsDlg::EnableCompressorControls(BOOL enable) {
  for (int id : {kVideoList, kAudioList, kUseVideo, kUseAudio})
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(enable);
}

void CRecordOptionsDlg::OnTypeMpeg1() { ChooseType(1, 0, 0); }

void CRecordOptionsDlg::OnTypeMpeg2() { ChooseType(0, 1, 0); }

void CRecordOptionsDlg::OnTypeAvi() { ChooseType(0, 0, 1); }

void CRecordOptionsDlg::OnVideoCompression() {
  m_useVideoCompressor = !m_useVideoCompressor;
  CheckDlgButton(kUseVideo, m_useVideoCompressor ? BST_CHECKED : BST_UNCHECKED);
  if (m_typeAvi) m_videoCompressorList.EnableWindow(m_useVideoCompressor);
}

void CRecordOptionsDlg::OnAudioCompression() {
  m_useAudioCompressor = !m_useAudioCompressor;
  CheckDlgButton(kUseAudio, m_useAudioCompressor ? BST_CHECKED : BST_UNCHECKED);
  if (m_typeAvi) m_audioCompressorList.EnableWindow(m_useAudioCompressor);
}

// The save-as dialog belongs to this dialog, which stays disabled while it runs.
void CRecordOptionsDlg::OnBrowse() {
  const CString name = CTime::GetCurrentTime().Format(kTimeStamp) + (m_typeAvi ? ".avi" : ".mpg");
  CFileDialog dialog(FALSE, nullptr, name, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, m_typeAvi ? kAviFilter : kMpegFilter,
                     this);
  if (dialog.DoModal() == IDOK) m_pathEdit.SetWindowText(dialog.GetPathName());
}

// ---- OK

// The extension is looked for in the file's own name only: a dot in a folder's name
// must not send the file into another folder.
CString CRecordOptionsDlg::OutputPath() const {
  CString path;
  GetDlgItemText(kPathEdit, path);
  const char* extension = m_typeAvi ? "avi" : "mpg";
  if (path.IsEmpty()) return "c:\\" + CTime::GetCurrentTime().Format(kTimeStamp) + "." + extension;
  const int nameStart = std::max(path.ReverseFind('\\'), path.ReverseFind('/')) + 1;
  const int dot = path.ReverseFind('.');
  if (dot < nameStart) return path + "." + extension;
  if (path.Mid(dot + 1).CompareNoCase(extension) != 0) return path.Left(dot) + "." + extension;
  return path;
}

void CRecordOptionsDlg::OnOK() { OnAccept(); }

void CRecordOptionsDlg::OnAccept() {
  save_option_s* record = MakeSaveOption();
  if (!record) {
    OnCancel();
    return;
  }
  const CString path = OutputPath();
  // A path the record cannot hold is refused, not cut: the dialog stays, the path
  // selected for another.
  if (path.GetLength() > kMostPathChars) {
    m_pathEdit.SetFocus();
    m_pathEdit.SetSel(0, -1);
    return;
  }
  std::memset(record->output_file, 0, sizeof(record->output_file));
  std::memcpy(record->output_file, static_cast<LPCSTR>(path), static_cast<size_t>(path.GetLength()));
  ReleaseSaveCompressors(*record);
  if (m_typeMpeg1) {
    record->output_type = kOutputMpeg1;
  } else if (m_typeMpeg2) {
    record->output_type = kOutputMpeg2;
  } else {
    const int audio = m_audioCompressorList.GetCurSel();
    const int video = m_videoCompressorList.GetCurSel();
    record->audio_compressor = m_useAudioCompressor ? CompressorAt(m_audioRows, audio) : nullptr;
    record->video_compressor = m_useVideoCompressor ? CompressorAt(m_videoRows, video) : nullptr;
    record->output_type = kOutputAvi;
  }
  EndDialog(IDOK);
}
