// The capture side of the USB TV stick: its identity in the device lists, the crossbar's
// chosen input (tuner, Composite, S-Video), the external sources on those inputs, the
// video decoder's standard and the picture controls. Plugging, the registers and the
// tuner belong to the control side (TvStickControl); this side reads the tuner's
// station and the plug state from there, so tuning over I2C changes the picture, and it
// tunes through the same I2C write when the tuner filter changes channel.
//
// machine.ini [TVStick]: FriendlyName, DevicePath, AudioOut (1: a sound pin on the
// capture filter), CompositeSource and SVideoSource (see Broadcast.h; a missing
// CompositeSource means a camcorder), ProcAmpBrightness=min,max,step,default (likewise
// Contrast, Hue, Saturation, Sharpness).
//
// One per machine (Machine::service<TvStickCapture>()), safe to use from any thread.
#pragma once

#include <machine/Broadcast.h>

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace plat {

class Machine;
class TvStickControl;

class TvStickCapture {
 public:
  enum class Input { Tuner, Composite, SVideo };
  struct Range {
    long min, max, step, def;
  };
  static constexpr int kProcAmpProperties = 5;  // brightness, contrast, hue, saturation, sharpness

  explicit TvStickCapture(Machine& machine);
  TvStickCapture(const TvStickCapture&) = delete;
  TvStickCapture& operator=(const TvStickCapture&) = delete;

  const std::string& friendlyName() const { return m_friendlyName; }
  const std::string& devicePath() const { return m_devicePath; }
  bool hasAudioOut() const { return m_audioOut; }
  bool present() const;
  TvStickControl& control() { return m_control; }

  Input input() const;
  void setInput(Input input);
  // What a Composite or S-Video input shows (nothing: no signal there).
  void setExternalSource(Input input, std::optional<Scene> source);

  // Tunes the tuner to a station's carrier with the tuner's own I2C write.
  bool tuneCarrier(std::int64_t carrierHz);
  // The carrier of the station received, else where the tuner sits; 0 before tuning.
  std::int64_t tunedCarrier() const;

  long decoderStandard() const;
  void setDecoderStandard(long standard);
  // The standard of the signal on the current input: an external source's own, the
  // decoder's setting on the tuner.
  long detectedStandard() const;
  bool signalPresent() const;
  // What the current input shows now: snow without a signal or when unplugged.
  Scene scene() const;

  Range procAmpRange(int property) const;
  long procAmp(int property) const;
  // False (value unchanged) outside the property's range.
  bool setProcAmp(int property, long value);

  // The AnalogVideoStandard bit of a standard's name (0 when unknown).
  static long standardBit(const std::string& name);

 private:
  std::optional<Scene> currentScene() const;

  TvStickControl& m_control;
  const std::string m_friendlyName;
  const std::string m_devicePath;
  const bool m_audioOut;
  mutable std::mutex m_lock;
  Input m_input = Input::Tuner;
  std::optional<Scene> m_composite;
  std::optional<Scene> m_sVideo;
  long m_decoderStandard = 0;
  std::array<Range, kProcAmpProperties> m_ranges;
  std::array<long, kProcAmpProperties> m_procAmp;
};

}  // namespace plat
