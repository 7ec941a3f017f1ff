#include "graphs/CCrossbarRouter.h"

#include <com/ComPtr.h>

#include <cstring>
#include <new>

namespace {

using plat::ComPtr;

struct ConnectorName {
  long type;
  LPCSTR name;
};

const ConnectorName kConnectorNames[] = {
    {PhysConn_Video_Tuner, "Video Tuner"},
    {PhysConn_Video_Composite, "Video Composite"},
    {PhysConn_Video_SVideo, "Video SVideo"},
    {PhysConn_Video_RGB, "Video RGB"},
    {PhysConn_Video_YRYBY, "Video YRYBY"},
    {PhysConn_Video_SerialDigital, "Video SerialDigital"},
    {PhysConn_Video_ParallelDigital, "Video ParallelDigital"},
    {PhysConn_Video_SCSI, "Video SCSI"},
    {PhysConn_Video_AUX, "Video AUX"},
    {PhysConn_Video_1394, "Video 1394"},
    {PhysConn_Video_USB, "Video USB"},
    {PhysConn_Video_VideoDecoder, "Video Decoder"},
    {PhysConn_Video_VideoEncoder, "Video Encoder"},
    {PhysConn_Audio_Tuner, "Audio Tuner"},
    {PhysConn_Audio_Line, "Audio Line"},
    {PhysConn_Audio_Mic, "Audio Mic"},
    {PhysConn_Audio_AESDigital, "Audio AESDigital"},
    {PhysConn_Audio_SPDIFDigital, "Audio SPDIFDigital"},
    {PhysConn_Audio_SCSI, "Audio SCSI"},
    {PhysConn_Audio_AUX, "Audio AUX"},
    {PhysConn_Audio_1394, "Audio 1394"},
    {PhysConn_Audio_USB, "Audio USB"},
    {PhysConn_Audio_AudioDecoder, "Audio Decoder"},
};

bool IsAudioType(long type) { return type >= PhysConn_Audio_Tuner; }

// The crossbar's pins in enumeration order, each passed to `visit` with its position
// until it returns true. S_OK when it did, E_FAIL otherwise.
template <class Visit>
HRESULT WalkPins(IAMCrossbar* xbar, Visit visit) {
  ComPtr<IBaseFilter> filter;
  ComPtr<IEnumPins> walk;
  if (!xbar || FAILED(xbar->QueryInterface(IID_IBaseFilter, filter.putVoid())) ||
      FAILED(filter->EnumPins(walk.put())) || !walk)
    return E_FAIL;
  IPin* pin = nullptr;
  for (long position = 0; walk->Next(1, &pin, nullptr) == S_OK; ++position) {
    ComPtr<IPin> held = ComPtr<IPin>::adopt(pin);
    if (visit(held.get(), position)) return S_OK;
  }
  return E_FAIL;
}

}  // namespace

LPCSTR ConnectorTypeName(long type) {
  for (const ConnectorName& entry : kConnectorNames) {
    if (entry.type == type) return entry.name;
  }
  return "Unknown";
}

CCrossbarRouter::CCrossbarRouter(IPin* startingInput, HRESULT* hr) : m_pStartingPin(startingInput) {
  m_pRoutingList = new (std::nothrow) CPtrList(5);
  const HRESULT result = m_pRoutingList ? BuildRoutingList(m_pStartingPin, &m_routingRoot, 0) : E_OUTOFMEMORY;
  if (hr) *hr = result;
}

CCrossbarRouter::~CCrossbarRouter() { DestroyRoutingList(); }

HRESULT CCrossbarRouter::BuildRoutingList(IPin* input, Routing* routing, long depth) {
  if (!input || !routing) return E_POINTER;
  // Past the device, a pin without a crossbar upstream is a physical input: the route is
  // complete. Unconnected sockets (Composite, S-Video) count as such.
  const HRESULT noCrossbar = depth > 0 ? S_FALSE : E_FAIL;
  ComPtr<IPin> peer;
  if (FAILED(input->ConnectedTo(peer.put())) || !peer) return noCrossbar;
  PIN_INFO info{};
  if (FAILED(peer->QueryPinInfo(&info)) || !info.pFilter) return noCrossbar;
  ComPtr<IBaseFilter> upstream = ComPtr<IBaseFilter>::adopt(info.pFilter);
  ComPtr<IAMCrossbar> xbar;
  if (FAILED(upstream->QueryInterface(IID_IAMCrossbar, xbar.putVoid()))) return noCrossbar;

  long outputs = 0;
  long inputs = 0;
  HRESULT hr = xbar->get_PinCounts(&outputs, &inputs);
  if (FAILED(hr)) return hr;
  long output = 0;
  hr = GetCrossbarIndex(xbar.get(), FALSE, peer.get(), &output);
  if (FAILED(hr)) return hr;
  long outputRelated = -1;
  long outputType = 0;
  hr = xbar->get_CrossbarPinInfo(FALSE, output, &outputRelated, &outputType);
  if (FAILED(hr)) return hr;

  for (long in = 0; in < inputs; ++in) {
    long inputRelated = -1;
    long inputType = 0;
    if (FAILED(xbar->get_CrossbarPinInfo(TRUE, in, &inputRelated, &inputType)) || IsAudioType(inputType)) continue;
    if (xbar->CanRoute(output, in) != S_OK) continue;
    IPin* pin = nullptr;
    if (FAILED(GetCrossbarPin(xbar.get(), TRUE, in, &pin))) continue;
    Routing step{nullptr, routing, in, output, inputRelated, outputRelated, xbar.get(), inputType, outputType, depth};
    if (BuildRoutingList(pin, &step, depth + 1) == S_FALSE) AppendRouteCopy(&step);
  }
  return S_OK;
}

