// What reaches the TV stick's aerial and its external inputs, from machine.ini:
//
//   [Broadcast]
//   Channel1=55.25,NTSC_M,2,Channel 2 News,440     carrier MHz, standard, number, name, tone Hz
//   [TVStick]
//   CompositeSource=Camcorder,NTSC_M,330            name, standard, tone Hz (empty: nothing plugged)
//   SVideoSource=
//
// A station is received when the tuner's local oscillator sits at its carrier plus the
// intermediate frequency its standard uses (45.75 MHz for NTSC_M, NTSC_433, PAL_M and
// PAL_N, 38.0 MHz for the others), within a megahertz.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plat {

class IniDocument;

// One picture-and-sound source: a station or a device on an external input.
struct Scene {
  enum class Kind { Snow, Station, External };
  Kind kind = Kind::Snow;
  int number = 0;           // channel number of a station
  std::string name;
  std::string standard;     // "PAL_D", "NTSC_M" …
  double toneHz = 0.0;      // the sound: a sine of this frequency, silence when 0
};

class Broadcast {
 public:
  struct Station {
    std::int64_t carrierHz;
    Scene scene;
  };

  static Broadcast fromIni(const IniDocument& ini);
  // A source described as "name,standard,tone" (empty text: nothing).
  static std::optional<Scene> externalSource(const std::string& description);

  const std::vector<Station>& stations() const { return m_stations; }
  // The intermediate frequency a standard's stations are received with.
  static std::int64_t intermediateHz(const std::string& standard);
  // The station a local oscillator at `oscillatorHz` receives, or nothing.
  std::optional<Station> stationAt(std::int64_t oscillatorHz) const;
  // The station with this carrier (within a megahertz), or nothing.
  std::optional<Station> stationWithCarrier(std::int64_t carrierHz) const;
  std::optional<Station> stationNumbered(int number) const;

 private:
  std::vector<Station> m_stations;
};

}  // namespace plat
