#include "CMovieCtl.h"

#include "CKinovarModule.h"
#include "CVideoStandardTable.h"

#include <com/objbase.h>
#include <com/olectl.h>
#include <com/oleauto.h>
#include <dshow/evcode.h>
#include <win32/user.h>

#include <algorithm>
#include <new>

namespace {

constexpr long kModeTv = 1;
constexpr long kManualFlags = 2;
constexpr int kVolumeSteps = 50;
constexpr long kNameSize = 32;

}  // namespace

CMovieCtl::CMovieCtl() : m_events(this, DIID__IMovieCtlEvents) { CKinovarModule::Server().objectCreated(); }

CMovieCtl::~CMovieCtl() {
  m_events.clear();
  InPlaceDeactivate();
  m_remote.reset();
  m_graph.reset();
  m_mixer.reset();
  CKinovarModule::Server().objectDestroyed();
}

HRESULT CMovieCtl::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto* control = new (std::nothrow) CMovieCtl();
  if (!control) return E_OUTOFMEMORY;
  const HRESULT hr = control->QueryInterface(iid, out);
  control->Release();
  return hr;
}

STDMETHODIMP CMovieCtl::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IMovieCtl)
    *ppv = static_cast<IMovieCtl*>(this);
  else if (riid == IID_IOleObject)
    *ppv = static_cast<IOleObject*>(this);
  else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
    *ppv = static_cast<IOleInPlaceObject*>(this);
  else if (riid == IID_IConnectionPointContainer)
    *ppv = static_cast<IConnectionPointContainer*>(this);
  else if (riid == IID_IProvideClassInfo)
    *ppv = static_cast<IProvideClassInfo*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CMovieCtl::Release() {
  const ULONG left = m_refs.release();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CMovieCtl::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
  if (ppEnum) *ppEnum = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CMovieCtl::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
  if (!ppCP) return E_POINTER;
  *ppCP = nullptr;
  if (riid != DIID__IMovieCtlEvents) return CONNECT_E_NOCONNECTION;
  *ppCP = &m_events;
  m_events.AddRef();
  return S_OK;
}

STDMETHODIMP CMovieCtl::GetClassInfo(ITypeInfo** ppTI) {
  return plat::TypeLibraries::typeInfo(typeLibrary(), CLSID_MovieCtl, ppTI);
}

STDMETHODIMP CMovieCtl::GetUserClassID(CLSID* pClsid) {
  if (!pClsid) return E_POINTER;
  *pClsid = CLSID_MovieCtl;
  return S_OK;
}

// ---- lifecycle and transport

STDMETHODIMP CMovieCtl::Init() {
  if (m_graph) return S_FALSE;  // once per control: a second graph would hold the card twice
  if (!window()) return E_UNEXPECTED;
  auto graph = std::make_unique<CCaptureGraphObject>();
  const HRESULT hr = graph->BuildCaptureGraph(window(), window(), kGraphNotify);
  if (FAILED(hr)) return hr;
  m_graph = std::move(graph);
  OpenMixer();
  SetTimer(window(), kRemoteTimer, kRemotePeriod, nullptr);
  return S_OK;
}

void CMovieCtl::OpenMixer() {
  m_mixer = std::make_unique<CMasterVolumeMixer>();
  if (!m_mixer->OpenMasterVolumeMixer()) return;
  m_mixer->LineOn();
  m_volumeMetric = (m_mixer->GetMaximum() - m_mixer->GetMinimum()) / kVolumeSteps;
}

STDMETHODIMP CMovieCtl::get_CanCapture(long* pValue) {
  if (!pValue) return E_INVALIDARG;
  *pValue = m_graph ? TRUE : FALSE;
  return S_OK;
}

STDMETHODIMP CMovieCtl::get_CanTune(long* pValue) {
  if (!pValue) return E_INVALIDARG;
  *pValue = Tuner() ? TRUE : FALSE;
  return S_OK;
}

STDMETHODIMP CMovieCtl::get_CanControlVolume(long* pValue) {
  if (!pValue) return E_INVALIDARG;
  *pValue = m_mixer ? TRUE : FALSE;
  return S_OK;
}

STDMETHODIMP CMovieCtl::Play() {
  if (!m_graph) return E_FAIL;
  m_graph->ShowVideoWindow(true);
  return m_graph->Run();
}

STDMETHODIMP CMovieCtl::Pause() { return m_graph ? m_graph->Pause() : E_FAIL; }

