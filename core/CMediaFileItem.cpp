#include "core/CMediaFileItem.h"

#include <vendor/language/Language.h>
#include <win32/codepage.h>
#include <win32/file.h>
#include <win32/handleapi.h>
#include <win32/shell/shellapi.h>
#include <win32/user.h>
#include <win32/time.h>

#include <cstring>

namespace {

constexpr LONGLONG kMegabyte = 1048576;
constexpr int kMaxName = 260;

constexpr const char* kDeviceNames[] = {"CON",  "PRN",  "AUX",  "CLOCK$", "NUL",  "COM1", "COM2", "COM3",
                                        "COM4", "COM5", "COM6", "COM7",   "COM8", "COM9", "LPT1", "LPT2",
                                        "LPT3", "LPT4", "LPT5", "LPT6",   "LPT7", "LPT8", "LPT9"};

constexpr const char* kEnglishMb = "File Name:%s\nFile Path:%s\nFile Date:%s\nFile Size:%.2f MB\n";
constexpr const char* kEnglishKb = "File Name:%s\nFile Path:%s\nFile Date:%s\nFile Size:%ld KB\n";
// The Chinese forms, written here in UTF-8 and shown in the machine's ANSI code page.
constexpr const char* kSimplifiedMb = "文件名:%s\n文件路径:%s\n文件日期:%s\n文件大小:%.2f MB\n";
constexpr const char* kSimplifiedKb = "文件名:%s\n文件路径:%s\n文件日期:%s\n文件大小:%ld KB\n";
constexpr const char* kTraditionalMb = "檔案名稱:%s\n檔案路徑:%s\n檔案日期:%s\n檔案大小:%.2f MB\n";
constexpr const char* kTraditionalKb = "檔案名稱:%s\n檔案路徑:%s\n檔案日期:%s\n檔案大小:%ld KB\n";

// The part after the last backslash (the whole path without one).
CString NamePart(const CString& path) { return path.Mid(path.ReverseFind('\\') + 1); }

// The part up to and including the last backslash; empty without one.
CString FolderPart(const CString& path) { return path.Left(path.ReverseFind('\\') + 1); }

CString WithoutExtension(const CString& name) {
  const int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

CString ToAnsi(LPCSTR utf8) {
  WCHAR wide[512] = {};
  if (!MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512)) return utf8;
  char ansi[1024] = {};
  if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr)) return utf8;
  return ansi;
}

// The search record of the file at `path` when FileExists would find it.
bool FindFile(LPCSTR path, WIN32_FIND_DATAA& found) {
  if (!path || !*path) return false;
  const HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return NamePart(path).CompareNoCase(found.cFileName) == 0;
}

CTime FileTimeOf(const CString& path, FILETIME WIN32_FIND_DATAA::*which) {
  WIN32_FIND_DATAA found{};
  if (!FindFile(path, found)) return CTime(-1);
  return CTime(found.*which);
}

}  // namespace

bool FileExists(LPCSTR path) {
  WIN32_FIND_DATAA found{};
  return FindFile(path, found);
}

bool CMediaFileItem::IsSameFile(const CMediaFileItem* a, const CMediaFileItem* b) {
  if (!a || !b || (a->m_isVideo != 0) != (b->m_isVideo != 0)) return false;
  if (a->m_isVideo) return a->m_videoPath.CompareNoCase(b->m_videoPath) == 0;
  return a->m_imagePath.CompareNoCase(b->m_imagePath) == 0;
}

bool CMediaFileItem::IsSameName(LPCSTR a, LPCSTR b, int withExtension) {
  if (!a || !b || !*a || !*b) return false;
  CString nameA = NamePart(a);
  CString nameB = NamePart(b);
  if (!withExtension) {
    nameA = WithoutExtension(nameA);
    nameB = WithoutExtension(nameB);
  }
  return nameA.CompareNoCase(nameB) == 0;
}

void CMediaFileItem::SetVideoPath(LPCSTR path) {
  if (path) m_videoPath = path;
}

void CMediaFileItem::SetImagePath(LPCSTR path) {
  if (path) m_imagePath = path;
}

CString CMediaFileItem::GetVideoPath() const { return m_isVideo ? m_videoPath : CString(); }

void CMediaFileItem::SetDisplayName(LPCSTR text) { m_displayName = text ? CString(text) : NamePart(GetMainPath()); }

void CMediaFileItem::SetInfoText(LPCSTR text) {
  if (text) {
    m_infoText = text;
    return;
  }
  const int language = GetLanguage();
  if (language == 2 || language == 3) {
    BuildInfoTextLocalized();
  } else {
    BuildInfoText();
  }
}

bool CMediaFileItem::InfoValues(CString& name, CString& folder, CString& date, LONGLONG& size) const {
  const CString path = GetMainPath();
  WIN32_FIND_DATAA found{};
  if (!FindFile(path, found)) return false;
  FILETIME local{};
  SYSTEMTIME when{};
  if (!FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &when)) return false;
  name = NamePart(path);
  folder = FolderPart(path);
  date.Format("%d/%02d/%02d  %02d:%02d", when.wYear, when.wMonth, when.wDay, when.wHour, when.wMinute);
  size = (static_cast<LONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  return true;
}

