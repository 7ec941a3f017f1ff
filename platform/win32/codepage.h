// Conversions between the ANSI code pages and wide text, through iconv.
//
// WCHAR is wchar_t, 4 bytes on Linux: wide text here is UTF-32, one code unit per
// character, so a character outside the Basic Multilingual Plane counts 1 where Windows
// would count a surrogate pair of 2. Code pages: CP_ACP (machine.ini [Windows]
// AnsiCodePage), 1252, 1251, 936, 950 and CP_UTF8.
//
// Sizes follow Windows: a length of -1 means the text ends at its NUL, which is then
// converted too; an output size of 0 asks for the size needed; an output too small fails
// with ERROR_INSUFFICIENT_BUFFER. A byte that decodes to nothing becomes U+FFFD (in a
// single-byte code page, the code point of the same number, as Windows maps unassigned
// bytes); a character the code page lacks becomes the default character ("?" unless
// given) and sets *lpUsedDefaultChar. There are no best-fit mappings.
#pragma once

#include <win32/types.h>

#define CP_ACP 0u
#define CP_OEMCP 1u
#define CP_UTF8 65001u

#define MB_PRECOMPOSED 0x00000001u
#define MB_ERR_INVALID_CHARS 0x00000008u

#define ERROR_NO_UNICODE_TRANSLATION 1113L

// MB_ERR_INVALID_CHARS makes undecodable input fail with ERROR_NO_UNICODE_TRANSLATION.
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar);
// For CP_UTF8, lpDefaultChar and lpUsedDefaultChar must be NULL (ERROR_INVALID_PARAMETER).
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar);
UINT GetACP();
// The OEM code page that goes with the ANSI one (437 for 1252, 866 for 1251 …).
UINT GetOEMCP();
