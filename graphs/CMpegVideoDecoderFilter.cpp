#include "graphs/CMpegVideoDecoderFilter.h"

namespace {

// {4A844AFA-33B8-4133-A3C9-4324B4B49B15}
constexpr CLSID kClsid = {0x4A844AFA, 0x33B8, 0x4133, {0xA3, 0xC9, 0x43, 0x24, 0xB4, 0xB4, 0x9B, 0x15}};

// The decoder's private interface, as far as the program calls it: the option is its
// first method.
// {371D1B06-2047-494E-A6D7-6055F88BE2D0}
constexpr IID kIidDecoderOption = {0x371D1B06, 0x2047, 0x494E, {0xA6, 0xD7, 0x60, 0x55, 0xF8, 0x8B, 0xE2, 0xD0}};
struct IDecoderOption : public IUnknown {
  STDMETHOD(SetOption)(BOOL option) = 0;

 protected:
  ~IDecoderOption() = default;
};

}  // namespace

CMpegVideoDecoderFilter::CMpegVideoDecoderFilter(IGraphBuilder* graph) { SetGraph(graph); }

CMpegVideoDecoderFilter::~CMpegVideoDecoderFilter() { RemoveFromGraph(); }

BOOL CMpegVideoDecoderFilter::Create(BOOL option) {
  if (m_pFilter) {
    SetOption(option);
    return TRUE;
  }
  if (!m_pGraph) return FALSE;
  // A decoder without the private interface is not the one wanted; the option's own
  // answer does not matter here.
  IDecoderOption* decoder = nullptr;
  if (SUCCEEDED(CreateAndAddFilter(m_pGraph, kClsid, L"QN MPEG Video Decoder", &m_pFilter)) &&
      QueryFilterInterface(kIidDecoderOption, reinterpret_cast<void**>(&decoder))) {
    decoder->SetOption(option ? 1 : 0);
    decoder->Release();
    return TRUE;
  }
  RemoveFromGraph();
  return FALSE;
}

BOOL CMpegVideoDecoderFilter::SetOption(BOOL option) {
  IDecoderOption* decoder = nullptr;
  if (!QueryFilterInterface(kIidDecoderOption, reinterpret_cast<void**>(&decoder))) return FALSE;
  const HRESULT hr = decoder->SetOption(option ? 1 : 0);
  decoder->Release();
  return SUCCEEDED(hr);
}
