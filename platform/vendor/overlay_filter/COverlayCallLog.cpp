#include <vendor/overlay_filter/COverlayCallLog.h>

#include <com/hresult.h>
#include <machine/EventLog.h>
#include <machine/Machine.h>

HRESULT COverlayCallLog::record(int slot, const std::string& call) {
  plat::Machine& machine = plat::Machine::current();
  const bool fail = machine.ini().intValue("QXM_OverlayFilter", "FailSlot", 0) == slot;
  plat::EventLog::events(machine).write("QXM_OverlayFilter",
                                        std::to_string(slot) + " " + call + (fail ? " failed" : ""));
  return fail ? E_FAIL : S_OK;
}
