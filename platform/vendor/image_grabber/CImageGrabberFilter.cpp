#include <vendor/image_grabber/CImageGrabberFilter.h>

#include <algorithm>
#include <cstdlib>
#include <new>

CUnknown* WINAPI CImageGrabberFilter::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
  auto* filter = new (std::nothrow) CImageGrabberFilter(pUnk, phr);
  if (!filter && phr) *phr = E_OUTOFMEMORY;
  return filter;
}

CImageGrabberFilter::CImageGrabberFilter(LPUNKNOWN pUnk, HRESULT* phr)
    : CTransInPlaceFilter("Talvik_Image Grabber", pUnk, CLSID_QxmImageGrabber, phr, false) {}

STDMETHODIMP CImageGrabberFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IQxmImageGrabber) return GetInterface(static_cast<IQxmImageGrabber*>(this), ppv);
  return CTransInPlaceFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CImageGrabberFilter::CheckInputType(const CMediaType* mtIn) {
  if (*mtIn->Type() != MEDIATYPE_Video || *mtIn->FormatType() != FORMAT_VideoInfo ||
      mtIn->FormatLength() < sizeof(VIDEOINFOHEADER))
    return VFW_E_TYPE_NOT_ACCEPTED;
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(mtIn->Format());
  return info->bmiHeader.biWidth > 0 && info->bmiHeader.biHeight != 0 && info->bmiHeader.biBitCount > 0
             ? S_OK
             : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CImageGrabberFilter::StartStreaming() {
  std::lock_guard guard(m_frameLock);
  m_hasFrame = false;
  return S_OK;
}

HRESULT CImageGrabberFilter::Transform(IMediaSample* pSample) {
  BYTE* data = nullptr;
  if (FAILED(pSample->GetPointer(&data))) return S_OK;
  std::lock_guard guard(m_frameLock);
  m_frame.assign(data, data + pSample->GetActualDataLength());
  m_hasFrame = true;
  return S_OK;
}

const BITMAPINFOHEADER* CImageGrabberFilter::connectedHeader() {
  if (!m_pInput || !m_pInput->IsConnected()) return nullptr;
  return &reinterpret_cast<const VIDEOINFOHEADER*>(m_pInput->CurrentMediaType().Format())->bmiHeader;
}

STDMETHODIMP CImageGrabberFilter::GetFrameBufferSize(long* size) {
  CheckPointer(size, E_POINTER);
  CAutoLock lock(&m_csFilter);
  const BITMAPINFOHEADER* header = connectedHeader();
  if (!header) return E_FAIL;
  *size = (header->biWidth * header->biBitCount + 31) / 32 * 4 * std::labs(header->biHeight);
  return S_OK;
}

STDMETHODIMP CImageGrabberFilter::CopyFrame(BYTE* buffer, long size) {
  CheckPointer(buffer, E_POINTER);
  {
    CAutoLock lock(&m_csFilter);
    if (!connectedHeader()) return E_FAIL;
  }
  std::lock_guard guard(m_frameLock);
  if (!m_hasFrame) return QXM_GRAB_NO_NEW_FRAME;
  if (size < 0 || static_cast<size_t>(size) < m_frame.size()) return E_INVALIDARG;
  std::copy(m_frame.begin(), m_frame.end(), buffer);
  return S_OK;
}

STDMETHODIMP CImageGrabberFilter::GetFrameWidth(long* width) {
  CheckPointer(width, E_POINTER);
  CAutoLock lock(&m_csFilter);
  const BITMAPINFOHEADER* header = connectedHeader();
  if (!header) return E_FAIL;
  *width = header->biWidth;
  return S_OK;
}

STDMETHODIMP CImageGrabberFilter::GetFrameHeight(long* height) {
  CheckPointer(height, E_POINTER);
  CAutoLock lock(&m_csFilter);
  const BITMAPINFOHEADER* header = connectedHeader();
  if (!header) return E_FAIL;
  *height = std::labs(header->biHeight);
  return S_OK;
}
