#include <vendor/hhctrl/HtmlHelp.h>

#include <machine/EventLog.h>
#include <machine/Machine.h>

#include <string>

extern "C" HWND HtmlHelpA(HWND, LPCSTR file, UINT command, DWORD_PTR) {
  plat::EventLog::events(plat::Machine::current())
      .write("HtmlHelp", std::string(file ? file : "") + " " + std::to_string(command));
  return nullptr;
}
