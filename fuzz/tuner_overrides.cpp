// The TV control's channel overrides in the TV auto-tune registry tree: any values under
// the cable and antenna keys of any tuning space (names, types and data of any size) and
// any country, read as the tuner tunes channels. A channel takes its override only from a
// four-byte REG_DWORD inside the chip's range, else its country's table; nothing else of
// the value is read.
#include "FuzzInput.h"
#include "FuzzMachine.h"

#include "movie_control/CCustomTunerCore.h"
#include "movie_control/CTunerObject.h"

#include <com/hresult.h>
#include <win32/registry.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string KeyOf(long space, bool cable) {
  char key[128];
  std::snprintf(key, sizeof key, "SOFTWARE\\Microsoft\\TV System Services\\TVAutoTune\\TS%ld-%d", space, cable ? 1 : 0);
  return key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzMachine::get();
  fuzz::FuzzInput in(data, size);
  const long country = in.takeInt();
  const long space = in.takeInt();
  const bool cable = in.takeByte() & 1;
  CTunerObject tuner(std::make_unique<CCustomTunerCore>(2));
  tuner.put_CountryCode(country);
  tuner.put_TuningSpace(space);
  tuner.put_InputType(0, cable ? 0 : 1);
  const std::string key = KeyOf(space, cable);
  HKEY values = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &values, nullptr) !=
      ERROR_SUCCESS)
    return 0;
  std::vector<long> channels;
  while (in.left() >= 6 && channels.size() < 64) {
    const long channel = in.takeInt();
    const DWORD type = in.takeByte() % 12;
    std::vector<BYTE> bytes(in.takeByte() % 16);
    for (BYTE& b : bytes) b = in.takeByte();
    char name[16];
    std::snprintf(name, sizeof name, "%ld", channel);
    RegSetValueExA(values, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    channels.push_back(channel);
  }
  for (const long channel : channels) {
    long hz = 0;
    const bool overridden = tuner.ReadOverride(channel, &hz);
    const HRESULT hr = tuner.put_Channel(channel, -1, -1);
    long tuned = 0;
    tuner.Core().get_VideoFrequency(&tuned);
    if (overridden && hz >= CCustomTunerCore::kLowestFrequency && hz <= CCustomTunerCore::kHighestFrequency)
      fuzz::check(hr == S_OK && tuned == hz, "a channel with an override in range tunes its override");
    long minimum = 0, maximum = 0;
    tuner.ChannelMinMax(&minimum, &maximum);
  }
  RegCloseKey(values);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
  return 0;
}
