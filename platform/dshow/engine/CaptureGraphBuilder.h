// The capture graph builder (ICaptureGraphBuilder2) over a filter graph:
//
// - RenderStream connects a device's pin of a category (or a given pin) to a renderer or
//   multiplexer, through a compressor when given, or renders it when neither is given.
//   For a device it first brings the hardware wired to its analogue inputs into the
//   graph: crossbars and tuners whose pin mediums match, each connected upstream in
//   turn. A preview asked of a device without a preview pin comes from a Smart Tee on
//   its capture pin.
// - FindInterface looks on the pin of a category and type, its filter, then upstream
//   (or only up- or downstream with LOOK_UPSTREAM_ONLY / LOOK_DOWNSTREAM_ONLY).
// - FindPin finds the n-th pin by direction, category, type and connection.
// - SetOutputFileName puts an AVI Mux and a File Writer for the file into the graph.
#pragma once

#include <com/ComPtr.h>
#include <dshow/axextend.h>
#include <dshow/baseclasses/CUnknown.h>

namespace plat {

class CaptureGraphBuilder : public CUnknown, public ICaptureGraphBuilder2 {
 public:
  CaptureGraphBuilder(LPUNKNOWN outer, HRESULT* phr) : CUnknown("Capture graph builder", outer, phr) {}
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  STDMETHODIMP SetFiltergraph(IGraphBuilder* pfg) override;
  STDMETHODIMP GetFiltergraph(IGraphBuilder** ppfg) override;
  STDMETHODIMP SetOutputFileName(const GUID* pType, LPCOLESTR lpstrFile, IBaseFilter** ppf, IFileSinkFilter** ppSink) override;
  STDMETHODIMP FindInterface(const GUID* pCategory, const GUID* pType, IBaseFilter* pf, REFIID riid, void** ppint) override;
  STDMETHODIMP RenderStream(const GUID* pCategory, const GUID* pType, IUnknown* pSource, IBaseFilter* pfCompressor,
                            IBaseFilter* pfRenderer) override;
  STDMETHODIMP ControlStream(const GUID* pCategory, const GUID* pType, IBaseFilter* pFilter, REFERENCE_TIME* pstart,
                             REFERENCE_TIME* pstop, WORD wStartCookie, WORD wStopCookie) override;
  STDMETHODIMP AllocCapFile(LPCOLESTR lpstr, DWORDLONG dwlSize) override;
  STDMETHODIMP CopyCaptureFile(LPOLESTR lpwstrOld, LPOLESTR lpwstrNew, int fAllowEscAbort,
                               IAMCopyCaptureFileProgress* pCallback) override;
  STDMETHODIMP FindPin(IUnknown* pSource, PIN_DIRECTION pindir, const GUID* pCategory, const GUID* pType,
                       BOOL fUnconnected, int num, IPin** ppPin) override;

 private:
  // The graph, made on first need when none was set.
  HRESULT graph(ComPtr<IGraphBuilder>& out);
  // Adds and connects the devices wired to the filter's unconnected analogue inputs.
  void addWiredDevices(IBaseFilter* filter, int depth);
  ComPtr<IPin> sourcePin(IUnknown* source, const GUID* category, const GUID* type);
  HRESULT connectToFilter(IPin* out, IBaseFilter* filter);
  HRESULT findUpstream(IBaseFilter* filter, REFIID riid, void** ppint, int depth);
  HRESULT findDownstream(IBaseFilter* filter, REFIID riid, void** ppint, int depth);

  ComPtr<IGraphBuilder> m_graph;
};

}  // namespace plat
