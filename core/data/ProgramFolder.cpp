#include "core/data/ProgramFolder.h"

#include <win32/module.h>

#include <cstring>

CString GetProgramFolder() {
  char path[255 + 1] = {};
  GetModuleFileNameA(nullptr, path, 255);
  char* lastBackslash = std::strrchr(path, '\\');
  if (!lastBackslash) return CString();
  lastBackslash[1] = '\0';
  return CString(path);
}
