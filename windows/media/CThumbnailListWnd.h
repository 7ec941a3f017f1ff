// The child window through which the media player, the picture browser and the video
// editor keep a list of picture or video files: a static control holding one
// CImageListView over its whole client area (control id 2048) and one CFileFrameGrabber
// for the thumbnails of videos. It turns paths and folders into CMediaFileItem records,
// makes a video's thumbnail from its first picture, loads and saves media list files
// (".lis"), and moves the selection on the remote's previous and next keys.
//
// A video's thumbnail is a bitmap in the temporary folder (CMediaFileItem::MakeThumbnailName)
// written by the media detector, or else by the frame grabber's graph; it lives as long as
// its item is in the view. A picture or video that cannot be read, or whose thumbnail
// cannot be made, is not added: the adding call returns 0 and the list stays as it was.
//
// Media list file: a 32-bit little-endian count, then that many 264-byte records (kind, 1
// video or 0 picture, and a zero-padded 260-byte path). Loading keeps the file's order;
// a record whose file is gone or cannot be shown is left out and loading goes on.
#pragma once

#include "windows/media/CImageListView.h"

#include <mfc/afxwin.h>

class CFileFrameGrabber;

class CThumbnailListWnd : public CStatic {
 public:
  static constexpr UINT kListId = 2048;
  // Remote-control keys that move the selection (lParam of UM_LIST_OPEN_ITEM).
  static constexpr int kKeyPrevious = 31;
  static constexpr int kKeyNext = 68;
  // A flag value in wParam, which the window only records.
  static constexpr UINT UM_THUMB_FLAG = 0x1011;

  CThumbnailListWnd();
  ~CThumbnailListWnd() override;

  // The static control; the three extra values are kept for the view.
  BOOL Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, BOOL bSingleSelection,
              COLORREF crBackground, int nStoredValue);

  // Stored for the owning window's layout; the window itself does not use them.
  void SetMargins(int nLeft, int nTop, int nRight, int nBottom);
  void GetMargins(RECT& rect) const { rect = m_rcMargins; }
  void MoveList(int nLeft, int nTop, int nRight, int nBottom);
  void Redraw();
  void SetNotifyWindow(HWND hWnd);
  // -1 keeps the stored mode; either way the view is given it.
  void SetMenuMode(int nMode);
  void EnableHoverTips(BOOL bEnable);
  HWND GetListHwnd() const;
  CImageListView* GetListView() const { return m_pListView; }
  int GetItemCount() const;
  int GetFirstSelected() const;
  BOOL SelectItem(int nIndex);

  // Adds an existing file: a video (only a video file name when `bIsVideo`) or a
  // picture, first or last.
  BOOL AddMediaFile(LPCSTR lpszPath, BOOL bIsVideo, BOOL bToTop);
  // A picture the picture library knows by its extension, or a video, at the end.
  BOOL AddFileIfKnownType(LPCSTR lpszPath, BOOL bIsPicture);
  // Every video (or picture) file of the folder itself, no sub-folders; how many were added.
  int AddFolder(LPCSTR lpszFolder, BOOL bIsVideo, BOOL bToTop);
  BOOL LoadListFile(LPCSTR lpszPath);
  // Every item as a record of the given kind, its video or image path; paths too long
  // for a record are left out (the count says how many follow). The file is replaced whole.
  BOOL SaveListFile(LPCSTR lpszPath, BOOL bIsVideo);

  static BOOL IsImageFile(LPCSTR lpszPath);
  // The flag last given with UM_THUMB_FLAG, 0 before any.
  WPARAM GetThumbFlag() const { return m_thumbFlag; }

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg LRESULT OnListOpenItem(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnThumbFlag(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL AddItemFirst(CMediaFileItem* pItem);
  BOOL AddItemLast(CMediaFileItem* pItem);
  // The thumbnail a video item needs, unless its file is there already.
  bool PrepareThumbnail(CMediaFileItem& item);
  BOOL CreateVideoThumbnail(CMediaFileItem& item);
  HRESULT GrabFrameWithMediaDet(LPCSTR lpszVideo, LPCSTR lpszPicture);
  BOOL GrabFrameConnected(LPCSTR lpszVideo, LPCSTR lpszPicture);
  BOOL GrabFrameRendered(LPCSTR lpszVideo);

  CImageListView* m_pListView = nullptr;
  CFileFrameGrabber* m_pGrabber = nullptr;
  int m_nMenuMode = 4;
  BOOL m_bSingleSelection = FALSE;
  int m_nStoredValue = 0;
  COLORREF m_crBackground = 0;
  CRect m_rcMargins;
  int m_nCursor = -1;
  WPARAM m_thumbFlag = 0;
};
