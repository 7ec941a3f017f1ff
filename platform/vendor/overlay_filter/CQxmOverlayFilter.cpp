#include <vendor/overlay_filter/CQxmOverlayFilter.h>

#include <vendor/overlay_filter/COverlayCallLog.h>

#include <cstdio>
#include <cstring>
#include <new>

namespace {

std::string format(const char* pattern, auto... args) {
  char text[512];
  std::snprintf(text, sizeof(text), pattern, args...);
  return text;
}

}  // namespace

CUnknown* WINAPI CQxmOverlayFilter::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
  auto* filter = new (std::nothrow) CQxmOverlayFilter(pUnk, phr);
  if (!filter && phr) *phr = E_OUTOFMEMORY;
  return filter;
}

CQxmOverlayFilter::CQxmOverlayFilter(LPUNKNOWN pUnk, HRESULT* phr)
    : CTransInPlaceFilter("QXM_OverlayFilter", pUnk, CLSID_QxmOverlayFilter, phr, true) {}

STDMETHODIMP CQxmOverlayFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IQxmOverlay) return GetInterface(static_cast<IQxmOverlay*>(this), ppv);
  return CTransInPlaceFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CQxmOverlayFilter::CheckInputType(const CMediaType* mtIn) {
  if (*mtIn->Type() != MEDIATYPE_Video || *mtIn->FormatType() != FORMAT_VideoInfo ||
      mtIn->FormatLength() < sizeof(VIDEOINFOHEADER))
    return VFW_E_TYPE_NOT_ACCEPTED;
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(mtIn->Format());
  const WORD bits = info->bmiHeader.biBitCount;
  const bool known = (*mtIn->Subtype() == MEDIASUBTYPE_YUY2 && bits == 16) ||
                     (*mtIn->Subtype() == MEDIASUBTYPE_RGB24 && bits == 24) ||
                     (*mtIn->Subtype() == MEDIASUBTYPE_RGB32 && bits == 32);
  return known && info->bmiHeader.biWidth > 0 && info->bmiHeader.biHeight != 0 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CQxmOverlayFilter::Transform(IMediaSample* pSample) {
  BYTE* data = nullptr;
  if (FAILED(pSample->GetPointer(&data))) return S_OK;
  const CMediaType& type = m_pInput->CurrentMediaType();
  const auto& format = *reinterpret_cast<const VIDEOINFOHEADER*>(type.Format());
  const bool yuy2 = *type.Subtype() == MEDIASUBTYPE_YUY2;
  std::lock_guard guard(m_settingsLock);
  if (m_mode == QXM_OVERLAY_TEXT) m_text.drawOnto(data, pSample->GetActualDataLength(), format, yuy2);
  if (m_mode == QXM_OVERLAY_PICTURE) m_picture.drawOnto(data, pSample->GetActualDataLength(), format, yuy2);
  return S_OK;
}

COverlayLayer* CQxmOverlayFilter::layerOf(int layer) {
  if (layer == QXM_LAYER_TEXT) return &m_text;
  if (layer == QXM_LAYER_PICTURE) return &m_picture;
  return nullptr;
}

HRESULT CQxmOverlayFilter::reserved(int slot) {
  const HRESULT hr = COverlayCallLog::record(slot, format("Reserved%d()", slot));
  return FAILED(hr) ? hr : E_NOTIMPL;
}

STDMETHODIMP CQxmOverlayFilter::SetMode(int mode) {
  const HRESULT hr = COverlayCallLog::record(4, format("SetMode(%d)", mode));
  if (FAILED(hr)) return hr;
  if (mode != QXM_OVERLAY_OFF && mode != QXM_OVERLAY_TEXT && mode != QXM_OVERLAY_PICTURE) return E_INVALIDARG;
  std::lock_guard guard(m_settingsLock);
  m_mode = mode;
  return S_OK;
}

STDMETHODIMP CQxmOverlayFilter::SetPicture(LONG_PTR picture) {
  const HRESULT hr = COverlayCallLog::record(8, format("SetPicture(%ld)", static_cast<long>(picture)));
  if (FAILED(hr)) return hr;
  std::lock_guard guard(m_settingsLock);
  if (!picture) {
    m_picture.clearPicture();
    return S_OK;
  }
  return m_picture.setPicture(reinterpret_cast<HBITMAP>(picture)) ? S_OK : E_INVALIDARG;
}

STDMETHODIMP CQxmOverlayFilter::SetContent(LONG_PTR a, LONG_PTR b, int layer) {
  const auto* text = reinterpret_cast<const char*>(a);
  const bool textLayer = layer == QXM_LAYER_TEXT;
  const std::string shown = textLayer && text && b >= 0 ? std::string(text, strnlen(text, static_cast<size_t>(b))) : "";
  const HRESULT hr = COverlayCallLog::record(
      12, textLayer ? format("SetContent(\"%s\", %ld, %d)", shown.c_str(), static_cast<long>(b), layer)
                    : format("SetContent(%ld, %ld, %d)", static_cast<long>(a), static_cast<long>(b), layer));
  if (FAILED(hr)) return hr;
  COverlayLayer* target = layerOf(layer);
  if (!target || b < 0 || (!textLayer && a < 0)) return E_INVALIDARG;
  if (textLayer && !text && b > 0) return E_POINTER;
  std::lock_guard guard(m_settingsLock);
  if (textLayer)
    target->setText(shown);
  else
    target->setSize(static_cast<int>(a), static_cast<int>(b));
  return S_OK;
}

STDMETHODIMP CQxmOverlayFilter::SetColors(DWORD a, DWORD b, int layer) {
  const HRESULT hr = COverlayCallLog::record(14, format("SetColors(0x%06X, 0x%06X, %d)", a, b, layer));
  if (FAILED(hr)) return hr;
  COverlayLayer* target = layerOf(layer);
  if (!target) return E_INVALIDARG;
  std::lock_guard guard(m_settingsLock);
  target->setColors(a, b);
  return S_OK;
}

STDMETHODIMP CQxmOverlayFilter::SetPosition(int x, int y, int layer) {
  const HRESULT hr = COverlayCallLog::record(16, format("SetPosition(%d, %d, %d)", x, y, layer));
  if (FAILED(hr)) return hr;
  COverlayLayer* target = layerOf(layer);
  if (!target) return E_INVALIDARG;
  std::lock_guard guard(m_settingsLock);
  target->setPosition(x, y);
  return S_OK;
}

STDMETHODIMP CQxmOverlayFilter::SetFont(LOGFONTA font, int layer) {
  char face[LF_FACESIZE + 1] = {};
  std::memcpy(face, font.lfFaceName, LF_FACESIZE);
  const HRESULT hr = COverlayCallLog::record(
      18, format("SetFont(%s, %ld, %ld, %d)", face, static_cast<long>(font.lfHeight), static_cast<long>(font.lfWeight),
                 layer));
  if (FAILED(hr)) return hr;
  COverlayLayer* target = layerOf(layer);
  if (!target) return E_INVALIDARG;
  HFONT probe = CreateFontIndirectA(&font);
  if (!probe) return E_FAIL;
  DeleteObject(probe);
  std::lock_guard guard(m_settingsLock);
  target->setFont(font);
  return S_OK;
}

STDMETHODIMP CQxmOverlayFilter::SetBlend(int reserved1, int reserved2, double blend, int layer) {
  const HRESULT hr =
      COverlayCallLog::record(20, format("SetBlend(%d, %d, %g, %d)", reserved1, reserved2, blend, layer));
  if (FAILED(hr)) return hr;
  COverlayLayer* target = layerOf(layer);
  if (!target) return E_INVALIDARG;
  std::lock_guard guard(m_settingsLock);
  target->setBlend(blend);
  return S_OK;
}
