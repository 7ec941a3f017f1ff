#include <machine/Broadcast.h>

#include <machine/IniDocument.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace plat {

namespace {

constexpr std::int64_t kTolerance = 1'000'000;

std::vector<std::string> fields(const std::string& text) {
  std::vector<std::string> out;
  std::stringstream stream(text);
  std::string field;
  while (std::getline(stream, field, ',')) out.emplace_back(trimmed(field));
  return out;
}

std::int64_t megahertz(const std::string& text) { return std::llround(std::strtod(text.c_str(), nullptr) * 1e6); }

}  // namespace

std::int64_t Broadcast::intermediateHz(const std::string& standard) {
  const bool if45 = standard == "NTSC_M" || standard == "NTSC_433" || standard == "PAL_M" || standard == "PAL_N";
  return if45 ? 45'750'000 : 38'000'000;
}

Broadcast Broadcast::fromIni(const IniDocument& ini) {
  Broadcast broadcast;
  for (const std::string& key : ini.keyNames("Broadcast")) {
    if (key.size() < 8 || !equalsNoCase(key.substr(0, 7), "Channel")) continue;
    const auto parts = fields(ini.valueOr("Broadcast", key, ""));
    if (parts.size() < 4) continue;  // a damaged line is skipped, the rest still count
    Station station;
    station.carrierHz = megahertz(parts[0]);
    if (station.carrierHz <= 0) continue;
    station.scene.kind = Scene::Kind::Station;
    station.scene.standard = parts[1];
    station.scene.number = std::atoi(parts[2].c_str());
    station.scene.name = parts[3];
    station.scene.toneHz = parts.size() > 4 ? std::strtod(parts[4].c_str(), nullptr) : 0.0;
    broadcast.m_stations.push_back(std::move(station));
  }
  return broadcast;
}

std::optional<Scene> Broadcast::externalSource(const std::string& description) {
  const auto parts = fields(description);
  if (parts.empty() || parts[0].empty()) return std::nullopt;
  Scene scene;
  scene.kind = Scene::Kind::External;
  scene.name = parts[0];
  scene.standard = parts.size() > 1 ? parts[1] : "PAL_D";
  scene.toneHz = parts.size() > 2 ? std::strtod(parts[2].c_str(), nullptr) : 0.0;
  return scene;
}

std::optional<Broadcast::Station> Broadcast::stationAt(std::int64_t oscillatorHz) const {
  for (const Station& station : m_stations)
    if (std::llabs(oscillatorHz - intermediateHz(station.scene.standard) - station.carrierHz) <= kTolerance) return station;
  return std::nullopt;
}

std::optional<Broadcast::Station> Broadcast::stationWithCarrier(std::int64_t carrierHz) const {
  for (const Station& station : m_stations)
    if (std::llabs(carrierHz - station.carrierHz) <= kTolerance) return station;
  return std::nullopt;
}

std::optional<Broadcast::Station> Broadcast::stationNumbered(int number) const {
  for (const Station& station : m_stations)
    if (station.scene.number == number) return station;
  return std::nullopt;
}

}  // namespace plat
