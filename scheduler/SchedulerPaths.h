// The scheduler program's two paths, built from the program folder (the running
// executable's folder, up to and including the last backslash) when the dialog opens.
#pragma once

#include <mfc/afx.h>

namespace SchedulerPaths {

void Build();
// Program folder + "schedulefile.she".
LPCSTR ScheduleFile();
// Program folder + "Orvane Media.exe".
LPCSTR MainProgram();

}  // namespace SchedulerPaths
