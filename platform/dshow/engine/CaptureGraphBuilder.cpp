#include <dshow/engine/CaptureGraphBuilder.h>

#include <com/objbase.h>
#include <com/ocidl.h>
#include <com/oleauto.h>
#include <dshow/engine/DeviceCatalog.h>
#include <dshow/engine/DeviceMoniker.h>
#include <dshow/engine/Pins.h>

#include <cstring>
#include <new>

namespace plat {

namespace {

constexpr int kMaxDepth = 4;

GUID categoryOf(IPin* pin) {
  GUID category = GUID_NULL;
  ComPtr<IKsPropertySet> properties;
  DWORD returned = 0;
  if (SUCCEEDED(pin->QueryInterface(IID_IKsPropertySet, properties.putVoid())))
    properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category, sizeof(category), &returned);
  return category;
}

bool mediumOf(IPin* pin, REGPINMEDIUM& medium) {
  ComPtr<IKsPropertySet> properties;
  DWORD returned = 0;
  if (FAILED(pin->QueryInterface(IID_IKsPropertySet, properties.putVoid()))) return false;
  if (FAILED(properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_MEDIUM, nullptr, 0, &medium, sizeof(medium), &returned)))
    return false;
  return medium.clsMedium != GUID_NULL;
}

bool sameMedium(const REGPINMEDIUM& a, const REGPINMEDIUM& b) {
  return a.clsMedium == b.clsMedium && a.dw1 == b.dw1 && a.dw2 == b.dw2;
}

bool offersMajorType(IPin* pin, const GUID* type) {
  if (!type) return true;
  for (const auto& [major, sub] : Pins::offeredTypes(pin))
    if (major == *type) return true;
  return false;
}

bool matches(IPin* pin, PIN_DIRECTION dir, const GUID* category, const GUID* type, BOOL unconnected) {
  if (Pins::direction(pin) != dir) return false;
  if (category && categoryOf(pin) != *category) return false;
  if (type && !offersMajorType(pin, type)) return false;
  return !(unconnected && Pins::peer(pin));
}

// The output pin of `filter` with this medium, or null.
ComPtr<IPin> wiredOutput(IBaseFilter* filter, const REGPINMEDIUM& medium) {
  for (const ComPtr<IPin>& pin : Pins::of(filter, PINDIR_OUTPUT)) {
    REGPINMEDIUM other{};
    if (mediumOf(pin.get(), other) && sameMedium(other, medium)) return pin;
  }
  return {};
}

std::vector<ComPtr<IBaseFilter>> graphFilters(IGraphBuilder* graph) {
  std::vector<ComPtr<IBaseFilter>> list;
  ComPtr<IEnumFilters> walk;
  if (FAILED(graph->EnumFilters(walk.put()))) return list;
  IBaseFilter* next = nullptr;
  while (walk->Next(1, &next, nullptr) == S_OK) list.push_back(ComPtr<IBaseFilter>::adopt(next));
  return list;
}

}  // namespace

CUnknown* CaptureGraphBuilder::CreateInstance(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow) CaptureGraphBuilder(outer, phr);
}

STDMETHODIMP CaptureGraphBuilder::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_ICaptureGraphBuilder2) return GetInterface(static_cast<ICaptureGraphBuilder2*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CaptureGraphBuilder::SetFiltergraph(IGraphBuilder* pfg) {
  CheckPointer(pfg, E_POINTER);
  if (m_graph) return E_UNEXPECTED;
  m_graph = ComPtr<IGraphBuilder>(pfg);
  return S_OK;
}

HRESULT CaptureGraphBuilder::graph(ComPtr<IGraphBuilder>& out) {
  if (!m_graph) {
    const HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, m_graph.putVoid());
    if (FAILED(hr)) return hr;
  }
  out = m_graph;
  return S_OK;
}

