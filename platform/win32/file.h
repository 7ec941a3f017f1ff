// Files, folders and drives of the simulated PC.
//
// Every path is a Windows path ("C:\Videos\cap01.mpg", relative to the current directory,
// or rooted "\Temp") mapped onto the real file system through the machine's drives, each
// component matched exactly and then without case; a path starting with "/" is a Linux
// path. Files are real: what one program writes, another reads.
//
// Simplified: share modes are ignored, overlapped I/O is not supported (always NULL),
// attributes are derived (directories, dot-files hidden, every file "archive"), a file's
// creation time is its last-write time, and find data carries no 8.3 short name.
// Drive types come from machine.ini [DriveTypes] ("D=cdrom"); a mapped drive without an
// entry is fixed.
#pragma once

#include <win32/types.h>

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u

#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u

#define CREATE_NEW 1u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u
#define OPEN_ALWAYS 4u
#define TRUNCATE_EXISTING 5u

#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu

#define FILE_BEGIN 0u
#define FILE_CURRENT 1u
#define FILE_END 2u
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFu
#define INVALID_FILE_SIZE 0xFFFFFFFFu

#define DRIVE_UNKNOWN 0u
#define DRIVE_NO_ROOT_DIR 1u
#define DRIVE_REMOVABLE 2u
#define DRIVE_FIXED 3u
#define DRIVE_REMOTE 4u
#define DRIVE_CDROM 5u
#define DRIVE_RAMDISK 6u

#define ERROR_NOT_SAME_DEVICE 17L
#define ERROR_NEGATIVE_SEEK 131L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_DIRECTORY 267L

// Overlapped I/O is not supported; the parameter is always NULL.
struct OVERLAPPED;
using LPOVERLAPPED = OVERLAPPED*;

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
};
using PWIN32_FIND_DATAA = WIN32_FIND_DATAA*;
using LPWIN32_FIND_DATAA = WIN32_FIND_DATAA*;
using WIN32_FIND_DATA = WIN32_FIND_DATAA;
using LPWIN32_FIND_DATA = WIN32_FIND_DATAA*;
static_assert(sizeof(WIN32_FIND_DATAA) == 320);

// CREATE_ALWAYS and OPEN_ALWAYS on an existing file succeed with ERROR_ALREADY_EXISTS.
HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
// Reading at the end of the file succeeds with 0 bytes.
BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped);
BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped);
// Without lpDistanceToMoveHigh the distance is a signed 32-bit value and the new
// position must fit in 32 bits. Success leaves the last error NO_ERROR, so a position
// whose low part is INVALID_SET_FILE_POINTER can be told from a failure.
DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod);
BOOL SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer,
                      DWORD dwMoveMethod);
BOOL SetEndOfFile(HANDLE hFile);
DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh);
BOOL GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize);
BOOL FlushFileBuffers(HANDLE hFile);

// Wildcards "*" and "?" match without case ("*.*" matches every name). The entries come
// sorted without case, with "." and ".." first in any folder but a drive root.
HANDLE FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData);
BOOL FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData);
BOOL FindClose(HANDLE hFindFile);

DWORD GetFileAttributesA(LPCSTR lpFileName);
BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL RemoveDirectoryA(LPCSTR lpPathName);
BOOL DeleteFileA(LPCSTR lpFileName);
// Fails with ERROR_ALREADY_EXISTS when the new name exists (a change of case only is a
// rename); a file moves to another drive by copying.
BOOL MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName);
#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_COPY_ALLOWED 0x00000002
#define MOVEFILE_WRITE_THROUGH 0x00000008
// MOVEFILE_REPLACE_EXISTING renames over an existing file in one step; without
// MOVEFILE_COPY_ALLOWED a move to another drive fails (ERROR_NOT_SAME_DEVICE);
// MOVEFILE_WRITE_THROUGH returns once the move is on disk.
BOOL MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags);
BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists);

// Not Windows functions: the one crash-safe way every stored file is saved and read back.
// ReplaceFileContentsA writes the bytes to a file beside lpFileName, flushes it to disk
// and renames it over lpFileName in one step (as MoveFileExA with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH), so the name holds the old file
// whole or the new one whole whatever happens; FALSE with the error set when the save
// failed, and then the old file is as it was. Readers call TakeLeftoverFileA before
// opening: where lpFileName is missing but a finished "<lpFileName>.new" (left by an
// older way of saving) is there, it becomes the file (TRUE).
BOOL ReplaceFileContentsA(LPCSTR lpFileName, LPCVOID lpBuffer, DWORD nNumberOfBytes);
BOOL TakeLeftoverFileA(LPCSTR lpFileName);

// The functions below that fill a text buffer return the length copied (without the
// terminating NUL), or, when the buffer is too small, the size it needs (with the NUL).

// The Temp folder of drive C:, with a trailing backslash.
DWORD GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer);
// "C:\WINDOWS" and "C:\WINDOWS\system32", without a trailing backslash; the folder is
// made on drive C: when missing. 0 (ERROR_PATH_NOT_FOUND) without a drive C:.
UINT GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize);
UINT GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize);
// The real file system's figures; machine.ini [DriveFreeSpace] "<letter>=<bytes>" replaces a
// drive's free bytes (available and total free).
BOOL GetDiskFreeSpaceExA(LPCSTR lpDirectoryName, PULARGE_INTEGER lpFreeBytesAvailableToCaller,
                         PULARGE_INTEGER lpTotalNumberOfBytes, PULARGE_INTEGER lpTotalNumberOfFreeBytes);
// Bit 0 is A:, bit 2 C: …
DWORD GetLogicalDrives();
// "C:\<NUL>Z:\<NUL><NUL>".
DWORD GetLogicalDriveStringsA(DWORD nBufferLength, LPSTR lpBuffer);
// lpRootPathName is "X:\" (or "X:"); anything else is DRIVE_NO_ROOT_DIR, as is an
// unmapped drive. NULL is the current directory's drive.
UINT GetDriveTypeA(LPCSTR lpRootPathName);
// The Windows name of the process's real current directory.
DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer);
BOOL SetCurrentDirectoryA(LPCSTR lpPathName);
// Completes a path against the current directory and resolves "." and ".." without
// looking at the disk; *lpFilePart (optional) points at the name after the last "\".
DWORD GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart);

#define CreateFile CreateFileA
#define GetWindowsDirectory GetWindowsDirectoryA
#define GetSystemDirectory GetSystemDirectoryA
#define FindFirstFile FindFirstFileA
#define FindNextFile FindNextFileA
#define GetFileAttributes GetFileAttributesA
#define CreateDirectory CreateDirectoryA
#define RemoveDirectory RemoveDirectoryA
#define DeleteFile DeleteFileA
#define MoveFile MoveFileA
#define MoveFileEx MoveFileExA
#define CopyFile CopyFileA
#define GetTempPath GetTempPathA
#define GetDiskFreeSpaceEx GetDiskFreeSpaceExA
#define GetLogicalDriveStrings GetLogicalDriveStringsA
#define GetDriveType GetDriveTypeA
#define GetCurrentDirectory GetCurrentDirectoryA
#define SetCurrentDirectory SetCurrentDirectoryA
#define GetFullPathName GetFullPathNameA