// A file that cannot be found has no information to show: the text is emptied.
void CMediaFileItem::FormatInfo(LPCSTR megabytes, LPCSTR kilobytes) {
  CString name, folder, date;
  LONGLONG size = 0;
  m_infoText.Empty();
  if (!InfoValues(name, folder, date, size)) return;
  if (size >= kMegabyte) {
    m_infoText.Format(megabytes, static_cast<LPCSTR>(name), static_cast<LPCSTR>(folder), static_cast<LPCSTR>(date),
                      static_cast<double>(size) / kMegabyte);
  } else {
    m_infoText.Format(kilobytes, static_cast<LPCSTR>(name), static_cast<LPCSTR>(folder), static_cast<LPCSTR>(date),
                      static_cast<long>(size >> 10));
  }
}

void CMediaFileItem::BuildInfoText() { FormatInfo(kEnglishMb, kEnglishKb); }

void CMediaFileItem::BuildInfoTextLocalized() {
  const bool traditional = GetLanguage() == 3;
  FormatInfo(ToAnsi(traditional ? kTraditionalMb : kSimplifiedMb), ToAnsi(traditional ? kTraditionalKb : kSimplifiedKb));
}

bool CMediaFileItem::IsValidFileName(LPCSTR name) {
  if (!name) return false;
  const CString part = NamePart(name);
  if (part.GetLength() != static_cast<int>(std::strlen(name))) return false;  // no folder parts
  if (part.GetLength() < 1 || part.GetLength() > kMaxName) return false;
  const int dot = part.ReverseFind('.');
  if (dot < 0 || dot == part.GetLength() - 1) return false;
  if (part.FindOneOf("<>:\"/\\|") >= 0) return false;
  // Windows refuses a device name as the whole name before the extension, in any case.
  const CString stem = part.Left(part.Find('.'));
  for (const char* device : kDeviceNames) {
    if (stem.CompareNoCase(device) == 0) return false;
  }
  return true;
}

bool CMediaFileItem::IsDrivePath(LPCSTR path) {
  if (!path) return false;
  const char letter = static_cast<char>(path[0] & ~0x20);
  return letter >= 'B' && letter <= 'Y' && path[1] == ':' && path[2] == '\\';
}

bool CMediaFileItem::Rename(LPCSTR newName) {
  const CString path = GetMainPath();
  const CString folder = FolderPart(path);
  if (!IsValidFileName(NamePart(path)) || !IsDrivePath(folder) || !IsValidFileName(newName)) return false;
  const CString target = folder + newName;
  if (!MoveFileA(path, target)) return false;
  if (m_isVideo) {
    m_videoPath = target;
  } else {
    m_imagePath = target;
  }
  SetDisplayName(nullptr);
  return true;
}

bool CMediaFileItem::MainFileExists() const { return FileExists(GetMainPath()); }

bool CMediaFileItem::ImageFileExists() const { return FileExists(m_imagePath); }

bool CMediaFileItem::DeleteVideoFile() {
  return m_isVideo && FileExists(m_videoPath) && DeleteFileA(m_videoPath);
}

bool CMediaFileItem::DeletePictureFile() {
  return !m_isVideo && FileExists(m_imagePath) && DeleteFileA(m_imagePath);
}

void CMediaFileItem::OpenContainingFolder() const {
  const CString folder = FolderPart(GetMainPath());
  if (!folder.IsEmpty()) ShellExecuteA(nullptr, "open", folder, nullptr, nullptr, SW_SHOWNORMAL);
}

void CMediaFileItem::DeleteThumbnail() {
  if (!m_isVideo) return;
  if (!m_imagePath.IsEmpty()) DeleteFileA(m_imagePath);
  m_imagePath.Empty();
}

// Of the file's own name: a dot in a folder's name is no extension.
bool CMediaFileItem::GetExtension(CString& extension) const {
  const CString name = NamePart(GetMainPath());
  const int dot = name.ReverseFind('.');
  extension = dot < 0 ? CString() : name.Mid(dot + 1);
  return !extension.IsEmpty();
}

LONGLONG CMediaFileItem::GetFileSize() const {
  const HANDLE file = CreateFileA(GetMainPath(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  LARGE_INTEGER size{};
  const BOOL read = GetFileSizeEx(file, &size);
  CloseHandle(file);
  return read ? size.QuadPart : -1;
}

CTime CMediaFileItem::GetCreationTime() const { return FileTimeOf(GetMainPath(), &WIN32_FIND_DATAA::ftCreationTime); }

CTime CMediaFileItem::GetLastAccessTime() const {
  return FileTimeOf(GetMainPath(), &WIN32_FIND_DATAA::ftLastAccessTime);
}

CTime CMediaFileItem::GetLastWriteTime() const { return FileTimeOf(GetMainPath(), &WIN32_FIND_DATAA::ftLastWriteTime); }

bool CMediaFileItem::MakeThumbnailName() {
  if (!m_isVideo || !FileExists(m_videoPath)) return false;
  char temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length > MAX_PATH) return false;
  CString name = CString(temp) + WithoutExtension(NamePart(m_videoPath)) + "_tmp.bmp";
  if (name.GetLength() >= MAX_PATH) return false;
  while (FileExists(name)) {
    const int dot = name.ReverseFind('.');
    name = name.Left(dot) + "_tmp" + name.Mid(dot);
    if (name.GetLength() >= MAX_PATH) return false;
  }
  m_imagePath = name;
  return true;
}
