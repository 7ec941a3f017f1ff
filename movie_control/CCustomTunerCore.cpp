#include "CCustomTunerCore.h"

#include "CCaptureDriver.h"

#include <com/hresult.h>
#include <dshow/axextend.h>
#include <dshow/strmif.h>
#include <dshow/uuids.h>

namespace {
constexpr int kChipCardKind = 1;
constexpr std::int64_t kIntermediateHz = 38'875'000;
constexpr std::int64_t kStepHz = 62'500;
constexpr BYTE kControlByte = 0xCE;
}  // namespace

CCustomTunerCore::CCustomTunerCore(int cardKind, ICaptureGraphBuilder2* builder, IBaseFilter* capture)
    : m_cardKind(cardKind), m_builder(builder), m_capture(capture) {}

CCustomTunerCore::~CCustomTunerCore() = default;

HRESULT CCustomTunerCore::GetAvailableModes(long* modes) {
  if (!modes) return E_POINTER;
  *modes = m_availableModes;
  return S_OK;
}

HRESULT CCustomTunerCore::get_Mode(long* mode) {
  if (!mode) return E_POINTER;
  *mode = m_mode;
  return S_OK;
}

HRESULT CCustomTunerCore::put_Mode(long mode) {
  if ((mode & m_availableModes) == 0 || (mode & ~m_availableModes)) return E_NOTIMPL;
  m_mode = mode;
  return S_OK;
}

HRESULT CCustomTunerCore::get_AvailableTVFormats(long* formats) {
  if (!formats) return E_POINTER;
  *formats = m_availableFormats;
  return S_OK;
}

HRESULT CCustomTunerCore::get_TVFormat(long* format) {
  if (!format) return E_POINTER;
  *format = m_format;
  return S_OK;
}

HRESULT CCustomTunerCore::put_TVFormat(long format) {
  if ((format & m_availableFormats) == 0 || (format & ~m_availableFormats)) return E_INVALIDARG;
  m_format = format;
  return S_OK;
}

HRESULT CCustomTunerCore::get_ConnectInput(long* input) {
  if (!input) return E_POINTER;
  *input = m_connectedInput;
  return S_OK;
}

HRESULT CCustomTunerCore::put_ConnectInput(long input) {
  if (input != 0) return E_INVALIDARG;
  m_connectedInput = input;
  return S_OK;
}

HRESULT CCustomTunerCore::get_InputType(long index, long* type) {
  if (!type) return E_POINTER;
  if (index != 0) return E_INVALIDARG;
  *type = m_inputType;
  return S_OK;
}

HRESULT CCustomTunerCore::put_InputType(long index, long type) {
  if (index != 0) return E_INVALIDARG;
  m_inputType = type;
  return S_OK;
}

HRESULT CCustomTunerCore::get_VideoFrequency(long* hz) {
  if (!hz) return E_POINTER;
  *hz = m_videoFrequency;
  return S_OK;
}

HRESULT CCustomTunerCore::put_VideoFrequency(long hz) {
  if (hz < kLowestFrequency || hz > kHighestFrequency) return E_INVALIDARG;
  m_videoFrequency = hz;
  if (m_cardKind != kChipCardKind) return S_OK;
  const std::vector<BYTE> bytes = ProgrammingBytes(hz);
  // A driver that is missing or refuses leaves the chip where it was; the tuner keeps the
  // frequency all the same.
  CCaptureDriver::WriteI2C(kTunerAddress, bytes.data(), static_cast<long>(bytes.size()));
  return S_OK;
}

HRESULT CCustomTunerCore::SignalPresent(long*) { return E_NOTIMPL; }

HRESULT CCustomTunerCore::get_HorizontalLocked(long* locked) {
  if (!locked) return E_POINTER;
  if (!m_builder || !m_capture) return E_FAIL;
  // The decoder sits on the capture stream: an interleaved one where the card has it.
  plat::ComPtr<IAMAnalogVideoDecoder> decoder;
  HRESULT hr = m_builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, m_capture.get(),
                                        IID_IAMAnalogVideoDecoder, decoder.putVoid());
  if (FAILED(hr))
    hr = m_builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_capture.get(), IID_IAMAnalogVideoDecoder,
                                  decoder.putVoid());
  if (FAILED(hr)) return hr;
  return decoder->get_HorizontalLocked(locked);
}

std::vector<BYTE> CCustomTunerCore::ProgrammingBytes(long hz) {
  // The divider counts sixteenths of a megahertz above the intermediate frequency, in
  // whole hertz so no carrier rounds below its step.
  const BYTE band = hz <= 164'250'000 ? 0x01 : hz <= 464'250'000 ? 0x02 : 0x08;
  const auto divider = static_cast<unsigned>((static_cast<std::int64_t>(hz) + kIntermediateHz) / kStepHz);
  return {static_cast<BYTE>(divider >> 8), static_cast<BYTE>(divider & 0xFF), kControlByte, band};
}
