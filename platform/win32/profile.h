// Private-profile INI files (kernel32), read and written with Windows' rules through
// plat::IniDocument: names compare without case, values are trimmed and lose matching
// quotes, the first match wins.
//
// File names are Windows paths on the machine; a bare name ("app.ini") lies in the
// Windows folder C:\WINDOWS, and a NULL name means win.ini there. The file is read again
// on every call, so another program's writes are seen at once.
#pragma once

#include <win32/types.h>

// The value of a key, or the default (NULL = "", trailing blanks dropped) when the file,
// section or key is missing. A NULL section lists the section names and a NULL key the
// key names of the section, each NUL-terminated, followed by one more NUL. Returns the
// characters copied without the final NUL; a value cut to fit returns nSize - 1, a list
// cut to fit ends in two NULs and returns nSize - 2.
DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName);
// The value read as a number: an optional sign, then decimal digits (or hex after "0x")
// up to the first other character; no digits read as 0. The default only when the key is
// missing or its value is empty.
UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName);
// Sets "key=value", creating the file and the section when missing. A NULL string
// deletes the key, a NULL key the whole section.
BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName);
// The section-name list of GetPrivateProfileStringA with a NULL section.
DWORD GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName);
