#include <machine/TvStickCapture.h>

#include <machine/Machine.h>
#include <machine/TvStickControl.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

namespace plat {

namespace {

constexpr std::int64_t kPllStepHz = 62'500;  // the tuner's divider counts sixteenths of a megahertz

const char* const kProcAmpNames[TvStickCapture::kProcAmpProperties] = {"Brightness", "Contrast", "Hue", "Saturation",
                                                                        "Sharpness"};
constexpr TvStickCapture::Range kDefaultRanges[TvStickCapture::kProcAmpProperties] = {
    {0, 255, 1, 128}, {0, 127, 1, 64}, {-128, 127, 1, 0}, {0, 127, 1, 64}, {0, 15, 1, 8}};

TvStickCapture::Range rangeFrom(const std::string& text, TvStickCapture::Range fallback) {
  std::vector<long> values;
  std::stringstream stream(text);
  std::string field;
  while (std::getline(stream, field, ',')) values.push_back(std::strtol(field.c_str(), nullptr, 10));
  if (values.size() != 4 || values[0] > values[1] || values[3] < values[0] || values[3] > values[1]) return fallback;
  return {values[0], values[1], values[2], values[3]};
}

}  // namespace

TvStickCapture::TvStickCapture(Machine& machine)
    : m_control(machine.service<TvStickControl>()),
      m_friendlyName(machine.ini().valueOr("TVStick", "FriendlyName", "USB TV Device")),
      m_devicePath(machine.ini().valueOr("TVStick", "DevicePath", "")),
      m_audioOut(machine.ini().intValue("TVStick", "AudioOut", 0) != 0),
      m_composite(Broadcast::externalSource(machine.ini().valueOr("TVStick", "CompositeSource", "Camcorder,NTSC_M,330"))),
      m_sVideo(Broadcast::externalSource(machine.ini().valueOr("TVStick", "SVideoSource", ""))) {
  for (size_t i = 0; i < kProcAmpProperties; ++i) {
    m_ranges[i] = rangeFrom(machine.ini().valueOr("TVStick", std::string("ProcAmp") + kProcAmpNames[i], ""), kDefaultRanges[i]);
    m_procAmp[i] = m_ranges[i].def;
  }
  const auto& stations = m_control.broadcast().stations();
  if (!stations.empty()) m_decoderStandard = standardBit(stations.front().scene.standard);
}

long TvStickCapture::standardBit(const std::string& name) {
  static const std::map<std::string, long> kBits = {
      {"NTSC_M", 0x1},       {"NTSC_M_J", 0x2},     {"NTSC_433", 0x4},    {"PAL_B", 0x10},       {"PAL_D", 0x20},
      {"PAL_G", 0x40},       {"PAL_H", 0x80},       {"PAL_I", 0x100},     {"PAL_M", 0x200},      {"PAL_N", 0x400},
      {"PAL_60", 0x800},     {"SECAM_B", 0x1000},   {"SECAM_D", 0x2000},  {"SECAM_G", 0x4000},   {"SECAM_H", 0x8000},
      {"SECAM_K", 0x10000},  {"SECAM_K1", 0x20000}, {"SECAM_L", 0x40000}, {"SECAM_L1", 0x80000}, {"PAL_N_COMBO", 0x100000}};
  auto it = kBits.find(name);
  return it == kBits.end() ? 0 : it->second;
}

bool TvStickCapture::present() const { return m_control.isPlugged(); }

TvStickCapture::Input TvStickCapture::input() const {
  std::lock_guard guard(m_lock);
  return m_input;
}

void TvStickCapture::setInput(Input input) {
  std::lock_guard guard(m_lock);
  m_input = input;
}

void TvStickCapture::setExternalSource(Input input, std::optional<Scene> source) {
  std::lock_guard guard(m_lock);
  if (input == Input::Composite) m_composite = std::move(source);
  else if (input == Input::SVideo) m_sVideo = std::move(source);
}

bool TvStickCapture::tuneCarrier(std::int64_t carrierHz) {
  const auto station = m_control.broadcast().stationWithCarrier(carrierHz);
  const std::int64_t oscillator = carrierHz + Broadcast::intermediateHz(station ? station->scene.standard : "PAL_D");
  const std::int64_t divider = (oscillator + kPllStepHz / 2) / kPllStepHz;
  const std::uint8_t band = carrierHz <= 164'250'000 ? 1 : carrierHz <= 464'250'000 ? 2 : 8;
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(divider >> 8), static_cast<std::uint8_t>(divider), 0xCE, band};
  return m_control.writeI2C(TvStickControl::kTunerAddress, 0, 2, bytes, 4);
}

std::int64_t TvStickCapture::tunedCarrier() const {
  if (const auto station = m_control.tunedStation()) return station->carrierHz;
  const auto oscillator = m_control.oscillatorHz();
  return oscillator ? *oscillator - Broadcast::intermediateHz("PAL_D") : 0;
}

long TvStickCapture::decoderStandard() const {
  std::lock_guard guard(m_lock);
  return m_decoderStandard;
}

void TvStickCapture::setDecoderStandard(long standard) {
  std::lock_guard guard(m_lock);
  m_decoderStandard = standard;
}

long TvStickCapture::detectedStandard() const {
  const auto scene = currentScene();
  std::lock_guard guard(m_lock);
  if (m_input != Input::Tuner && scene) return standardBit(scene->standard);
  return m_decoderStandard;
}

std::optional<Scene> TvStickCapture::currentScene() const {
  if (!m_control.isPlugged()) return std::nullopt;
  Input input;
  {
    std::lock_guard guard(m_lock);
    input = m_input;
    if (input == Input::Composite) return m_composite;
    if (input == Input::SVideo) return m_sVideo;
  }
  if (const auto station = m_control.tunedStation()) return station->scene;
  return std::nullopt;
}

bool TvStickCapture::signalPresent() const { return currentScene().has_value(); }

Scene TvStickCapture::scene() const { return currentScene().value_or(Scene{}); }

TvStickCapture::Range TvStickCapture::procAmpRange(int property) const {
  if (property < 0 || property >= kProcAmpProperties) return {0, 0, 0, 0};
  return m_ranges[static_cast<size_t>(property)];
}

long TvStickCapture::procAmp(int property) const {
  std::lock_guard guard(m_lock);
  if (property < 0 || property >= kProcAmpProperties) return 0;
  return m_procAmp[static_cast<size_t>(property)];
}

bool TvStickCapture::setProcAmp(int property, long value) {
  if (property < 0 || property >= kProcAmpProperties) return false;
  const Range range = m_ranges[static_cast<size_t>(property)];
  if (value < range.min || value > range.max) return false;
  std::lock_guard guard(m_lock);
  m_procAmp[static_cast<size_t>(property)] = value;
  return true;
}

}  // namespace plat
