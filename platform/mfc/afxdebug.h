// Diagnostics of the MFC classes. ASSERT and VERIFY report the failing file and line and
// abort the program in debug builds (no NDEBUG); in release builds ASSERT vanishes and
// VERIFY still evaluates its expression. TRACE writes printf-style text to the debug
// output (OutputDebugStringA) in debug builds.
#pragma once

#include <win32/types.h>

// Reports an assertion failure on stderr and aborts; never returns.
[[noreturn]] void AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);
void AfxTrace(LPCSTR lpszFormat, ...) __attribute__((format(printf, 1, 2)));

#ifdef NDEBUG
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#else
#define ASSERT(f) ((f) ? (void)0 : ::AfxAssertFailedLine(__FILE__, __LINE__))
#define VERIFY(f) ASSERT(f)
#define TRACE ::AfxTrace
#endif
