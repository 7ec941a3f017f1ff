// The capture side of the USB TV stick: its identity in the device lists, the crossbar's
// chosen input (tuner, Composite, S-Video), the external sources on those inputs, the
// video decoder's standard and the picture controls. Plugging, the registers and the
// tuner belong to the control side (TvStickControl); this side reads the tuner's
// station and the plug state from there, so tuning over I2C changes the picture, and it
// tunes through the same I2C write when the tuner filter changes channel.
//
// machine.ini [TVStick]: FriendlyName, DevicePath, AudioOut (1: a sound pin on the
// capture filter), CompositeSource and SVideoSource (see Broadcast.h; a missing
// CompositeSource means a camcorder), the picture controls (CaptureHardware.h).
//
// One per machine (Machine::service<TvStickCapture>()), safe to use from any thread.
#pragma once

#include <machine/CaptureHardware.h>

#include <cstdint>
#include <optional>
#include <string>

namespace plat {

class Machine;
class TvStickControl;

class TvStickCapture final : public CaptureHardware {
 public:
  enum class Input { Tuner, Composite, SVideo };
  explicit TvStickCapture(Machine& machine);
  TvStickCapture(const TvStickCapture&) = delete;
  TvStickCapture& operator=(const TvStickCapture&) = delete;

  const std::string& friendlyName() const override { return m_friendlyName; }
  const std::string& devicePath() const { return m_devicePath; }
  bool hasAudioOut() const override { return m_audioOut; }
  bool present() const override;
  TvStickControl& control() { return m_control; }

  Input input() const;
  void setInput(Input input);
  // What a Composite or S-Video input shows (nothing: no signal there).
  void setExternalSource(Input input, std::optional<Scene> source);

  // Tunes the tuner to a station's carrier with the tuner's own I2C write.
  bool tuneCarrier(std::int64_t carrierHz);
  // The carrier of the station received, else where the tuner sits; 0 before tuning.
  std::int64_t tunedCarrier() const;

  // The standard of the signal on the current input: an external source's own, the
  // decoder's setting on the tuner.
  long detectedStandard() const override;

 private:
  std::optional<Scene> currentScene() const override;

  TvStickControl& m_control;
  const std::string m_friendlyName;
  const std::string m_devicePath;
  const bool m_audioOut;
  Input m_input = Input::Tuner;
  std::optional<Scene> m_composite;
  std::optional<Scene> m_sVideo;
};

}  // namespace plat