STDMETHODIMP CMovieCtl::Stop() {
  if (!m_graph) return E_FAIL;
  const HRESULT hr = m_graph->Stop();
  if (SUCCEEDED(hr)) m_graph->ShowVideoWindow(false);
  return hr;
}

// ---- standards and tuner settings

STDMETHODIMP CMovieCtl::get_AnalogVideoFormat(BSTR* pFormat) {
  if (!pFormat) return E_INVALIDARG;
  *pFormat = nullptr;
  if (Designing()) return S_FALSE;
  if (!Tuner()) return E_FAIL;
  long standard = 0;
  char name[kNameSize];
  if (FAILED(Tuner()->Core().get_TVFormat(&standard)) ||
      FAILED(CVideoStandardTable::NameFromStandard(standard, name, sizeof name)))
    return E_FAIL;
  std::wstring wide(name, name + std::strlen(name));
  *pFormat = SysAllocString(wide.c_str());
  return *pFormat ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CMovieCtl::put_AnalogVideoFormat(BSTR format) {
  if (Designing()) return S_FALSE;
  if (!m_graph) return E_FAIL;
  std::string name;
  for (const OLECHAR* p = format; p && *p; ++p) name.push_back(static_cast<char>(*p));
  long standard = 0, available = 0;
  if (FAILED(CVideoStandardTable::StandardFromName(name.c_str(), &standard))) return E_FAIL;
  if (FAILED(m_graph->GetAvailableStandards(&available)) || (available & standard) == 0) return E_FAIL;
  const HRESULT hr = m_graph->SetStandard(standard);
  // The tuner takes the standard too, so reading it back gives what was put.
  if (SUCCEEDED(hr) && Tuner()) Tuner()->Core().put_TVFormat(standard);
  return hr;
}

STDMETHODIMP CMovieCtl::get_TunerMode(long* pMode) {
  if (!pMode) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  return Tuner() ? Tuner()->Core().get_Mode(pMode) : E_FAIL;
}

STDMETHODIMP CMovieCtl::put_TunerMode(long mode) {
  if (Designing()) return S_FALSE;
  return Tuner() ? Tuner()->Core().put_Mode(mode) : E_FAIL;
}

STDMETHODIMP CMovieCtl::get_InputType(long* pType) {
  if (!pType) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  return Tuner() ? Tuner()->Core().get_InputType(0, pType) : E_FAIL;
}

STDMETHODIMP CMovieCtl::put_InputType(long type) {
  if (Designing()) return S_FALSE;
  if (!Tuner()) return E_FAIL;
  long country = 0;
  if (FAILED(Tuner()->put_InputType(0, type)) || FAILED(Tuner()->get_CountryCode(&country)) ||
      FAILED(Tuner()->put_TuningSpace(country)))
    return S_FALSE;
  return S_OK;
}

STDMETHODIMP CMovieCtl::get_CountryCode(long* pCode) {
  if (!pCode) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  return Tuner() ? Tuner()->get_CountryCode(pCode) : E_FAIL;
}

STDMETHODIMP CMovieCtl::put_CountryCode(long code) {
  if (Designing()) return S_FALSE;
  return Tuner() ? Tuner()->put_CountryCode(code) : E_FAIL;
}

STDMETHODIMP CMovieCtl::get_TuningSpace(long* pSpace) {
  if (!pSpace) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  return Tuner() ? Tuner()->get_TuningSpace(pSpace) : E_FAIL;
}

STDMETHODIMP CMovieCtl::put_TuningSpace(long space) {
  if (Designing()) return S_FALSE;
  return Tuner() ? Tuner()->put_TuningSpace(space) : E_FAIL;
}

STDMETHODIMP CMovieCtl::get_MinChannel(long* pChannel) {
  if (!pChannel) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  if (!Tuner()) return E_FAIL;
  long maximum = 0;
  return Tuner()->ChannelMinMax(pChannel, &maximum);
}

STDMETHODIMP CMovieCtl::get_MaxChannel(long* pChannel) {
  if (!pChannel) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  if (!Tuner()) return E_FAIL;
  long minimum = 0;
  return Tuner()->ChannelMinMax(&minimum, pChannel);
}

STDMETHODIMP CMovieCtl::put_MaxChannel(long channel) {
  if (Designing()) return S_FALSE;
  if (!Tuner()) return E_FAIL;
  return SUCCEEDED(Tuner()->OverrideChannel(channel, 0, 0)) ? S_OK : S_FALSE;
}

// ---- channels

STDMETHODIMP CMovieCtl::get_Channel(long* pChannel) {
  if (!pChannel) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  if (!Tuner()) return E_FAIL;
  long video = 0, audio = 0;
  return Tuner()->get_Channel(pChannel, &video, &audio);
}

STDMETHODIMP CMovieCtl::put_Channel(long channel) {
  if (Designing()) return S_FALSE;
  if (!Tuner()) return E_FAIL;
  long minimum = 0, maximum = 0;
  HRESULT hr = Tuner()->ChannelMinMax(&minimum, &maximum);
  if (FAILED(hr)) return hr;
  if (channel < minimum || channel > maximum) return E_INVALIDARG;
  long current = 0, video = 0, audio = 0;
  Tuner()->get_Channel(&current, &video, &audio);
  m_events.fire(DISPID_OnChannelChanging, {current, channel});
  hr = Tuner()->put_Channel(channel, -1, -1);
  if (SUCCEEDED(hr)) {
    m_previousChannel = current;
    m_events.fire(DISPID_OnChannelChanged, {channel});
  }
  return hr;
}

STDMETHODIMP CMovieCtl::get_VideoFrequency(long* pFrequency) {
  if (!pFrequency) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  return Tuner() ? Tuner()->Core().get_VideoFrequency(pFrequency) : E_FAIL;
}

STDMETHODIMP CMovieCtl::put_VideoFrequency(long frequency) {
  if (Designing()) return S_FALSE;
  return Tuner() ? Tuner()->Core().put_VideoFrequency(frequency) : E_FAIL;
}

STDMETHODIMP CMovieCtl::SignalPresent(long* plSignalPresent) {
  if (!plSignalPresent) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  return Tuner() ? Tuner()->Core().SignalPresent(plSignalPresent) : E_FAIL;
}

STDMETHODIMP CMovieCtl::SetPrevChannel() {
  if (!Tuner()) return E_FAIL;
  long minimum = 0, maximum = 0;
  if (FAILED(Tuner()->ChannelMinMax(&minimum, &maximum)) || m_previousChannel < minimum ||
      m_previousChannel > maximum)
    return S_FALSE;
  long current = 0, video = 0, audio = 0;
  Tuner()->get_Channel(&current, &video, &audio);
  const HRESULT hr = put_Channel(m_previousChannel);
  m_previousChannel = current;
  return FAILED(hr) ? hr : S_OK;
}

STDMETHODIMP CMovieCtl::AutoTune(long lChannel, long* plFoundSignal) {
  if (!plFoundSignal) return E_INVALIDARG;
  return Tuner() ? Tuner()->AutoTune(lChannel, plFoundSignal) : E_FAIL;
}

STDMETHODIMP CMovieCtl::StoreAutoTune() { return Tuner() ? Tuner()->StoreAutoTune() : E_FAIL; }

STDMETHODIMP CMovieCtl::ScanAndStoreTune() {
  if (!Tuner()) return E_FAIL;
  long minimum = 0, maximum = 0, current = 0, video = 0, audio = 0;
  HRESULT hr = Tuner()->ChannelMinMax(&minimum, &maximum);
  if (FAILED(hr)) return hr;
  if (FAILED(hr = Tuner()->get_Channel(&current, &video, &audio))) return hr;
  for (long channel = minimum; channel <= maximum; ++channel) {
    long found = 0;
    if (SUCCEEDED(Tuner()->put_Channel(channel, -1, -1))) Tuner()->AutoTune(channel, &found);
  }
  Tuner()->StoreAutoTune();
  Tuner()->put_Channel(current, video, audio);
  return S_OK;
}

STDMETHODIMP CMovieCtl::OverrideChannel(long lChannel, long dwNewFrequency, long dwFlags) {
  if (!Tuner()) return E_FAIL;
  Tuner()->StoreAutoTune();
  return SUCCEEDED(Tuner()->OverrideChannel(lChannel, dwNewFrequency, dwFlags)) ? S_OK : S_FALSE;
}

STDMETHODIMP CMovieCtl::UnoverrideChannel(long lChannel) {
  if (!Tuner()) return E_FAIL;
  return Tuner()->UnoverrideChannel(lChannel) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP CMovieCtl::get_IsOverrideChannel(long* pOverridden) {
  if (!pOverridden) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  if (!Tuner()) return E_FAIL;
  long channel = 0, video = 0, audio = 0;
  Tuner()->get_Channel(&channel, &video, &audio);
  *pOverridden = Tuner()->ReadOverride(channel, nullptr) ? 1 : 0;
  return S_OK;
}

// ---- picture

STDMETHODIMP CMovieCtl::GetVideoRange(long lProperty, long* lpMin, long* lpMax, long* lpSteppingDelta, long* lpDefault,
                                      long* lpCapsFlags) {
  if (!m_graph) return E_FAIL;
  return m_graph->GetVideoRange(lProperty, lpMin, lpMax, lpSteppingDelta, lpDefault, lpCapsFlags);
}

STDMETHODIMP CMovieCtl::GetVideoProperty(long lProperty, long* lpValue, long* lpFlags) {
  if (!m_graph) return E_FAIL;
  return m_graph->GetVideoProperty(lProperty, lpValue, lpFlags);
}

STDMETHODIMP CMovieCtl::SetVideoProperty(long lProperty, long lValue, long lFlags) {
  if (!m_graph) return E_FAIL;
  return m_graph->SetVideoProperty(lProperty, lValue, lFlags);
}

HRESULT CMovieCtl::GetPictureValue(long property, long* value) {
  if (!value) return E_INVALIDARG;
  return GetVideoProperty(property, value, nullptr);
}

HRESULT CMovieCtl::PutPictureValue(long property, long value) { return SetVideoProperty(property, value, kManualFlags); }

HRESULT CMovieCtl::GetPictureRange(long property, RangePart part, long* value) {
  if (!value) return E_INVALIDARG;
  long parts[5] = {};
  const HRESULT hr = GetVideoRange(property, &parts[kRangeMin], &parts[kRangeMax], &parts[kRangeStep],
                                   &parts[kRangeDefault], &parts[kRangeCaps]);
  if (SUCCEEDED(hr)) *value = parts[part];
  return hr;
}

HRESULT CMovieCtl::GetPictureFlags(long property, long* flags) {
  if (!flags) return E_INVALIDARG;
  return GetVideoProperty(property, nullptr, flags);
}

HRESULT CMovieCtl::PutPictureFlags(long property, long flags) {
  long value = 0;
  const HRESULT hr = GetVideoProperty(property, &value, nullptr);
  return FAILED(hr) ? hr : SetVideoProperty(property, value, flags);
}

// ---- video window and frame

STDMETHODIMP CMovieCtl::get_FullScreenMode(long* pMode) {
  if (!pMode) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  return m_graph ? m_graph->get_FullScreenMode(pMode) : E_FAIL;
}

STDMETHODIMP CMovieCtl::put_FullScreenMode(long mode) {
  if (Designing()) return S_FALSE;
  return m_graph ? m_graph->put_FullScreenMode(mode) : E_FAIL;
}

HRESULT CMovieCtl::ResizeFrame(long width, long height) {
  const OAFilterState before = m_graph->State();
  m_graph->Stop();
  const HRESULT hr = m_graph->SetFrameSize(width, height);
  HRESULT restored = S_OK;
  if (before == State_Running) restored = m_graph->Run();
  else if (before == State_Paused) restored = m_graph->Pause();
  return FAILED(hr) ? hr : restored;
}

STDMETHODIMP CMovieCtl::get_FrameWidth(long* pWidth) {
  if (!pWidth) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  return m_graph ? m_graph->GetFrameSize(pWidth, nullptr) : E_FAIL;
}

STDMETHODIMP CMovieCtl::put_FrameWidth(long width) {
  if (Designing()) return S_FALSE;
  if (!m_graph) return E_FAIL;
  long height = 0;
  const HRESULT hr = m_graph->GetFrameSize(nullptr, &height);
  return FAILED(hr) ? hr : ResizeFrame(width, height);
}

STDMETHODIMP CMovieCtl::get_FrameHeight(long* pHeight) {
  if (!pHeight) return E_INVALIDARG;
  if (Designing()) return S_FALSE;
  return m_graph ? m_graph->GetFrameSize(nullptr, pHeight) : E_FAIL;
}

STDMETHODIMP CMovieCtl::put_FrameHeight(long height) {
  if (Designing()) return S_FALSE;
  if (!m_graph) return E_FAIL;
  long width = 0;
  const HRESULT hr = m_graph->GetFrameSize(&width, nullptr);
  return FAILED(hr) ? hr : ResizeFrame(width, height);
}

STDMETHODIMP CMovieCtl::SetVideoFrameSize(long lWidth, long lHeight) {
  if (Designing()) return S_FALSE;
  return m_graph ? ResizeFrame(lWidth, lHeight) : E_FAIL;
}

STDMETHODIMP CMovieCtl::ShowSetupDialog(long) {
  IUnknown* self = static_cast<IMovieCtl*>(this);
  CLSID page = CLSID_VidProp;
  HWND owner = window() ? window() : GetActiveWindow();
  return OleCreatePropertyFrame(owner, 0, 0, kSetupCaption, 1, &self, 1, &page, 0, 0, nullptr);
}

// ---- volume

STDMETHODIMP CMovieCtl::get_Volume(long* pVolume) {
  if (!pVolume) return E_INVALIDARG;
  *pVolume = 0;
  if (Designing()) return S_FALSE;
  if (!m_mixer || !m_mixer->IsOpen()) return S_FALSE;
  *pVolume = m_mixer->GetVolume();
  return S_OK;
}

STDMETHODIMP CMovieCtl::put_Volume(long volume) {
  if (Designing()) return S_FALSE;
  if (!m_mixer || !m_mixer->IsOpen()) return S_FALSE;
  volume = std::clamp(volume, m_mixer->GetMinimum(), std::max(m_mixer->GetMinimum(), m_mixer->GetMaximum()));
  m_events.fire(DISPID_OnVolumeChanging, {m_mixer->GetVolume(), volume});
  m_mixer->SetVolume(volume);
  m_events.fire(DISPID_OnVolumeChanged, {volume});
  return S_OK;
}

STDMETHODIMP CMovieCtl::get_VolumeMetric(long* pMetric) {
  if (!pMetric) return E_INVALIDARG;
  *pMetric = m_volumeMetric;
  return S_OK;
}

STDMETHODIMP CMovieCtl::put_VolumeMetric(long) { return S_FALSE; }

STDMETHODIMP CMovieCtl::get_MaxVolume(long* pVolume) {
  if (!pVolume) return E_INVALIDARG;
  *pVolume = 0;
  if (Designing() || !m_mixer) return S_FALSE;
  *pVolume = m_mixer->GetMaximum();
  return S_OK;
}

STDMETHODIMP CMovieCtl::get_MinVolume(long* pVolume) {
  if (!pVolume) return E_INVALIDARG;
  *pVolume = 0;
  if (Designing() || !m_mixer) return S_FALSE;
  *pVolume = m_mixer->GetMinimum();
  return S_OK;
}

STDMETHODIMP CMovieCtl::get_Mute(long* pMute) {
  if (!pMute) return E_INVALIDARG;
  *pMute = m_muted ? 1 : 0;
  return S_OK;
}

STDMETHODIMP CMovieCtl::put_Mute(long mute) {
  if (Designing()) return S_FALSE;
  if (!m_mixer) return E_FAIL;
  m_muted = mute != 0;
  if (m_muted) m_mixer->LineOff();
  else m_mixer->LineOn();
  return S_OK;
}

// ---- window

bool CMovieCtl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case kGraphNotify: {
      bool handled = true;
      DrainGraphEvents(handled);
      result = 0;
      return handled;
    }
    case kVolumeNotify:
      m_events.fire(DISPID_OnVolumeChanged, {static_cast<LONG>(wParam)});
      result = 0;
      return true;
    case WM_TIMER:
      if (wParam != kRemoteTimer || !m_graph) return false;
      // One reader per control, so no control polls through another that has gone.
      if (!m_remote) m_remote = std::make_unique<CRemoteInput>(this);
      m_remote->Poll();
      result = 0;
      return true;
    default:
      return false;
  }
}

void CMovieCtl::DrainGraphEvents(bool& handled) {
  if (!m_graph) return;
  long code = 0;
  LONG_PTR first = 0, second = 0;
  while (m_graph->GetEvent(&code, &first, &second) == S_OK) {
    m_graph->FreeEventParams(code, first, second);
    if (code == EC_PAUSED) handled = false;
  }
}

void CMovieCtl::OnPositionChanged(const RECT& rect) {
  if (m_graph) m_graph->SetVideoWindowPosition(0, 0, rect.right - rect.left, rect.bottom - rect.top);
}

void CMovieCtl::OnWindowDestroying() {
  KillTimer(window(), kRemoteTimer);
  // The video window is a child of this window: it goes with the graph.
  m_remote.reset();
  m_graph.reset();
}
