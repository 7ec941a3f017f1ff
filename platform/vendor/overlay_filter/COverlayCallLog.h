// Where the overlay filter reports the calls of its interface: one line per call in the
// machine's events.log (category "QXM_OverlayFilter", text "<slot> <Name>(<args>)"), so
// tests and people see exactly what the program asked. A call of the method at the slot
// named by FailSlot in machine.ini's [QXM_OverlayFilter] section fails with E_FAIL (its
// line then ends in " failed"), so the program's handling of a refusing filter can be tried.
#pragma once

#include <win32/types.h>

#include <string>

class COverlayCallLog {
 public:
  // Records the call; E_FAIL when the slot is the one told to fail, else S_OK.
  static HRESULT record(int slot, const std::string& call);
};
