#include "graphs/CMpeg2SplitterFilter.h"

namespace {
// {3AE86B20-7BE8-11D1-ABE6-00A0C905F375}
constexpr CLSID kClsid = {0x3AE86B20, 0x7BE8, 0x11D1, {0xAB, 0xE6, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75}};
}  // namespace

CMpeg2SplitterFilter::CMpeg2SplitterFilter(IGraphBuilder* graph) : m_pVideoPin(nullptr) { SetGraph(graph); }

CMpeg2SplitterFilter::~CMpeg2SplitterFilter() {
  RemoveFromGraph();
  if (m_pVideoPin) m_pVideoPin->Release();
}

BOOL CMpeg2SplitterFilter::AddToGraph() { return AddFilterByClsid(kClsid, L"MPEG-2 Splitter"); }

IPin* CMpeg2SplitterFilter::GetVideoOutputPin() {
  if (m_pVideoPin) m_pVideoPin->Release();
  m_pVideoPin = nullptr;
  IEnumPins* pins = nullptr;
  if (!m_pFilter || FAILED(m_pFilter->EnumPins(&pins))) return nullptr;
  AM_MEDIA_TYPE video{};
  video.majortype = MEDIATYPE_Video;
  IPin* pin = nullptr;
  while (!m_pVideoPin && pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION direction = PINDIR_INPUT;
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_OUTPUT && pin->QueryAccept(&video) == S_OK)
      m_pVideoPin = pin;
    else
      pin->Release();
  }
  pins->Release();
  return m_pVideoPin;
}