STDMETHODIMP CaptureGraphBuilder::GetFiltergraph(IGraphBuilder** ppfg) {
  CheckPointer(ppfg, E_POINTER);
  ComPtr<IGraphBuilder> builder;
  const HRESULT hr = graph(builder);
  *ppfg = builder.detach();
  return hr;
}

STDMETHODIMP CaptureGraphBuilder::SetOutputFileName(const GUID* pType, LPCOLESTR lpstrFile, IBaseFilter** ppf,
                                                    IFileSinkFilter** ppSink) {
  CheckPointer(pType, E_POINTER);
  CheckPointer(lpstrFile, E_POINTER);
  CheckPointer(ppf, E_POINTER);
  *ppf = nullptr;
  if (ppSink) *ppSink = nullptr;
  if (*pType != MEDIASUBTYPE_Avi) return E_INVALIDARG;
  ComPtr<IGraphBuilder> builder;
  HRESULT hr = graph(builder);
  if (FAILED(hr)) return hr;
  ComPtr<IBaseFilter> mux, writer;
  hr = CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, mux.putVoid());
  if (SUCCEEDED(hr)) hr = CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, writer.putVoid());
  if (FAILED(hr)) return hr;
  ComPtr<IFileSinkFilter> sink;
  if (FAILED(writer->QueryInterface(IID_IFileSinkFilter, sink.putVoid()))) return E_NOINTERFACE;
  hr = sink->SetFileName(lpstrFile, nullptr);
  if (SUCCEEDED(hr)) hr = builder->AddFilter(mux.get(), L"Mux");
  if (SUCCEEDED(hr)) hr = builder->AddFilter(writer.get(), L"File Writer");
  if (SUCCEEDED(hr)) hr = connectToFilter(Pins::of(mux.get(), PINDIR_OUTPUT).front().get(), writer.get());
  if (FAILED(hr)) {
    builder->RemoveFilter(mux.get());
    builder->RemoveFilter(writer.get());
    return hr;
  }
  *ppf = mux.detach();
  if (ppSink) *ppSink = sink.detach();
  return S_OK;
}

HRESULT CaptureGraphBuilder::findUpstream(IBaseFilter* filter, REFIID riid, void** ppint, int depth) {
  if (depth > kMaxDepth) return E_NOINTERFACE;
  for (const ComPtr<IPin>& in : Pins::of(filter, PINDIR_INPUT)) {
    ComPtr<IPin> out = Pins::peer(in.get());
    if (!out) continue;
    if (SUCCEEDED(out->QueryInterface(riid, ppint))) return S_OK;
    ComPtr<IBaseFilter> up = Pins::filterOf(out.get());
    if (up && SUCCEEDED(up->QueryInterface(riid, ppint))) return S_OK;
    if (up && SUCCEEDED(findUpstream(up.get(), riid, ppint, depth + 1))) return S_OK;
  }
  return E_NOINTERFACE;
}

HRESULT CaptureGraphBuilder::findDownstream(IBaseFilter* filter, REFIID riid, void** ppint, int depth) {
  if (depth > kMaxDepth) return E_NOINTERFACE;
  for (const ComPtr<IPin>& out : Pins::of(filter, PINDIR_OUTPUT)) {
    ComPtr<IPin> in = Pins::peer(out.get());
    if (!in) continue;
    if (SUCCEEDED(in->QueryInterface(riid, ppint))) return S_OK;
    ComPtr<IBaseFilter> down = Pins::filterOf(in.get());
    if (down && SUCCEEDED(down->QueryInterface(riid, ppint))) return S_OK;
    if (down && SUCCEEDED(findDownstream(down.get(), riid, ppint, depth + 1))) return S_OK;
  }
  return E_NOINTERFACE;
}

