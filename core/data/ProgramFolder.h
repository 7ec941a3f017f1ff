// The program folder: the folder of the running program, which holds the settings, channel
// list, schedule and history files and the "Filter" folder's modules.
#pragma once

#include <mfc/afx.h>

// The full path of the program's module (GetModuleFileNameA, at most 255 characters) cut
// after its last backslash, so it ends with "\"; empty for a path without one.
CString GetProgramFolder();
