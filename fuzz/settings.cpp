// "ZRQData.dat": any bytes load (what the file holds of the record over the defaults, with
// inputs and standards clamped) and save as one whole record, which loads and saves again
// unchanged.
#include "FuzzMachine.h"

#include "core/CAppController.h"
#include "core/CAppSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  machine.put("ZRQData.dat", data, size);
  const std::string path = machine.programPath("ZRQData.dat");
  CAppSettings settings;
  g_pAppSettings = &settings;
  settings.ProgramFolder = CAppController::GetModuleFolder();
  if (CAppController::LoadSettings(path.c_str())) {
    fuzz::check(settings.VideoInput >= 0 && settings.VideoInput <= 4, "the video input is clamped");
    fuzz::check(CAppController::SaveSettings(path.c_str()) == 1, "loaded settings save");
    const std::string first = fuzz::FuzzMachine::read(machine.programFolder() / "ZRQData.dat");
    fuzz::check(first.size() == 768, "one whole record");
    fuzz::check(CAppController::LoadSettings(path.c_str()) == 1, "saved settings load");
    fuzz::check(CAppController::SaveSettings(path.c_str()) == 1, "and save again");
    fuzz::check(fuzz::FuzzMachine::read(machine.programFolder() / "ZRQData.dat") == first, "unchanged");
  }
  g_pAppSettings = nullptr;
  return 0;
}
