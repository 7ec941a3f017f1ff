#include <dshow/filters/TvCapture.h>

#include <com/objbase.h>
#include <dshow/ProcAmpPage.h>
#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/evcode.h>
#include <dshow/filters/AnalogPin.h>
#include <dshow/filters/PcmCapturePin.h>
#include <dshow/filters/StickMedium.h>
#include <dshow/filters/TvVideoPin.h>
#include <machine/CaptureCard.h>
#include <machine/Machine.h>
#include <machine/TvStickCapture.h>

#include <new>

namespace plat {

namespace {
constexpr long kAllStandards = 0x1FFFFF;
}

TvCapture::TvCapture(LPUNKNOWN outer, HRESULT* phr)
    : TvCapture(outer, phr, "TV stick capture", CLSID_TvStickCapture, Machine::current().service<TvStickCapture>(),
                true) {}

TvCapture::TvCapture(LPUNKNOWN outer, HRESULT* phr, const char* name, REFCLSID clsid, CaptureHardware& hardware,
                     bool analogIn)
    : LiveSource(name, outer, clsid, phr),
      m_stick(hardware),
      m_analogIn(analogIn ? new AnalogPin(this, pStateLock(), L"Analog Video In", PINDIR_INPUT, MEDIATYPE_AnalogVideo,
                                          kDecoderVideoWire, PIN_CATEGORY_ANALOGVIDEOIN)
                          : nullptr),
      m_present(m_stick.present()) {
  // The stream pins add themselves to the filter.
  new TvVideoPin(this, L"Capture", PIN_CATEGORY_CAPTURE, m_stick);
  new TvVideoPin(this, L"Preview", PIN_CATEGORY_PREVIEW, m_stick);
  if (m_stick.hasAudioOut()) new PcmCapturePin(this, L"AudioOut", [this] { return m_stick.scene().toneHz; });
}

TvCapture::~TvCapture() { delete m_analogIn; }

CUnknown* TvCapture::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) TvCapture(outer, phr); }

CUnknown* TvCapture::CreateCardInstance(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow)
      TvCapture(outer, phr, "Capture card", CLSID_CaptureCardCapture, Machine::current().service<CaptureCard>(), false);
}

STDMETHODIMP TvCapture::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IAMVideoProcAmp) return GetInterface(static_cast<IAMVideoProcAmp*>(this), ppv);
  if (riid == IID_IAMAnalogVideoDecoder) return GetInterface(static_cast<IAMAnalogVideoDecoder*>(this), ppv);
  if (riid == IID_ISpecifyPropertyPages) return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
  return CSource::NonDelegatingQueryInterface(riid, ppv);
}

int TvCapture::GetPinCount() { return CSource::GetPinCount() + (m_analogIn ? 1 : 0); }

CBasePin* TvCapture::GetPin(int n) {
  const int streams = CSource::GetPinCount();
  if (n == streams && m_analogIn) return m_analogIn;
  return CSource::GetPin(n);
}

bool TvCapture::checkDevice() {
  const bool now = m_stick.present();
  bool before = !now;
  if (m_present.compare_exchange_strong(before, now)) NotifyEvent(EC_DEVICE_LOST, reinterpret_cast<LONG_PTR>(GetOwner()), now ? 1 : 0);
  return now;
}

// ---- IAMVideoProcAmp

STDMETHODIMP TvCapture::GetRange(long Property, long* pMin, long* pMax, long* pSteppingDelta, long* pDefault,
                                 long* pCapsFlags) {
  CheckPointer(pMin, E_POINTER);
  CheckPointer(pMax, E_POINTER);
  CheckPointer(pSteppingDelta, E_POINTER);
  CheckPointer(pDefault, E_POINTER);
  CheckPointer(pCapsFlags, E_POINTER);
  if (Property < 0 || Property >= CaptureHardware::kProcAmpProperties) return E_PROP_ID_UNSUPPORTED;
  const CaptureHardware::Range range = m_stick.procAmpRange(static_cast<int>(Property));
  *pMin = range.min;
  *pMax = range.max;
  *pSteppingDelta = range.step;
  *pDefault = range.def;
  *pCapsFlags = VideoProcAmp_Flags_Manual;
  return S_OK;
}

