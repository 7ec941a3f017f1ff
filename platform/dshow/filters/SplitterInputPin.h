// The parser's input: a byte stream of one of the subtypes the parser reads, pulled
// through the file source's IAsyncReader. Connecting opens the container and makes the
// output pins; disconnecting removes them.
#pragma once

#include <dshow/baseclasses/CBasePin.h>

namespace plat {

class MediaSplitter;

class SplitterInputPin : public CBasePin {
 public:
  SplitterInputPin(MediaSplitter* splitter, CCritSec* lock);

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT CheckConnect(IPin* pPin) override;
  HRESULT CompleteConnect(IPin* pReceivePin) override;
  HRESULT BreakConnect() override;
  STDMETHODIMP BeginFlush() override { return S_OK; }
  STDMETHODIMP EndFlush() override { return S_OK; }

 private:
  MediaSplitter* m_splitter;
};

}  // namespace plat
