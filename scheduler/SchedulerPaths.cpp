#include "scheduler/SchedulerPaths.h"

#include <win32/module.h>

#include <cstdio>
#include <cstring>

namespace {

char g_scheduleFile[MAX_PATH];
char g_mainProgram[MAX_PATH];

}  // namespace

namespace SchedulerPaths {

void Build() {
  char folder[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) folder[0] = '\0';
  if (char* slash = std::strrchr(folder, '\\')) slash[1] = '\0';
  // A folder too long for a path leaves no file name rather than a cut one.
  if (std::snprintf(g_scheduleFile, sizeof g_scheduleFile, "%sschedulefile.she", folder) >= MAX_PATH)
    g_scheduleFile[0] = '\0';
  if (std::snprintf(g_mainProgram, sizeof g_mainProgram, "%sOrvane Media.exe", folder) >= MAX_PATH)
    g_mainProgram[0] = '\0';
}

LPCSTR ScheduleFile() { return g_scheduleFile; }

LPCSTR MainProgram() { return g_mainProgram; }

}  // namespace SchedulerPaths
