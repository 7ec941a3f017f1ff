// The Windows version as the graphs see it: one small code that chooses their renderers
// and filters, and whether the program runs as a 32-bit process on 64-bit Windows.
#pragma once

#include <win32/types.h>

// 1 2000, 2 XP, 3 NT 5.2, 4 other NT 5.x, NT 6.x but 6.0, and later, 5 NT before 5.0,
// 6 98, 7 Me, 8 95, 9 anything else or no answer, 10 NT 6.0 under WOW64, 11 NT 6.0.
int GetWindowsVersionCode();

// Looked up at run time, since older systems lack IsWow64Process; false without it.
BOOL IsWow64();