STDMETHODIMP TvCapture::Set(long Property, long lValue, long Flags) {
  if (Property < 0 || Property >= CaptureHardware::kProcAmpProperties) return E_PROP_ID_UNSUPPORTED;
  if (Flags != VideoProcAmp_Flags_Manual) return E_INVALIDARG;
  return m_stick.setProcAmp(static_cast<int>(Property), lValue) ? S_OK : E_INVALIDARG;
}

STDMETHODIMP TvCapture::Get(long Property, long* lValue, long* Flags) {
  CheckPointer(lValue, E_POINTER);
  CheckPointer(Flags, E_POINTER);
  if (Property < 0 || Property >= CaptureHardware::kProcAmpProperties) return E_PROP_ID_UNSUPPORTED;
  *lValue = m_stick.procAmp(static_cast<int>(Property));
  *Flags = VideoProcAmp_Flags_Manual;
  return S_OK;
}

// ---- IAMAnalogVideoDecoder

STDMETHODIMP TvCapture::get_AvailableTVFormats(long* lAnalogVideoStandard) {
  CheckPointer(lAnalogVideoStandard, E_POINTER);
  *lAnalogVideoStandard = kAllStandards;
  return S_OK;
}

STDMETHODIMP TvCapture::put_TVFormat(long lAnalogVideoStandard) {
  // One standard at a time, and one the decoder knows.
  if (lAnalogVideoStandard == 0 || (lAnalogVideoStandard & ~kAllStandards) ||
      (lAnalogVideoStandard & (lAnalogVideoStandard - 1)))
    return E_INVALIDARG;
  m_stick.setDecoderStandard(lAnalogVideoStandard);
  return S_OK;
}

STDMETHODIMP TvCapture::get_TVFormat(long* plAnalogVideoStandard) {
  CheckPointer(plAnalogVideoStandard, E_POINTER);
  *plAnalogVideoStandard = m_stick.detectedStandard();
  return S_OK;
}

STDMETHODIMP TvCapture::get_HorizontalLocked(long* plLocked) {
  CheckPointer(plLocked, E_POINTER);
  *plLocked = m_stick.signalPresent() ? 1 : 0;
  return S_OK;
}

STDMETHODIMP TvCapture::put_VCRHorizontalLocking(long lVCRHorizontalLocking) {
  m_vcrLocking = lVCRHorizontalLocking;
  return S_OK;
}

STDMETHODIMP TvCapture::get_VCRHorizontalLocking(long* plVCRHorizontalLocking) {
  CheckPointer(plVCRHorizontalLocking, E_POINTER);
  *plVCRHorizontalLocking = m_vcrLocking;
  return S_OK;
}

STDMETHODIMP TvCapture::get_NumberOfLines(long* plNumberOfLines) {
  CheckPointer(plNumberOfLines, E_POINTER);
  *plNumberOfLines = (m_stick.detectedStandard() & (0x7 | 0x200 | 0x800)) ? 525 : 625;
  return S_OK;
}

STDMETHODIMP TvCapture::put_OutputEnable(long lOutputEnable) {
  m_outputEnable = lOutputEnable;
  return S_OK;
}

STDMETHODIMP TvCapture::get_OutputEnable(long* plOutputEnable) {
  CheckPointer(plOutputEnable, E_POINTER);
  *plOutputEnable = m_outputEnable;
  return S_OK;
}

STDMETHODIMP TvCapture::GetPages(CAUUID* pPages) {
  CheckPointer(pPages, E_POINTER);
  pPages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
  if (!pPages->pElems) {
    pPages->cElems = 0;
    return E_OUTOFMEMORY;
  }
  pPages->cElems = 1;
  pPages->pElems[0] = CLSID_ProcAmpPropertyPage;
  return S_OK;
}

}  // namespace plat
