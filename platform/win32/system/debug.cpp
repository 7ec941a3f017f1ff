#include <win32/debug.h>

#include <win32/DebugOutput.h>

void OutputDebugStringA(LPCSTR lpOutputString) {
  if (lpOutputString) plat::DebugOutput::current().write(lpOutputString);
}
