#include "scheduler/SchedulerPaths.h"

#include <win32/module.h>

#include <cstring>

namespace {

CString g_scheduleFile;
CString g_mainProgram;

}  // namespace

namespace SchedulerPaths {

void Build() {
  char module[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
  if (length == 0 || length >= sizeof module) module[0] = '\0';
  if (char* slash = std::strrchr(module, '\\')) slash[1] = '\0';
  const CString folder(module);
  g_scheduleFile = folder + "schedulefile.she";
  g_mainProgram = folder + "Orvane Media.exe";
}

LPCSTR ScheduleFile() { return g_scheduleFile; }

LPCSTR MainProgram() { return g_mainProgram; }

}  // namespace SchedulerPaths
