#include <machine/TvStickCapture.h>

#include <machine/Machine.h>
#include <machine/TvStickControl.h>

namespace plat {

namespace {

constexpr std::int64_t kPllStepHz = 62'500;  // the tuner's divider counts sixteenths of a megahertz

}  // namespace

TvStickCapture::TvStickCapture(Machine& machine)
    : CaptureHardware(machine.ini(), "TVStick"),
      m_control(machine.service<TvStickControl>()),
      m_friendlyName(machine.ini().valueOr("TVStick", "FriendlyName", "USB TV Device")),
      m_devicePath(machine.ini().valueOr("TVStick", "DevicePath", "")),
      m_audioOut(machine.ini().intValue("TVStick", "AudioOut", 0) != 0),
      m_composite(Broadcast::externalSource(machine.ini().valueOr("TVStick", "CompositeSource", "Camcorder,NTSC_M,330"))),
      m_sVideo(Broadcast::externalSource(machine.ini().valueOr("TVStick", "SVideoSource", ""))) {}

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

long TvStickCapture::detectedStandard() const {
  const auto scene = currentScene();
  {
    std::lock_guard guard(m_lock);
    if (m_input != Input::Tuner && scene) return standardBit(scene->standard);
  }
  return decoderStandard();
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

}  // namespace plat
