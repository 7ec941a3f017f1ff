// Debug output. What a program passes to OutputDebugStringA is appended, one line per
// call, to debug.log in the machine root, where a developer reads it as a debugger would
// show it, and kept in memory for tests (plat::DebugOutput).
#pragma once

#include <win32/types.h>

void OutputDebugStringA(LPCSTR lpOutputString);

#define OutputDebugString OutputDebugStringA
