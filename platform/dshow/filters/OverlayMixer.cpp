#include <dshow/filters/OverlayMixer.h>

#include <dshow/amvideo.h>
#include <dshow/baseclasses/CTransformInputPin.h>
#include <dshow/baseclasses/CTransformOutputPin.h>
#include <dshow/vmr.h>

#include <array>
#include <cstring>
#include <new>

namespace plat {

namespace {
const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Video, &GUID_NULL}};
const AMOVIESETUP_PIN kPins[] = {{L"Input0", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kTypes},
                                 {L"Output", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kTypes}};
}  // namespace

const AMOVIESETUP_FILTER OverlayMixer::kSetup = {&CLSID_OverlayMixer, L"Overlay Mixer", MERIT_DO_NOT_USE, 2, kPins};

class OverlayMixer::InputPin : public CTransformInputPin, public IMixerPinConfig {
 public:
  explicit InputPin(OverlayMixer* mixer) : CTransformInputPin("Overlay mixer input", mixer, nullptr, L"Input0") {}

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IMixerPinConfig) return GetInterface(static_cast<IMixerPinConfig*>(this), ppv);
    return CTransformInputPin::NonDelegatingQueryInterface(riid, ppv);
  }

  STDMETHODIMP SetRelativePosition(DWORD left, DWORD top, DWORD right, DWORD bottom) override {
    // Positions are in 1/10000 of the output.
    if (left >= right || top >= bottom || right > 10000 || bottom > 10000) return E_INVALIDARG;
    m_position = {left, top, right, bottom};
    return S_OK;
  }
  STDMETHODIMP GetRelativePosition(DWORD* left, DWORD* top, DWORD* right, DWORD* bottom) override {
    CheckPointer(left, E_POINTER);
    CheckPointer(top, E_POINTER);
    CheckPointer(right, E_POINTER);
    CheckPointer(bottom, E_POINTER);
    *left = m_position[0];
    *top = m_position[1];
    *right = m_position[2];
    *bottom = m_position[3];
    return S_OK;
  }
  STDMETHODIMP SetZOrder(DWORD zOrder) override {
    m_zOrder = zOrder;
    return S_OK;
  }
  STDMETHODIMP GetZOrder(DWORD* zOrder) override {
    CheckPointer(zOrder, E_POINTER);
    *zOrder = m_zOrder;
    return S_OK;
  }
  STDMETHODIMP SetColorKey(void*) override { return E_NOTIMPL; }
  STDMETHODIMP GetColorKey(void*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP SetBlendingParameter(DWORD blending) override {
    if (blending > 255) return E_INVALIDARG;
    m_blending = blending;
    return S_OK;
  }
  STDMETHODIMP GetBlendingParameter(DWORD* blending) override {
    CheckPointer(blending, E_POINTER);
    *blending = m_blending;
    return S_OK;
  }
  STDMETHODIMP SetAspectRatioMode(AM_ASPECT_RATIO_MODE mode) override {
    if (mode < AM_ARMODE_STRETCHED || mode > AM_ARMODE_STRETCHED_AS_PRIMARY) return E_INVALIDARG;
    m_aspect = mode;
    return S_OK;
  }
  STDMETHODIMP GetAspectRatioMode(AM_ASPECT_RATIO_MODE* mode) override {
    CheckPointer(mode, E_POINTER);
    *mode = m_aspect;
    return S_OK;
  }
  STDMETHODIMP SetStreamTransparent(BOOL transparent) override {
    m_transparent = transparent;
    return S_OK;
  }
  STDMETHODIMP GetStreamTransparent(BOOL* transparent) override {
    CheckPointer(transparent, E_POINTER);
    *transparent = m_transparent;
    return S_OK;
  }

 private:
  std::array<DWORD, 4> m_position{0, 0, 10000, 10000};
  DWORD m_zOrder = 0;
  DWORD m_blending = 255;
  AM_ASPECT_RATIO_MODE m_aspect = AM_ARMODE_LETTER_BOX;
  BOOL m_transparent = FALSE;
};

OverlayMixer::OverlayMixer(LPUNKNOWN outer) : CTransformFilter("Overlay Mixer", outer, CLSID_OverlayMixer) {}

CUnknown* OverlayMixer::CreateInstance(LPUNKNOWN outer, HRESULT*) { return new (std::nothrow) OverlayMixer(outer); }

CTransformInputPin* OverlayMixer::MakeInputPin() { return new (std::nothrow) InputPin(this); }

CTransformOutputPin* OverlayMixer::MakeOutputPin() {
  return new (std::nothrow) CTransformOutputPin("Overlay mixer output", this, nullptr, L"Output");
}

HRESULT OverlayMixer::CheckInputType(const CMediaType* mtIn) {
  return *mtIn->Type() == MEDIATYPE_Video && *mtIn->FormatType() == FORMAT_VideoInfo && mtIn->Format() ? S_OK
                                                                                                       : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT OverlayMixer::CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) {
  return *mtIn == *mtOut ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT OverlayMixer::DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) {
  ALLOCATOR_PROPERTIES wanted = *pprop;
  if (wanted.cBuffers < 2) wanted.cBuffers = 2;
  wanted.cbBuffer = static_cast<long>(m_pInput->CurrentMediaType().GetSampleSize());
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(m_pInput->CurrentMediaType().Format());
  if (wanted.cbBuffer <= 0) wanted.cbBuffer = static_cast<long>(info->bmiHeader.biSizeImage);
  ALLOCATOR_PROPERTIES actual{};
  return pAllocator->SetProperties(&wanted, &actual);
}

HRESULT OverlayMixer::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  *pMediaType = m_pInput->CurrentMediaType();
  return S_OK;
}

HRESULT OverlayMixer::Transform(IMediaSample* pIn, IMediaSample* pOut) {
  BYTE* from = nullptr;
  BYTE* to = nullptr;
  pIn->GetPointer(&from);
  pOut->GetPointer(&to);
  const long length = pIn->GetActualDataLength();
  if (length > pOut->GetSize()) return E_FAIL;
  std::memcpy(to, from, static_cast<size_t>(length));
  return pOut->SetActualDataLength(length);
}

}  // namespace plat
