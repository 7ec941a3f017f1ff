// The process entry of a program with an application object, as MFC provides it: the
// program itself has no main. Linked into each such program (plat_winmain), not into the
// platform's shared libraries, so test programs keep their own.
#include <mfc/afxwin.h>
#include <win32/module.h>

#include <string>

int main(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
  return AfxWinMain(::GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
