// What a capture filter sees of its hardware: whether the device is there, the scene on
// its current input, the video decoder's standard and the picture controls. The TV stick
// (TvStickCapture) and the PCI capture card (CaptureCard) are capture hardware, so one
// capture filter and one video pin serve both.
//
// The picture controls are read from the machine.ini section of the device:
// ProcAmpBrightness=min,max,step,default (likewise Contrast, Hue, Saturation, Sharpness).
// Safe to use from any thread.
#pragma once

#include <machine/Broadcast.h>

#include <array>
#include <mutex>
#include <optional>
#include <string>

namespace plat {

class IniDocument;

class CaptureHardware {
 public:
  struct Range {
    long min, max, step, def;
  };
  static constexpr int kProcAmpProperties = 5;  // brightness, contrast, hue, saturation, sharpness

  CaptureHardware(const IniDocument& ini, const std::string& section);
  virtual ~CaptureHardware() = default;
  CaptureHardware(const CaptureHardware&) = delete;
  CaptureHardware& operator=(const CaptureHardware&) = delete;

  virtual const std::string& friendlyName() const = 0;
  virtual bool present() const = 0;
  virtual bool hasAudioOut() const { return false; }

  long decoderStandard() const;
  void setDecoderStandard(long standard);
  // The standard of the signal on the current input; the decoder's setting by default.
  virtual long detectedStandard() const { return decoderStandard(); }
  bool signalPresent() const { return currentScene().has_value(); }
  // What the current input shows now: snow without a signal or when the device is gone.
  Scene scene() const { return currentScene().value_or(Scene{}); }

  Range procAmpRange(int property) const;
  long procAmp(int property) const;
  // False (value unchanged) outside the property's range.
  bool setProcAmp(int property, long value);

  // The AnalogVideoStandard bit of a standard's name (0 when unknown).
  static long standardBit(const std::string& name);

 protected:
  virtual std::optional<Scene> currentScene() const = 0;

  mutable std::mutex m_lock;

 private:
  long m_decoderStandard = 0;
  std::array<Range, kProcAmpProperties> m_ranges;
  std::array<long, kProcAmpProperties> m_procAmp;
};

}  // namespace plat
