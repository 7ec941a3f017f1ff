#include <machine/CaptureHardware.h>

#include <machine/IniDocument.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

namespace plat {

namespace {

const char* const kProcAmpNames[CaptureHardware::kProcAmpProperties] = {"Brightness", "Contrast", "Hue", "Saturation",
                                                                         "Sharpness"};
constexpr CaptureHardware::Range kDefaultRanges[CaptureHardware::kProcAmpProperties] = {
    {0, 255, 1, 128}, {0, 127, 1, 64}, {-128, 127, 1, 0}, {0, 127, 1, 64}, {0, 15, 1, 8}};

CaptureHardware::Range rangeFrom(const std::string& text, CaptureHardware::Range fallback) {
  std::vector<long> values;
  std::stringstream stream(text);
  std::string field;
  while (std::getline(stream, field, ',')) values.push_back(std::strtol(field.c_str(), nullptr, 10));
  if (values.size() != 4 || values[0] > values[1] || values[3] < values[0] || values[3] > values[1]) return fallback;
  return {values[0], values[1], values[2], values[3]};
}

}  // namespace

CaptureHardware::CaptureHardware(const IniDocument& ini, const std::string& section) {
  for (size_t i = 0; i < kProcAmpProperties; ++i) {
    m_ranges[i] = rangeFrom(ini.valueOr(section, std::string("ProcAmp") + kProcAmpNames[i], ""), kDefaultRanges[i]);
    m_procAmp[i] = m_ranges[i].def;
  }
  const Broadcast broadcast = Broadcast::fromIni(ini);
  if (!broadcast.stations().empty()) m_decoderStandard = standardBit(broadcast.stations().front().scene.standard);
}

long CaptureHardware::standardBit(const std::string& name) {
  static const std::map<std::string, long> kBits = {
      {"NTSC_M", 0x1},       {"NTSC_M_J", 0x2},     {"NTSC_433", 0x4},    {"PAL_B", 0x10},       {"PAL_D", 0x20},
      {"PAL_G", 0x40},       {"PAL_H", 0x80},       {"PAL_I", 0x100},     {"PAL_M", 0x200},      {"PAL_N", 0x400},
      {"PAL_60", 0x800},     {"SECAM_B", 0x1000},   {"SECAM_D", 0x2000},  {"SECAM_G", 0x4000},   {"SECAM_H", 0x8000},
      {"SECAM_K", 0x10000},  {"SECAM_K1", 0x20000}, {"SECAM_L", 0x40000}, {"SECAM_L1", 0x80000}, {"PAL_N_COMBO", 0x100000}};
  auto it = kBits.find(name);
  return it == kBits.end() ? 0 : it->second;
}

long CaptureHardware::decoderStandard() const {
  std::lock_guard guard(m_lock);
  return m_decoderStandard;
}

void CaptureHardware::setDecoderStandard(long standard) {
  std::lock_guard guard(m_lock);
  m_decoderStandard = standard;
}

CaptureHardware::Range CaptureHardware::procAmpRange(int property) const {
  if (property < 0 || property >= kProcAmpProperties) return {0, 0, 0, 0};
  return m_ranges[static_cast<size_t>(property)];
}

long CaptureHardware::procAmp(int property) const {
  std::lock_guard guard(m_lock);
  if (property < 0 || property >= kProcAmpProperties) return 0;
  return m_procAmp[static_cast<size_t>(property)];
}

bool CaptureHardware::setProcAmp(int property, long value) {
  if (property < 0 || property >= kProcAmpProperties) return false;
  const Range range = m_ranges[static_cast<size_t>(property)];
  if (value < range.min || value > range.max) return false;
  std::lock_guard guard(m_lock);
  m_procAmp[static_cast<size_t>(property)] = value;
  return true;
}

}  // namespace plat
