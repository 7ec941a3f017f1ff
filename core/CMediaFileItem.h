// One entry of the media lists the picture and video windows show as thumbnails: a video
// file (with a thumbnail bitmap in the temp folder) or a picture file. It answers what
// those windows ask about the file (name, folder, extension, size, dates, whether it still
// exists), builds the information text shown for it, renames and deletes it.
//
// The main path is the video path of a video item and the image path of a picture item.
// Paths are Windows paths ("X:\folder\name.ext"); every file access goes through the
// platform's file functions.
#pragma once

#include <mfc/afx.h>
#include <win32/types.h>

class CMediaFileItem {
 public:
  CMediaFileItem() = default;
  virtual ~CMediaFileItem() = default;
  CMediaFileItem(const CMediaFileItem&) = default;
  CMediaFileItem& operator=(const CMediaFileItem&) = default;

  // Both videos with the same video path, or both pictures with the same image path
  // (ignoring case); false for a null item.
  static bool IsSameFile(const CMediaFileItem* a, const CMediaFileItem* b);
  // The file-name parts of both paths, without their extensions unless `withExtension`,
  // equal ignoring case; an empty path gives false.
  static bool IsSameName(LPCSTR a, LPCSTR b, int withExtension);

  // The position at which the item was read from a history list; -1 when unset.
  int GetLoadOrder() const { return m_loadOrder; }
  void SetLoadOrder(int order) { m_loadOrder = order; }
  int GetSecondIndex() const { return m_secondIndex; }
  void SetSecondIndex(int index) { m_secondIndex = index; }
  int GetThirdIndex() const { return m_thirdIndex; }
  void SetThirdIndex(int index) { m_thirdIndex = index; }
  int IsVideo() const { return m_isVideo; }
  void SetVideo(int isVideo) { m_isVideo = isVideo; }

  // A null text is ignored.
  void SetVideoPath(LPCSTR path);
  void SetImagePath(LPCSTR path);
  // Empty for a picture item.
  CString GetVideoPath() const;
  CString GetImagePath() const { return m_imagePath; }
  CString GetMainPath() const { return m_isVideo ? m_videoPath : m_imagePath; }

  // A given text is stored; null names the item after its main file, extension included.
  void SetDisplayName(LPCSTR text);
  CString GetDisplayName() const { return m_displayName; }
  // A given text is stored; null builds it in the installed language.
  void SetInfoText(LPCSTR text);
  CString GetInfoText() const { return m_infoText; }
  // The file's name, folder, last change and size, in English or in one of the two
  // Chinese forms.
  void BuildInfoText();
  void BuildInfoTextLocalized();

  // The folder of the main file, opened by the shell as the desktop opens a folder;
  // nothing for a path without a folder.
  void OpenContainingFolder() const;

  // Renames the main file within its own folder and follows it with the path and the
  // display name. False for a new name that is not a plain file name or for a main file
  // that is not on a drive.
  bool Rename(LPCSTR newName);
  bool MainFileExists() const;
  bool ImageFileExists() const;
  // Deletes the item's file when it is of that kind and exists.
  bool DeleteVideoFile();
  bool DeletePictureFile();
  // A video item's thumbnail file is deleted and its image path emptied.
  void DeleteThumbnail();

  // The text after the last "." of the main path; true when not empty.
  bool GetExtension(CString& extension) const;
  // Size in bytes of the main file; -1 when it cannot be read.
  LONGLONG GetFileSize() const;
  // File times; CTime(-1) when the file cannot be read.
  CTime GetCreationTime() const;
  CTime GetLastAccessTime() const;
  CTime GetLastWriteTime() const;
  // A video item whose file exists gets a thumbnail name in the temp folder that no file
  // holds yet: "<video name>_tmp.bmp", one more "_tmp" per name taken. False when the
  // name would no longer fit a path.
  bool MakeThumbnailName();

  // A file name part fit to rename to: 1 to 260 characters, an extension, none of the
  // characters Windows refuses, not a device name.
  static bool IsValidFileName(LPCSTR name);
  // "X:\" with X from B to Y.
  static bool IsDrivePath(LPCSTR path);

 private:
  // The four values of the information text: name, folder, date, size.
  bool InfoValues(CString& name, CString& folder, CString& date, LONGLONG& size) const;
  void FormatInfo(LPCSTR megabytes, LPCSTR kilobytes);

  int m_loadOrder = -1;
  int m_secondIndex = -1;
  int m_isVideo = 0;
  int m_thirdIndex = -1;
  CString m_videoPath;
  CString m_imagePath;
  CString m_displayName;
  CString m_infoText;
};

// True when a search for the path finds a file whose name equals the path's name part,
// ignoring case.
bool FileExists(LPCSTR path);
