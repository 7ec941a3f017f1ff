// The C runtime's debug reports, as the libraries' assertions use them. A failed
// assertion is reported with the source place and the text of the condition through the
// debug output (OutputDebugStringA, readable by tests through plat::DebugOutput) and the
// program goes on: no dialog asks, nothing aborts.
#pragma once

#include <win32/types.h>

#define _CRT_WARN 0
#define _CRT_ERROR 1
#define _CRT_ASSERT 2

// Formats and reports one message; 0: go on (there is no debugger to break into).
int _CrtDbgReport(int reportType, const char* filename, int linenumber, const char* moduleName, const char* format, ...);

// Reports the condition's own text when it does not hold, then carries on.
#define _ASSERTE(expr) \
  ((void)((expr) || (_CrtDbgReport(_CRT_ASSERT, __FILE__, __LINE__, nullptr, "%s", #expr), 0)))
