#include <win32/file.h>

#include <machine/FileReplacement.h>
#include <machine/Machine.h>
#include <win32/error.h>
#include <win32/file/FileObject.h>
#include <win32/file/FindSearch.h>
#include <win32/file/Win32Error.h>
#include <win32/module/SystemExports.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Run-time look-ups of this function through kernel32 succeed, as on Windows 2000 and later.
[[maybe_unused]] const bool kExported =
    (plat::SystemExports::add("kernel32", "GetDiskFreeSpaceExA", reinterpret_cast<void*>(&GetDiskFreeSpaceExA)),
     true);

plat::PathMap& paths() { return plat::Machine::current().paths(); }

fs::path linuxPath(std::string_view windowsPath) { return paths().toLinux(windowsPath); }

template <class T>
T fail(DWORD error, T result) {
  SetLastError(error);
  return result;
}

BOOL fail(DWORD error) { return fail(error, FALSE); }

// A missing file in an existing folder, or a missing folder on the way.
DWORD notFoundError(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path.parent_path(), ec) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

DWORD errnoError(int err, const fs::path& path) {
  return err == ENOENT ? notFoundError(path) : plat::win32Error(err);
}

// Windows' rule for functions that fill a text buffer (the text may hold NULs of its own).
DWORD copyOut(const std::string& text, DWORD size, LPSTR buffer) {
  if (!buffer || size <= text.size()) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return static_cast<DWORD>(text.size());
}

