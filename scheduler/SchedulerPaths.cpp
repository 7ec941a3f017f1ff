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
  std::snprintf(g_scheduleFile, sizeof g_scheduleFile, "%sschedulefile.she", folder);
  std::snprintf(g_mainProgram, sizeof g_mainProgram, "%sOrvane Media.exe", folder);
}

LPCSTR ScheduleFile() { return g_scheduleFile; }

LPCSTR MainProgram() { return g_mainProgram; }

}  // namespace SchedulerPaths
