// The calling thread's last-error code, as every failing platform call leaves it, and the
// system's text for a code, as programs put it in their error boxes.
#pragma once

#include <win32/types.h>

#include <cstdarg>

#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define ERROR_MR_MID_NOT_FOUND 317L

DWORD GetLastError();
void SetLastError(DWORD code);

// Only the system's own texts (FORMAT_MESSAGE_FROM_SYSTEM, inserts ignored or absent),
// in English whatever the language asked: the text with its closing "\r\n" into the
// buffer and its length. 0 with ERROR_MR_MID_NOT_FOUND for a code the system has no text
// for, ERROR_INSUFFICIENT_BUFFER when the text and its terminator do not fit, and
// ERROR_INVALID_PARAMETER for another source or no buffer.
DWORD FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer,
                     DWORD nSize, va_list* Arguments);