HRESULT CCrossbarRouter::AppendRouteCopy(const Routing* current) {
  const long count = current->Depth + 1;
  Routing* copies = new (std::nothrow) Routing[count];
  if (!copies) return E_OUTOFMEMORY;
  const Routing* from = current;
  for (long i = 0; i < count; ++i, from = from->pRight) {
    copies[i] = *from;
    copies[i].pXbar->AddRef();
    copies[i].pLeft = i > 0 ? &copies[i - 1] : nullptr;
    copies[i].pRight = i + 1 < count ? &copies[i + 1] : nullptr;
  }
  m_pRoutingList->AddTail(copies);
  return S_OK;
}

HRESULT CCrossbarRouter::DestroyRoutingList() {
  if (!m_pRoutingList) return E_POINTER;
  while (!m_pRoutingList->IsEmpty()) {
    Routing* first = static_cast<Routing*>(m_pRoutingList->RemoveHead());
    for (Routing* step = first; step; step = step->pRight) step->pXbar->Release();
    delete[] first;
  }
  delete m_pRoutingList;
  m_pRoutingList = nullptr;
  return S_OK;
}

CCrossbarRouter::Routing* CCrossbarRouter::Entry(long index) {
  if (!m_pRoutingList || index < 0) return nullptr;
  POSITION position = m_pRoutingList->FindIndex(static_cast<int>(index));
  return position ? static_cast<Routing*>(m_pRoutingList->GetAt(position)) : nullptr;
}

HRESULT CCrossbarRouter::GetInputCount(long* count) {
  if (!count || !m_pRoutingList) return E_POINTER;
  *count = m_pRoutingList->GetCount();
  return S_OK;
}

HRESULT CCrossbarRouter::GetInputType(long index, long* type) {
  if (!type) return E_POINTER;
  const Routing* first = Entry(index);
  if (!first) return E_FAIL;
  *type = first->InputPhysicalType;
  return S_OK;
}

HRESULT CCrossbarRouter::GetInputName(long index, char* name, long size) {
  if (!name || size <= 0) return E_POINTER;
  long type = 0;
  const HRESULT hr = GetInputType(index, &type);
  if (FAILED(hr)) return hr;
  std::strncpy(name, ConnectorTypeName(type), static_cast<size_t>(size));
  name[size - 1] = '\0';
  return S_OK;
}

HRESULT CCrossbarRouter::SelectInput(long index) {
  if (!m_pRoutingList) return E_POINTER;
  Routing* first = Entry(index);
  if (!first) return E_FAIL;
  HRESULT hr = S_OK;
  for (const Routing* step = first; step; step = step->pRight) {
    hr = step->pXbar->Route(step->VideoOutputIndex, step->VideoInputIndex);
    if (step->AudioOutputIndex != -1 && step->AudioInputIndex != -1)
      hr = step->pXbar->Route(step->AudioOutputIndex, step->AudioInputIndex);
  }
  m_currentRoutingIndex = index;
  return hr;
}

HRESULT CCrossbarRouter::GetCrossbarPin(IAMCrossbar* xbar, BOOL input, long index, IPin** pin) {
  long outputs = 0;
  long inputs = 0;
  if (!pin || !xbar || FAILED(xbar->get_PinCounts(&outputs, &inputs))) return E_FAIL;
  *pin = nullptr;
  const long wanted = input ? index : inputs + index;
  // The filter holds its pins, so the caller needs no reference of its own.
  return WalkPins(xbar, [&](IPin* candidate, long position) {
    if (position != wanted) return false;
    *pin = candidate;
    return true;
  });
}

HRESULT CCrossbarRouter::GetCrossbarIndex(IAMCrossbar* xbar, BOOL input, IPin* pin, long* index) {
  long outputs = 0;
  long inputs = 0;
  if (!pin || !index || !xbar || FAILED(xbar->get_PinCounts(&outputs, &inputs))) return E_FAIL;
  return WalkPins(xbar, [&](IPin* candidate, long position) {
    if (candidate != pin || (position < inputs) != static_cast<bool>(input)) return false;
    *index = input ? position : position - inputs;
    return true;
  });
}
