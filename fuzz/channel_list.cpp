// ".chl" channel lists: any bytes load or are refused whole; a list that loads saves back
// byte for byte (its records in number order) and loads again the same.
#include "FuzzMachine.h"

#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  machine.put("fuzz.chl", data, size);
  const std::string path = machine.programPath("fuzz.chl");
  const std::string copy = machine.programPath("copy.chl");
  CChannelList list;
  if (!list.LoadFile(path.c_str())) return 0;
  fuzz::check(list.SaveFile(copy.c_str()) == 1, "a loaded list saves");
  const std::string saved = fuzz::FuzzMachine::read(machine.programFolder() / "copy.chl");
  fuzz::check(saved.size() <= size, "the saved list is no larger than the file");
  CChannelList again;
  fuzz::check(again.LoadFile(copy.c_str()) == 1, "a saved list loads");
  fuzz::check(again.SaveFile(copy.c_str()) == 1, "it saves again");
  fuzz::check(fuzz::FuzzMachine::read(machine.programFolder() / "copy.chl") == saved, "a second round trip changes nothing");
  return 0;
}