template <class T>
std::shared_ptr<T> objectOf(HANDLE handle) {
  auto object = plat::HandleTable::instance().getAs<T>(handle);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::string currentDirectoryName() { return paths().toWindows(fs::current_path()); }

// "C:\" of the current directory's drive.
std::string currentDriveRoot() { return currentDirectoryName().substr(0, 2) + "\\"; }

// The part after the last separator, spelled as the caller wrote it.
std::string_view lastComponent(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

int openFlags(DWORD access, DWORD disposition) {
  const bool canRead = access & GENERIC_READ;
  const bool canWrite = access & GENERIC_WRITE;
  int flags = O_CLOEXEC | (canWrite ? (canRead ? O_RDWR : O_WRONLY) : O_RDONLY);
  switch (disposition) {
    case CREATE_NEW:
      return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS:
      return flags | O_CREAT | O_TRUNC;
    case OPEN_EXISTING:
      return flags;
    case OPEN_ALWAYS:
      return flags | O_CREAT;
    case TRUNCATE_EXISTING:
      return canWrite ? flags | O_TRUNC : -1;
    default:
      return -1;
  }
}

BOOL moveAcrossDevices(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (!fs::is_regular_file(from, ec)) return fail(ERROR_NOT_SAME_DEVICE);
  fs::copy_file(from, to, ec);
  if (!ec) fs::last_write_time(to, fs::last_write_time(from, ec), ec);
  if (!ec) fs::remove(from, ec);
  return ec ? fail(errnoError(ec.value(), to)) : TRUE;
}

// "X:rel", "\rooted", "rel" or a Linux path made into a full Windows path, not normalised.
std::string absoluteName(std::string_view name) {
  if (name.front() == '/') return paths().toWindows(fs::path(name));
  const std::string current = currentDirectoryName();
  if (name.size() >= 2 && name[1] == ':') {
    const std::string drive(1, static_cast<char>(std::toupper(static_cast<unsigned char>(name[0]))));
    std::string_view rest = name.substr(2);
    if (!rest.empty() && isSeparator(rest.front())) return drive + ":" + std::string(rest);
    // Relative to the drive's current directory: the process's own on its drive, the root elsewhere.
    const bool onCurrentDrive = current.compare(0, 1, drive) == 0;
    return (onCurrentDrive ? current : drive + ":") + "\\" + std::string(rest);
  }
  if (isSeparator(name.front())) return current.substr(0, 2) + std::string(name);
  return current + "\\" + std::string(name);
}

// "C:\a\.\b\..\c" → "C:\a\c"; a trailing separator stays.
std::string normalisedName(const std::string& absolute) {
  std::vector<std::string_view> parts;
  std::string_view rest = std::string_view(absolute).substr(2);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find_first_of("\\/"), rest.size());
    const std::string_view part = rest.substr(0, end);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  std::string result = absolute.substr(0, 2);
  for (std::string_view part : parts) (result += '\\') += part;
  if (parts.empty() || isSeparator(absolute.back())) result += '\\';
  return result;
}

}  // namespace

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                   DWORD dwCreationDisposition, DWORD, HANDLE) {
  if (!lpFileName || !*lpFileName) return fail(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
  const int flags = openFlags(dwDesiredAccess, dwCreationDisposition);
  if (flags < 0) return fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
  const fs::path path = linuxPath(lpFileName);
  std::error_code ec;
  if (fs::is_directory(path, ec)) return fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
  const bool existed = fs::exists(path, ec);
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) {
    const int err = errno;
    return fail(err == EEXIST ? ERROR_FILE_EXISTS : errnoError(err, path), INVALID_HANDLE_VALUE);
  }
  auto file = std::make_shared<plat::FileObject>(fd, (dwDesiredAccess & GENERIC_READ) != 0,
                                                 (dwDesiredAccess & GENERIC_WRITE) != 0);
  HANDLE handle = plat::HandleTable::instance().add(std::move(file));
  const bool reused = existed && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
  SetLastError(reused ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
  auto file = objectOf<plat::FileObject>(hFile);
  if (!file) return FALSE;
  if (lpOverlapped || (!lpBuffer && nNumberOfBytesToRead)) return fail(ERROR_INVALID_PARAMETER);
  DWORD done = 0;
  const bool ok = file->read(lpBuffer, nNumberOfBytesToRead, done);
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
  return ok;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
  auto file = objectOf<plat::FileObject>(hFile);
  if (!file) return FALSE;
  if (lpOverlapped || (!lpBuffer && nNumberOfBytesToWrite)) return fail(ERROR_INVALID_PARAMETER);
  DWORD done = 0;
  const bool ok = file->write(lpBuffer, nNumberOfBytesToWrite, done);
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
  return ok;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod) {
  auto file = objectOf<plat::FileObject>(hFile);
  if (!file) return INVALID_SET_FILE_POINTER;
  const std::int64_t distance =
      lpDistanceToMoveHigh
          ? static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<DWORD>(*lpDistanceToMoveHigh)) << 32) |
                                      static_cast<DWORD>(lDistanceToMove))
          : lDistanceToMove;
  std::int64_t start = 0;
  if (!lpDistanceToMoveHigh && !file->seek(0, FILE_CURRENT, start)) return INVALID_SET_FILE_POINTER;
  std::int64_t position = 0;
  if (!file->seek(distance, dwMoveMethod, position)) return INVALID_SET_FILE_POINTER;
  if (lpDistanceToMoveHigh) {
    *lpDistanceToMoveHigh = static_cast<LONG>(position >> 32);
  } else if (position > 0xFFFFFFFE) {
    // Only a 32-bit answer was asked for: stay where the file was.
    file->seek(start, FILE_BEGIN, position);
    return fail(ERROR_INVALID_PARAMETER, INVALID_SET_FILE_POINTER);
  }
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(position);
}

BOOL SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer,
                      DWORD dwMoveMethod) {
  auto file = objectOf<plat::FileObject>(hFile);
  if (!file) return FALSE;
  std::int64_t position = 0;
  if (!file->seek(liDistanceToMove.QuadPart, dwMoveMethod, position)) return FALSE;
  if (lpNewFilePointer) lpNewFilePointer->QuadPart = position;
  return TRUE;
}

BOOL SetEndOfFile(HANDLE hFile) {
  auto file = objectOf<plat::FileObject>(hFile);
  return file && file->truncateHere();
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
  auto file = objectOf<plat::FileObject>(hFile);
  std::int64_t bytes = 0;
  if (!file || !file->size(bytes)) return INVALID_FILE_SIZE;
  if (lpFileSizeHigh) *lpFileSizeHigh = static_cast<DWORD>(static_cast<std::uint64_t>(bytes) >> 32);
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(bytes);
}

BOOL GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize) {
  auto file = objectOf<plat::FileObject>(hFile);
  if (!file) return FALSE;
  if (!lpFileSize) return fail(ERROR_INVALID_PARAMETER);
  std::int64_t bytes = 0;
  if (!file->size(bytes)) return FALSE;
  lpFileSize->QuadPart = bytes;
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE hFile) {
  auto file = objectOf<plat::FileObject>(hFile);
  return file && file->flush();
}

