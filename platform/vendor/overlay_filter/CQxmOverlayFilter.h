// The overlay filter: passes the video through in place and draws the chosen layer (the
// text or the picture) over every picture, as its interface sets it. Every interface
// call is recorded (COverlayCallLog) before it is checked and applied.
#pragma once

#include <vendor/overlay_filter/COverlayLayer.h>
#include <vendor/overlay_filter/QxmOverlay.h>

#include <dshow/baseclasses/streams.h>

#include <mutex>

class CQxmOverlayFilter : public CTransInPlaceFilter, public IQxmOverlay {
 public:
  static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT Transform(IMediaSample* pSample) override;

  // IQxmOverlay
  STDMETHODIMP SetMode(int mode) override;
  STDMETHODIMP Reserved5() override { return reserved(5); }
  STDMETHODIMP Reserved6() override { return reserved(6); }
  STDMETHODIMP Reserved7() override { return reserved(7); }
  STDMETHODIMP SetPicture(LONG_PTR picture) override;
  STDMETHODIMP Reserved9() override { return reserved(9); }
  STDMETHODIMP Reserved10() override { return reserved(10); }
  STDMETHODIMP Reserved11() override { return reserved(11); }
  STDMETHODIMP SetContent(LONG_PTR a, LONG_PTR b, int layer) override;
  STDMETHODIMP Reserved13() override { return reserved(13); }
  STDMETHODIMP SetColors(DWORD a, DWORD b, int layer) override;
  STDMETHODIMP Reserved15() override { return reserved(15); }
  STDMETHODIMP SetPosition(int x, int y, int layer) override;
  STDMETHODIMP Reserved17() override { return reserved(17); }
  STDMETHODIMP SetFont(LOGFONTA font, int layer) override;
  STDMETHODIMP Reserved19() override { return reserved(19); }
  STDMETHODIMP SetBlend(int reserved1, int reserved2, double blend, int layer) override;

 private:
  CQxmOverlayFilter(LPUNKNOWN pUnk, HRESULT* phr);

  HRESULT reserved(int slot);
  // The layer of that number, or null.
  COverlayLayer* layerOf(int layer);

  std::mutex m_settingsLock;  // the settings, between the caller and the streaming thread
  int m_mode = QXM_OVERLAY_OFF;
  COverlayLayer m_text{true};
  COverlayLayer m_picture{false};
};
