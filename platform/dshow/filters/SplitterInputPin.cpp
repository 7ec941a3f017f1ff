#include <dshow/filters/SplitterInputPin.h>

#include <com/ComPtr.h>
#include <dshow/asyncrdr.h>
#include <dshow/filters/MediaSplitter.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>

namespace plat {

SplitterInputPin::SplitterInputPin(MediaSplitter* splitter, CCritSec* lock)
    : CBasePin("Splitter input pin", splitter, lock, nullptr, L"Input", PINDIR_INPUT), m_splitter(splitter) {}

HRESULT SplitterInputPin::CheckMediaType(const CMediaType* pmt) {
  return *pmt->Type() == MEDIATYPE_Stream && m_splitter->reads(*pmt->Subtype()) ? S_OK : S_FALSE;
}

HRESULT SplitterInputPin::CheckConnect(IPin* pPin) {
  const HRESULT hr = CBasePin::CheckConnect(pPin);
  if (FAILED(hr)) return hr;
  ComPtr<IAsyncReader> reader;
  return SUCCEEDED(pPin->QueryInterface(IID_IAsyncReader, reader.putVoid())) ? S_OK : VFW_E_NO_TRANSPORT;
}

HRESULT SplitterInputPin::CompleteConnect(IPin* pReceivePin) {
  ComPtr<IAsyncReader> reader;
  const HRESULT hr = pReceivePin->QueryInterface(IID_IAsyncReader, reader.putVoid());
  return FAILED(hr) ? hr : m_splitter->openStreams(reader.get());
}

HRESULT SplitterInputPin::BreakConnect() {
  m_splitter->closeStreams();
  return CBasePin::BreakConnect();
}

}  // namespace plat