HANDLE FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData) {
  if (!lpFileName || !lpFindFileData) return fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
  const std::string_view text(lpFileName);
  const std::string_view pattern = lastComponent(text);
  const std::string_view folderName = text.substr(0, text.size() - pattern.size());
  const fs::path folder = folderName.empty() ? fs::current_path() : linuxPath(folderName);
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return fail(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
  const bool driveRoot = paths().toWindows(folder).size() == 3;
  auto search = std::make_shared<plat::FindSearch>(folder, pattern, !driveRoot);
  if (!search->next(*lpFindFileData)) return fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
  return plat::HandleTable::instance().add(std::move(search));
}

BOOL FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData) {
  auto search = objectOf<plat::FindSearch>(hFindFile);
  if (!search) return FALSE;
  if (!lpFindFileData) return fail(ERROR_INVALID_PARAMETER);
  return search->next(*lpFindFileData) || fail(ERROR_NO_MORE_FILES);
}

BOOL FindClose(HANDLE hFindFile) {
  if (!objectOf<plat::FindSearch>(hFindFile)) return FALSE;
  return plat::HandleTable::instance().close(hFindFile);
}

DWORD GetFileAttributesA(LPCSTR lpFileName) {
  if (!lpFileName || !*lpFileName) return fail(ERROR_PATH_NOT_FOUND, INVALID_FILE_ATTRIBUTES);
  const fs::path path = linuxPath(lpFileName);
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) return fail(notFoundError(path), INVALID_FILE_ATTRIBUTES);
  return plat::FindSearch::attributes(path.filename().string(), fs::is_directory(status));
}

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES) {
  if (!lpPathName || !*lpPathName) return fail(ERROR_PATH_NOT_FOUND);
  const fs::path path = linuxPath(lpPathName);
  if (::mkdir(path.c_str(), 0777) != 0) {
    const int err = errno;
    return fail(err == ENOENT ? ERROR_PATH_NOT_FOUND : plat::win32Error(err));
  }
  return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR lpPathName) {
  if (!lpPathName || !*lpPathName) return fail(ERROR_PATH_NOT_FOUND);
  const fs::path path = linuxPath(lpPathName);
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) return fail(notFoundError(path));
  if (!fs::is_directory(status)) return fail(ERROR_DIRECTORY);
  return ::rmdir(path.c_str()) == 0 || fail(plat::win32Error(errno));
}

BOOL DeleteFileA(LPCSTR lpFileName) {
  if (!lpFileName || !*lpFileName) return fail(ERROR_PATH_NOT_FOUND);
  const fs::path path = linuxPath(lpFileName);
  std::error_code ec;
  if (fs::is_directory(path, ec)) return fail(ERROR_ACCESS_DENIED);
  return ::unlink(path.c_str()) == 0 || fail(errnoError(errno, path));
}

BOOL MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName) {
  if (!lpExistingFileName || !lpNewFileName || !*lpNewFileName) return fail(ERROR_PATH_NOT_FOUND);
  const fs::path from = linuxPath(lpExistingFileName);
  fs::path to = linuxPath(lpNewFileName);
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(from, ec))) return fail(notFoundError(from));
  if (fs::exists(fs::symlink_status(to, ec))) {
    if (!fs::equivalent(from, to, ec)) return fail(ERROR_ALREADY_EXISTS);
    to = to.parent_path() / std::string(lastComponent(lpNewFileName));  // a change of case only
  }
  if (::rename(from.c_str(), to.c_str()) == 0) return TRUE;
  const int err = errno;
  if (err == EXDEV) return moveAcrossDevices(from, to);
  return fail(err == ENOENT ? ERROR_PATH_NOT_FOUND : plat::win32Error(err));
}

