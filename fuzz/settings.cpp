// "ZRQData.dat": any bytes load (what the file holds of the record over the defaults, every
// value its table allows, the others their defaults) and save as one whole record, which
// loads and saves again unchanged.
#include "FuzzMachine.h"

#include "core/CAppController.h"
#include "core/data/CAppSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  machine.put("ZRQData.dat", data, size);
  const std::string path = machine.programPath("ZRQData.dat");
  CAppSettings settings;
  g_pAppSettings = &settings;
  settings.ProgramFolder = CAppController::GetModuleFolder();
  if (CAppController::LoadSettings(path.c_str())) {
    const auto within = [](int value, int lowest, int highest) { return value >= lowest && value <= highest; };
    fuzz::check(within(settings.VideoInput, 1, 4) && within(settings.AvInputStandard, 0, 3) &&
                    within(settings.TunerSource, 1, 2) && within(settings.VideoWindowAspect, 1, 3) &&
                    within(settings.LineStandard, 3, 4),
                "inputs, standards and the window's aspect are in their tables");
    fuzz::check(within(settings.RecordFormat, 0, 7) && within(settings.RecordQuality, 1, 3) &&
                    within(settings.Volume, 0, 100) && within(settings.Brightness, 0, 100) &&
                    within(settings.Contrast, 0, 100) && within(settings.Hue, 0, 100) &&
                    within(settings.Saturation, 0, 100) && within(settings.Sharpness, 0, 100),
                "the record's format, quality and the levels are in their ranges");
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
