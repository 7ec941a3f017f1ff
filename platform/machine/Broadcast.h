// The analogue TV broadcast the machine's TV stick receives, from machine.ini [Broadcast]:
//
//   IF=45.75                          the intermediate frequency of the region's tuners, MHz
//   CH2=55.25,NTSC_M,Metro 2,1        one key per channel: picture carrier in MHz, video
//                                     standard, station name, 1 on air / 0 silent
//
// A key names the channel as the country does; channels keep their file order. A line
// that does not parse is skipped. A tuner set to a frequency within a small tolerance of
// a channel that is on air receives it; anywhere else there is no signal.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace plat {

class IniDocument;
class Machine;

class Broadcast {
 public:
  struct Channel {
    std::string label;     // the key, e.g. "CH2"
    double mhz = 0;        // picture carrier
    std::string standard;  // "NTSC_M", "PAL_D" …
    std::string name;
    bool onAir = false;
  };

  // How far from a picture carrier a tuner still locks, in MHz.
  static constexpr double kToleranceMhz = 0.25;

  explicit Broadcast(Machine& machine);
  explicit Broadcast(const IniDocument& ini);

  double intermediateFrequencyMhz() const { return m_ifMhz; }
  const std::vector<Channel>& channels() const { return m_channels; }
  // The channel on air at that frequency, if any.
  std::optional<Channel> channelAt(double mhz) const;
  bool hasSignalAt(double mhz) const { return channelAt(mhz).has_value(); }

 private:
  double m_ifMhz;
  std::vector<Channel> m_channels;
};

// The [Broadcast] section of a new machine: the channel plan of the default region (the
// United States' broadcast channels 2 to 69, NTSC-M, IF 45.75 MHz) with a few on air.
std::string defaultBroadcastSection();

}  // namespace plat
