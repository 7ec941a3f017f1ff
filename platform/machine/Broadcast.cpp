#include <machine/Broadcast.h>

#include <machine/IniDocument.h>
#include <machine/Machine.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace plat {

namespace {

constexpr double kDefaultIfMhz = 45.75;

// "55.25,NTSC_M,Metro 2,1"
std::optional<Broadcast::Channel> parseChannel(const std::string& label, const std::string& value) {
  std::vector<std::string> fields;
  std::stringstream stream(value);
  std::string field;
  while (std::getline(stream, field, ',')) fields.emplace_back(trimmed(field));
  if (fields.size() != 4) return std::nullopt;
  char* end = nullptr;
  double mhz = std::strtod(fields[0].c_str(), &end);
  if (end == fields[0].c_str() || *end != '\0' || !(mhz > 0)) return std::nullopt;
  if (fields[3] != "0" && fields[3] != "1") return std::nullopt;
  return Broadcast::Channel{label, mhz, fields[1], fields[2], fields[3] == "1"};
}

}  // namespace

Broadcast::Broadcast(Machine& machine) : Broadcast(machine.ini()) {}

Broadcast::Broadcast(const IniDocument& ini) : m_ifMhz(kDefaultIfMhz) {
  if (auto text = ini.value("Broadcast", "IF")) {
    char* end = nullptr;
    double value = std::strtod(text->c_str(), &end);
    if (end != text->c_str() && value > 0) m_ifMhz = value;
  }
  for (const std::string& key : ini.keyNames("Broadcast")) {
    if (equalsNoCase(key, "IF")) continue;
    if (auto channel = parseChannel(key, ini.valueOr("Broadcast", key, ""))) m_channels.push_back(*channel);
  }
}

std::optional<Broadcast::Channel> Broadcast::channelAt(double mhz) const {
  for (const Channel& channel : m_channels) {
    if (channel.onAir && std::fabs(channel.mhz - mhz) <= kToleranceMhz) return channel;
  }
  return std::nullopt;
}

std::string defaultBroadcastSection() {
  // Runs of the plan: first channel, its picture carrier, how many channels 6 MHz apart.
  struct Run {
    int first;
    double mhz;
    int count;
  };
  constexpr Run kRuns[] = {{2, 55.25, 3}, {5, 77.25, 2}, {7, 175.25, 7}, {14, 471.25, 56}};
  struct Station {
    int channel;
    const char* name;
  };
  constexpr Station kOnAir[] = {{2, "Metro 2"}, {4, "Valley 4"}, {7, "Coast 7"}, {11, "City 11"}, {14, "Harbor 14"}};

  std::string section = "[Broadcast]\r\nIF=45.75\r\n";
  for (const Run& run : kRuns) {
    for (int i = 0; i < run.count; ++i) {
      int number = run.first + i;
      std::string name = "Channel " + std::to_string(number);
      bool onAir = false;
      for (const Station& station : kOnAir) {
        if (station.channel == number) {
          name = station.name;
          onAir = true;
        }
      }
      char line[96];
      std::snprintf(line, sizeof line, "CH%d=%.2f,NTSC_M,%s,%d\r\n", number, run.mhz + 6.0 * i, name.c_str(),
                    onAir ? 1 : 0);
      section += line;
    }
  }
  return section;
}

}  // namespace plat