STDMETHODIMP CaptureGraphBuilder::FindInterface(const GUID* pCategory, const GUID* pType, IBaseFilter* pf, REFIID riid,
                                                void** ppint) {
  CheckPointer(pf, E_POINTER);
  CheckPointer(ppint, E_POINTER);
  *ppint = nullptr;
  if (pCategory && *pCategory == LOOK_UPSTREAM_ONLY) return findUpstream(pf, riid, ppint, 0);
  if (pCategory && *pCategory == LOOK_DOWNSTREAM_ONLY) return findDownstream(pf, riid, ppint, 0);
  if (pCategory) {
    // The pin of that category (and type) must exist; then the pin, its filter, upstream.
    ComPtr<IPin> pin;
    for (const ComPtr<IPin>& candidate : Pins::of(pf))
      if (matches(candidate.get(), PINDIR_OUTPUT, pCategory, pType, FALSE) ||
          matches(candidate.get(), PINDIR_INPUT, pCategory, pType, FALSE)) {
        pin = candidate;
        break;
      }
    if (!pin) return E_FAIL;
    if (SUCCEEDED(pin->QueryInterface(riid, ppint))) return S_OK;
  }
  if (SUCCEEDED(pf->QueryInterface(riid, ppint))) return S_OK;
  if (!pCategory)
    for (const ComPtr<IPin>& pin : Pins::of(pf))
      if (SUCCEEDED(pin->QueryInterface(riid, ppint))) return S_OK;
  if (SUCCEEDED(findUpstream(pf, riid, ppint, 0))) return S_OK;
  return pCategory ? E_NOINTERFACE : findDownstream(pf, riid, ppint, 0);
}

void CaptureGraphBuilder::addWiredDevices(IBaseFilter* filter, int depth) {
  if (depth > kMaxDepth) return;
  for (const ComPtr<IPin>& in : Pins::of(filter, PINDIR_INPUT)) {
    REGPINMEDIUM medium{};
    if (Pins::peer(in.get()) || !mediumOf(in.get(), medium)) continue;
    // A device already in the graph, then the crossbars and tuners of the machine.
    ComPtr<IBaseFilter> device;
    ComPtr<IPin> out;
    for (const ComPtr<IBaseFilter>& member : graphFilters(m_graph.get())) {
      if ((out = wiredOutput(member.get(), medium)) && !Pins::peer(out.get())) {
        device = member;
        break;
      }
    }
    for (const GUID* category : {&AM_KSCATEGORY_CROSSBAR, &AM_KSCATEGORY_TVTUNER}) {
      if (device) break;
      for (const DeviceCatalog::Device& candidate : DeviceCatalog::devices(*category)) {
        ComPtr<IBaseFilter> created;
        if (FAILED(CoCreateInstance(candidate.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, created.putVoid())))
          continue;
        if (!(out = wiredOutput(created.get(), medium))) continue;
        if (FAILED(m_graph->AddFilter(created.get(), candidate.friendlyName.c_str()))) continue;
        device = created;
        break;
      }
    }
    if (!device || !out || FAILED(m_graph->ConnectDirect(out.get(), in.get(), nullptr))) continue;
    addWiredDevices(device.get(), depth + 1);
  }
}

ComPtr<IPin> CaptureGraphBuilder::sourcePin(IUnknown* source, const GUID* category, const GUID* type) {
  ComPtr<IPin> pin;
  if (SUCCEEDED(source->QueryInterface(IID_IPin, pin.putVoid()))) return pin;
  ComPtr<IBaseFilter> filter;
  if (FAILED(source->QueryInterface(IID_IBaseFilter, filter.putVoid()))) return {};
  if (SUCCEEDED(FindPin(filter.get(), PINDIR_OUTPUT, category, type, TRUE, 0, pin.put()))) return pin;
  if (!category || *category != PIN_CATEGORY_PREVIEW) return {};
  // No preview pin: a Smart Tee on the capture pin gives one.
  ComPtr<IPin> capture;
  if (FAILED(FindPin(filter.get(), PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE, type, TRUE, 0, capture.put()))) return {};
  ComPtr<IBaseFilter> tee;
  if (FAILED(CoCreateInstance(CLSID_SmartTee, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, tee.putVoid())) ||
      FAILED(m_graph->AddFilter(tee.get(), L"Smart Tee")))
    return {};
  if (FAILED(connectToFilter(capture.get(), tee.get()))) {
    m_graph->RemoveFilter(tee.get());
    return {};
  }
  ComPtr<IPin> preview;
  if (FAILED(tee->FindPin(L"Preview", preview.put()))) return {};
  return preview;
}

