#include "graphs/CMpegVideoDecoderFilter.h"

#include <vendor/mpeg_video_decoder/QnMpegVideoDecoder.h>

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
  IQnMpegDecoderOption* decoder = nullptr;
  if (SUCCEEDED(CreateAndAddFilter(m_pGraph, CLSID_QnMpegVideoDecoder, L"QN MPEG Video Decoder", &m_pFilter)) &&
      QueryFilterInterface(IID_IQnMpegDecoderOption, reinterpret_cast<void**>(&decoder))) {
    decoder->SetOption(option ? 1 : 0);
    decoder->Release();
    return TRUE;
  }
  RemoveFromGraph();
  return FALSE;
}

BOOL CMpegVideoDecoderFilter::SetOption(BOOL option) {
  IQnMpegDecoderOption* decoder = nullptr;
  if (!QueryFilterInterface(IID_IQnMpegDecoderOption, reinterpret_cast<void**>(&decoder))) return FALSE;
  const HRESULT hr = decoder->SetOption(option ? 1 : 0);
  decoder->Release();
  return SUCCEEDED(hr);
}