BOOL MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags) {
  if (!(dwFlags & MOVEFILE_REPLACE_EXISTING)) {
    if (!MoveFileA(lpExistingFileName, lpNewFileName)) return FALSE;
    const int err = (dwFlags & MOVEFILE_WRITE_THROUGH)
                        ? plat::FileReplacement::syncFolder(linuxPath(lpNewFileName).parent_path())
                        : 0;
    return err == 0 || fail(plat::win32Error(err));
  }
  if (!lpExistingFileName || !lpNewFileName || !*lpNewFileName) return fail(ERROR_PATH_NOT_FOUND);
  const fs::path from = linuxPath(lpExistingFileName);
  const fs::path to = linuxPath(lpNewFileName);
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(from, ec))) return fail(notFoundError(from));
  if (fs::is_directory(to, ec)) return fail(ERROR_ACCESS_DENIED);
  const int err = (dwFlags & MOVEFILE_WRITE_THROUGH) ? plat::FileReplacement::renameDurably(from, to)
                                                     : (::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno);
  if (err == 0) return TRUE;
  if (err == EXDEV) return (dwFlags & MOVEFILE_COPY_ALLOWED) ? moveAcrossDevices(from, to) : fail(ERROR_NOT_SAME_DEVICE);
  return fail(err == ENOENT ? ERROR_PATH_NOT_FOUND : plat::win32Error(err));
}

BOOL ReplaceFileContentsA(LPCSTR lpFileName, LPCVOID lpBuffer, DWORD nNumberOfBytes) {
  if (!lpFileName || !*lpFileName || (!lpBuffer && nNumberOfBytes)) return fail(ERROR_INVALID_PARAMETER);
  const fs::path path = linuxPath(lpFileName);
  const int err = plat::FileReplacement::replace(
      path, std::string_view(static_cast<const char*>(lpBuffer), lpBuffer ? nNumberOfBytes : 0));
  return err == 0 || fail(errnoError(err, path));
}

BOOL TakeLeftoverFileA(LPCSTR lpFileName) {
  if (!lpFileName || !*lpFileName) return fail(ERROR_PATH_NOT_FOUND);
  return plat::FileReplacement::takeLeftover(linuxPath(lpFileName)) || fail(ERROR_FILE_NOT_FOUND);
}

BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists) {
  if (!lpExistingFileName || !lpNewFileName || !*lpNewFileName) return fail(ERROR_PATH_NOT_FOUND);
  const fs::path from = linuxPath(lpExistingFileName);
  const fs::path to = linuxPath(lpNewFileName);
  std::error_code ec;
  const fs::file_status source = fs::status(from, ec);
  if (!fs::exists(source)) return fail(notFoundError(from));
  if (!fs::is_regular_file(source)) return fail(ERROR_ACCESS_DENIED);
  if (fs::exists(to, ec)) {
    if (bFailIfExists) return fail(ERROR_FILE_EXISTS);
    if (fs::is_directory(to, ec)) return fail(ERROR_ACCESS_DENIED);
    if (fs::equivalent(from, to, ec)) return fail(ERROR_SHARING_VIOLATION);
  }
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  if (ec) return fail(ec.value() == ENOENT ? ERROR_PATH_NOT_FOUND : plat::win32Error(ec.value()));
  fs::last_write_time(to, fs::last_write_time(from, ec), ec);  // Windows keeps the copy's date
  return TRUE;
}

DWORD GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer) {
  if (!paths().hasDrive('C')) return fail(ERROR_PATH_NOT_FOUND, DWORD{0});
  return copyOut(paths().toWindows(paths().driveFolder('C') / "Temp") + "\\", nBufferLength, lpBuffer);
}

namespace {

// A folder of the Windows installation on drive C:, made when missing.
UINT windowsFolder(const fs::path& relative, UINT size, LPSTR buffer) {
  if (!paths().hasDrive('C')) return fail(ERROR_PATH_NOT_FOUND, UINT{0});
  const fs::path folder = paths().driveFolder('C') / relative;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return fail(ERROR_PATH_NOT_FOUND, UINT{0});
  return copyOut(paths().toWindows(folder), size, buffer);
}

}  // namespace

UINT GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize) { return windowsFolder("WINDOWS", uSize, lpBuffer); }

UINT GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize) { return windowsFolder("WINDOWS/system32", uSize, lpBuffer); }

