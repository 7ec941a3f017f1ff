#include <win32/debug.h>

#include <win32/system/DebugOutput.h>

void OutputDebugStringA(LPCSTR lpOutputString) {
  if (lpOutputString) plat::DebugOutput::current().write(lpOutputString);
}
