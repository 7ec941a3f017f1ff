#include <dshow/filters/AudioCapture.h>

#include <dshow/AnsiText.h>
#include <dshow/filters/AudioLinePin.h>
#include <dshow/filters/PcmCapturePin.h>
#include <machine/CaptureAudio.h>
#include <machine/Machine.h>
#include <machine/TvStickCapture.h>

#include <new>

namespace plat {

AudioCapture::AudioCapture(LPUNKNOWN outer, HRESULT* phr)
    : LiveSource("Audio capture", outer, CLSID_AudioCapture, phr), m_device(Machine::current().service<CaptureAudio>()) {
  TvStickCapture& stick = Machine::current().service<TvStickCapture>();
  new PcmCapturePin(this, L"Capture", [this, &stick] { return m_device.toneHz(stick); });
  const auto& names = m_device.lines();
  for (size_t i = 0; i < names.size(); ++i)
    m_lines.push_back(std::make_unique<AudioLinePin>(this, pStateLock(), AnsiText::toWide(names[i]).c_str(),
                                                     static_cast<int>(i), m_device));
}

AudioCapture::~AudioCapture() = default;

CUnknown* AudioCapture::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) AudioCapture(outer, phr); }

int AudioCapture::GetPinCount() { return CSource::GetPinCount() + static_cast<int>(m_lines.size()); }

CBasePin* AudioCapture::GetPin(int n) {
  const int streams = CSource::GetPinCount();
  if (n < streams) return CSource::GetPin(n);
  const size_t line = static_cast<size_t>(n - streams);
  return line < m_lines.size() ? m_lines[line].get() : nullptr;
}

}  // namespace plat
