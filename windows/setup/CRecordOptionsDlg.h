// The recording options dialog (dialog 152, "Select parameter"): a plain modal dialog
// the video editor shows before it saves its project. It asks for the output type
// (MPEG-1, MPEG-2 or AVI), the output file and, for AVI, a video and an audio compressor
// among those the device enumerator lists, each of which may be left out. OK fills the
// program's save request (SaveOptionRecord.h); Cancel leaves it as it was.
//
// Each list row keeps the moniker it was read from, so the compressor bound at OK is the
// one the row names, whatever entries without a readable name the category also holds.
#pragma once

#include <mfc/afxwin.h>

#include <vector>

struct IMoniker;
struct IBaseFilter;

class CRecordOptionsDlg : public CDialog {
 public:
  enum { IDD = 152 };
  // Control ids of the template.
  static constexpr int kTypeMpeg1 = 1009;
  static constexpr int kTypeMpeg2 = 1010;
  static constexpr int kTypeAvi = 1011;
  static constexpr int kPathEdit = 1012;
  static constexpr int kBrowse = 1006;
  static constexpr int kVideoList = 1014;
  static constexpr int kAudioList = 1016;
  static constexpr int kUseVideo = 1019;
  static constexpr int kUseAudio = 1020;
  static constexpr int kOkButton = 1017;
  static constexpr int kCancelButton = 1018;
  // The record's output types.
  static constexpr int kOutputMpeg1 = 0;
  static constexpr int kOutputMpeg2 = 1;
  static constexpr int kOutputAvi = 5;
  // The longest output path the record holds.
  static constexpr int kMostPathChars = 259;

  explicit CRecordOptionsDlg(CWnd* pParent = nullptr);
  ~CRecordOptionsDlg() override;

  CComboBox m_audioCompressorList;
  CComboBox m_videoCompressorList;
  CEdit m_pathEdit;
  int m_typeMpeg1 = 0;
  int m_typeMpeg2 = 0;
  int m_typeAvi = 0;
  int m_useVideoCompressor = 0;
  int m_useAudioCompressor = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Enter outside the buttons: as the OK button, so the record is always filled.
  void OnOK() override;

  afx_msg void OnTypeMpeg1();
  afx_msg void OnTypeMpeg2();
  afx_msg void OnTypeAvi();
  afx_msg void OnBrowse();
  afx_msg void OnVideoCompression();
  afx_msg void OnAudioCompression();
  afx_msg void OnAccept();
  DECLARE_MESSAGE_MAP()

 private:
  void SetTexts();
  void ChooseType(int mpeg1, int mpeg2, int avi);
  void EnableCompressorControls(BOOL enable);
  // The category's entries with a readable name, as rows, each keeping its moniker.
  void FillCompressorList(CComboBox& list, REFCLSID category, std::vector<IMoniker*>& rows);
  // The filter of the row at `position` (with its reference), or null.
  static IBaseFilter* CompressorAt(const std::vector<IMoniker*>& rows, int position);
  static void ReleaseRows(std::vector<IMoniker*>& rows);
  // The typed path with the type's extension, or the default name for an empty one.
  CString OutputPath() const;

  std::vector<IMoniker*> m_videoRows;
  std::vector<IMoniker*> m_audioRows;
};
