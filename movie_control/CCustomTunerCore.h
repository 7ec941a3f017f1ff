// The tuner core of a card without a tuner filter: its own record of modes, formats,
// input and frequency, and the tuner chip programmed over the card's I2C bus. Only
// cards of kind 1 carry the chip this core knows; for other kinds the frequency is kept
// and nothing is written. Whether the picture is locked is the card's video decoder's to
// say, found on the capture filter it was made for.
#pragma once

#include "CTunerCore.h"

#include <com/ComPtr.h>

#include <cstdint>
#include <vector>

struct IBaseFilter;
struct ICaptureGraphBuilder2;

class CCustomTunerCore final : public CTunerCore {
 public:
  static constexpr long kLowestFrequency = 48'000'000;
  static constexpr long kHighestFrequency = 863'250'000;
  static constexpr BYTE kTunerAddress = 0xC0;

  // `capture` and the `builder` of its graph, when given, are held for the decoder's lock.
  explicit CCustomTunerCore(int cardKind, ICaptureGraphBuilder2* builder = nullptr, IBaseFilter* capture = nullptr);
  ~CCustomTunerCore() override;

  HRESULT GetAvailableModes(long* modes) override;
  HRESULT get_Mode(long* mode) override;
  HRESULT put_Mode(long mode) override;
  HRESULT get_AvailableTVFormats(long* formats) override;
  HRESULT get_TVFormat(long* format) override;
  HRESULT put_TVFormat(long format) override;
  HRESULT get_ConnectInput(long* input) override;
  HRESULT put_ConnectInput(long input) override;
  HRESULT get_InputType(long index, long* type) override;
  HRESULT put_InputType(long index, long type) override;
  HRESULT get_VideoFrequency(long* hz) override;
  HRESULT put_VideoFrequency(long hz) override;
  HRESULT SignalPresent(long* strength) override;
  // The horizontal lock of the capture filter's video decoder (1 locked, 0 not); E_FAIL
  // without a capture filter, the search's HRESULT when the filter has no decoder.
  HRESULT get_HorizontalLocked(long* locked);

  // The four bytes that put the chip on `hz`: divider high and low byte, control byte, band byte.
  static std::vector<BYTE> ProgrammingBytes(long hz);

 private:
  int m_cardKind;
  plat::ComPtr<ICaptureGraphBuilder2> m_builder;
  plat::ComPtr<IBaseFilter> m_capture;
  long m_availableModes = 15;
  long m_mode = 0;
  long m_availableFormats = 0x1FFFB7;
  long m_format = 0;
  long m_connectedInput = 0;
  long m_inputType = 0;
  long m_videoFrequency = 49'750'000;
};