HRESULT CaptureGraphBuilder::connectToFilter(IPin* out, IBaseFilter* filter) {
  HRESULT hr = VFW_E_CANNOT_CONNECT;
  for (const ComPtr<IPin>& in : Pins::of(filter, PINDIR_INPUT)) {
    if (Pins::peer(in.get())) continue;
    hr = m_graph->Connect(out, in.get());
    if (SUCCEEDED(hr)) return S_OK;
  }
  return hr;
}

STDMETHODIMP CaptureGraphBuilder::RenderStream(const GUID* pCategory, const GUID* pType, IUnknown* pSource,
                                               IBaseFilter* pfCompressor, IBaseFilter* pfRenderer) {
  CheckPointer(pSource, E_POINTER);
  ComPtr<IGraphBuilder> builder;
  HRESULT hr = graph(builder);
  if (FAILED(hr)) return hr;
  ComPtr<IBaseFilter> sourceFilter;
  if (SUCCEEDED(pSource->QueryInterface(IID_IBaseFilter, sourceFilter.putVoid()))) addWiredDevices(sourceFilter.get(), 0);
  ComPtr<IPin> out = sourcePin(pSource, pCategory, pType);
  if (!out) return E_FAIL;
  if (Pins::peer(out.get())) return VFW_E_ALREADY_CONNECTED;
  if (pfCompressor) {
    hr = connectToFilter(out.get(), pfCompressor);
    if (FAILED(hr)) return hr;
    const auto outputs = Pins::of(pfCompressor, PINDIR_OUTPUT);
    if (outputs.empty()) return VFW_E_CANNOT_CONNECT;
    out = outputs.front();
  }
  if (pfRenderer) return connectToFilter(out.get(), pfRenderer);
  return builder->Render(out.get());
}

STDMETHODIMP CaptureGraphBuilder::ControlStream(const GUID*, const GUID*, IBaseFilter*, REFERENCE_TIME*,
                                                REFERENCE_TIME*, WORD, WORD) {
  return E_NOTIMPL;
}

STDMETHODIMP CaptureGraphBuilder::AllocCapFile(LPCOLESTR, DWORDLONG) { return E_NOTIMPL; }

STDMETHODIMP CaptureGraphBuilder::CopyCaptureFile(LPOLESTR, LPOLESTR, int, IAMCopyCaptureFileProgress*) {
  return E_NOTIMPL;
}

STDMETHODIMP CaptureGraphBuilder::FindPin(IUnknown* pSource, PIN_DIRECTION pindir, const GUID* pCategory,
                                          const GUID* pType, BOOL fUnconnected, int num, IPin** ppPin) {
  CheckPointer(pSource, E_POINTER);
  CheckPointer(ppPin, E_POINTER);
  *ppPin = nullptr;
  ComPtr<IBaseFilter> filter;
  ComPtr<IPin> given;
  if (FAILED(pSource->QueryInterface(IID_IBaseFilter, filter.putVoid()))) {
    if (FAILED(pSource->QueryInterface(IID_IPin, given.putVoid()))) return E_INVALIDARG;
    // A pin: it is its own answer when it fits.
    if (num != 0 || !matches(given.get(), pindir, pCategory, pType, fUnconnected)) return E_FAIL;
    *ppPin = given.detach();
    return S_OK;
  }
  int seen = 0;
  for (ComPtr<IPin>& pin : Pins::of(filter.get())) {
    if (!matches(pin.get(), pindir, pCategory, pType, fUnconnected)) continue;
    if (seen++ == num) {
      *ppPin = pin.detach();
      return S_OK;
    }
  }
  return E_FAIL;
}

}  // namespace plat