BOOL GetDiskFreeSpaceExA(LPCSTR lpDirectoryName, PULARGE_INTEGER lpFreeBytesAvailableToCaller,
                         PULARGE_INTEGER lpTotalNumberOfBytes, PULARGE_INTEGER lpTotalNumberOfFreeBytes) {
  const fs::path folder = lpDirectoryName ? linuxPath(lpDirectoryName) : fs::current_path();
  std::error_code ec;
  struct statvfs info {};
  if (!fs::is_directory(folder, ec) || ::statvfs(folder.c_str(), &info) != 0) return fail(ERROR_PATH_NOT_FOUND);
  const ULONGLONG unit = info.f_frsize;
  ULONGLONG available = info.f_bavail * unit;
  ULONGLONG free = info.f_bfree * unit;
  // machine.ini [DriveFreeSpace] may give a drive's free bytes, so a full disk can be simulated.
  const std::string root = lpDirectoryName ? lpDirectoryName : currentDriveRoot();
  if (root.size() >= 2 && root[1] == ':') {
    const std::string letter(1, static_cast<char>(std::toupper(static_cast<unsigned char>(root[0]))));
    const std::string given = plat::Machine::current().ini().valueOr("DriveFreeSpace", letter, "");
    if (!given.empty()) available = free = std::strtoull(given.c_str(), nullptr, 10);
  }
  if (lpFreeBytesAvailableToCaller) lpFreeBytesAvailableToCaller->QuadPart = available;
  if (lpTotalNumberOfBytes) lpTotalNumberOfBytes->QuadPart = info.f_blocks * unit;
  if (lpTotalNumberOfFreeBytes) lpTotalNumberOfFreeBytes->QuadPart = free;
  return TRUE;
}

DWORD GetLogicalDrives() {
  DWORD mask = 0;
  for (char letter : paths().driveLetters())
    if (letter >= 'A' && letter <= 'Z') mask |= 1u << (letter - 'A');
  return mask;
}

DWORD GetLogicalDriveStringsA(DWORD nBufferLength, LPSTR lpBuffer) {
  std::string list;
  for (char letter : paths().driveLetters()) (list += letter) += std::string(":\\\0", 3);
  return copyOut(list, nBufferLength, lpBuffer);
}

UINT GetDriveTypeA(LPCSTR lpRootPathName) {
  const std::string root = lpRootPathName ? lpRootPathName : currentDriveRoot();
  const bool isRoot = (root.size() == 2 || (root.size() == 3 && isSeparator(root[2]))) && root[1] == ':';
  if (!isRoot || !paths().hasDrive(root[0])) return DRIVE_NO_ROOT_DIR;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
  const std::string type = plat::Machine::current().ini().valueOr("DriveTypes", std::string(1, letter), "fixed");
  static const std::pair<const char*, UINT> kTypes[] = {
      {"fixed", DRIVE_FIXED}, {"removable", DRIVE_REMOVABLE}, {"cdrom", DRIVE_CDROM},
      {"remote", DRIVE_REMOTE}, {"ramdisk", DRIVE_RAMDISK}};
  for (const auto& [name, value] : kTypes)
    if (plat::equalsNoCase(type, name)) return value;
  return DRIVE_UNKNOWN;
}

DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  return copyOut(currentDirectoryName(), nBufferLength, lpBuffer);
}

BOOL SetCurrentDirectoryA(LPCSTR lpPathName) {
  if (!lpPathName || !*lpPathName) return fail(ERROR_PATH_NOT_FOUND);
  const fs::path path = linuxPath(lpPathName);
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) return fail(notFoundError(path));
  if (!fs::is_directory(status)) return fail(ERROR_DIRECTORY);
  return ::chdir(path.c_str()) == 0 || fail(plat::win32Error(errno));
}

DWORD GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart) {
  if (!lpFileName || !*lpFileName) return fail(ERROR_INVALID_NAME, DWORD{0});
  const std::string absolute = absoluteName(lpFileName);
  // Only on a machine without Z: can a path have no Windows name.
  if (absolute.size() < 2 || absolute[1] != ':') return fail(ERROR_INVALID_NAME, DWORD{0});
  const std::string full = normalisedName(absolute);
  const DWORD result = copyOut(full, nBufferLength, lpBuffer);
  if (lpFilePart) {
    const bool copied = result < nBufferLength && lpBuffer;
    *lpFilePart = copied && full.back() != '\\' ? lpBuffer + full.find_last_of('\\') + 1 : nullptr;
  }
  return result;
}
