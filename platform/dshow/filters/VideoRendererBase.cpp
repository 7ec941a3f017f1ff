#include <dshow/filters/VideoRendererBase.h>

#include <com/oleauto.h>
#include <dshow/baseclasses/CAutoLock.h>
#include <machine/Machine.h>
#include <dshow/filters/Yuy2Converter.h>
#include <machine/TestPicture.h>
#include <machine/VideoSurfaces.h>
#include <win32/gdi.h>
#include <win32/user.h>

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

constexpr double kUnitsPerSecond = 10'000'000.0;

RECT rectOf(long left, long top, long width, long height) {
  return {static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(left + width), static_cast<LONG>(top + height)};
}

std::uint32_t packed(Rgb rgb) {
  return (static_cast<std::uint32_t>(rgb.r) << 16) | (static_cast<std::uint32_t>(rgb.g) << 8) | rgb.b;
}

int bytesPerPixel(const GUID& subtype) {
  return subtype == MEDIASUBTYPE_YUY2 ? 2 : subtype == MEDIASUBTYPE_RGB24 ? 3 : 4;
}

int strideOf(const GUID& subtype, const BITMAPINFOHEADER& header) {
  return subtype == MEDIASUBTYPE_YUY2 ? header.biWidth * 2 : (header.biWidth * bytesPerPixel(subtype) * 8 + 31) / 32 * 4;
}

// Converts one whole frame of the connection's format into top-down 0x00RRGGBB pixels.
void toPixels(const GUID& subtype, const BITMAPINFOHEADER& header, const BYTE* data, std::uint32_t* out) {
  const int width = header.biWidth;
  const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  const bool bottomUp = header.biHeight > 0 && subtype != MEDIASUBTYPE_YUY2;
  const int pixelBytes = bytesPerPixel(subtype);
  const int stride = strideOf(subtype, header);
  for (int y = 0; y < height; ++y) {
    const BYTE* row = data + static_cast<size_t>(bottomUp ? height - 1 - y : y) * static_cast<size_t>(stride);
    std::uint32_t* to = out + static_cast<size_t>(y) * static_cast<size_t>(width);
    if (subtype == MEDIASUBTYPE_YUY2) {
      Yuy2Converter::toPacked(row, width, to);
      continue;
    }
    for (int x = 0; x < width; ++x) {
      const BYTE* pixel = row + x * pixelBytes;
      to[x] = packed({pixel[2], pixel[1], pixel[0]});
    }
  }
}

}  // namespace

VideoRendererBase::VideoRendererBase(const char* name, LPUNKNOWN outer, REFCLSID clsid, HRESULT* phr,
                                     std::vector<GUID> subtypes)
    : RendererBase(name, outer, clsid, phr), m_subtypes(std::move(subtypes)), m_surface(std::make_shared<VideoSurface>()) {
  Machine::current().service<VideoSurfaces>().add(m_surface);
}

VideoRendererBase::~VideoRendererBase() { Machine::current().service<VideoSurfaces>().remove(m_surface); }

STDMETHODIMP VideoRendererBase::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IVideoWindow) return GetInterface(static_cast<IVideoWindow*>(this), ppv);
  if (riid == IID_IBasicVideo) return GetInterface(static_cast<IBasicVideo*>(this), ppv);
  return RendererBase::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT VideoRendererBase::CheckMediaType(const CMediaType* pmt) {
  if (*pmt->Type() != MEDIATYPE_Video || *pmt->FormatType() != FORMAT_VideoInfo ||
      pmt->FormatLength() < sizeof(VIDEOINFOHEADER) || !pmt->Format())
    return S_FALSE;
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(pmt->Format());
  if (info->bmiHeader.biWidth <= 0 || info->bmiHeader.biHeight == 0) return S_FALSE;
  return std::find(m_subtypes.begin(), m_subtypes.end(), *pmt->Subtype()) != m_subtypes.end() ? S_OK : S_FALSE;
}

HRESULT VideoRendererBase::SetMediaType(const CMediaType*) {
  CAutoLock lock(&m_lock);
  if (m_window.rect.right == m_window.rect.left) m_window.rect = {0, 0, videoWidth(), videoHeight()};
  if (m_defaultSource) m_source = {0, 0, videoWidth(), videoHeight()};
  place();
  return S_OK;
}

LONG VideoRendererBase::videoWidth() {
  const CMediaType& type = input()->CurrentMediaType();
  return type.Format() ? reinterpret_cast<const VIDEOINFOHEADER*>(type.Format())->bmiHeader.biWidth : 0;
}

LONG VideoRendererBase::videoHeight() {
  const CMediaType& type = input()->CurrentMediaType();
  if (!type.Format()) return 0;
  const LONG height = reinterpret_cast<const VIDEOINFOHEADER*>(type.Format())->bmiHeader.biHeight;
  return height < 0 ? -height : height;
}

HRESULT VideoRendererBase::render(IMediaSample* sample) {
  const CMediaType& type = input()->CurrentMediaType();
  const auto& header = reinterpret_cast<const VIDEOINFOHEADER*>(type.Format())->bmiHeader;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const long length = sample->GetActualDataLength();
  const GUID subtype = *type.Subtype();
  const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  const std::size_t whole = static_cast<std::size_t>(strideOf(subtype, header)) * static_cast<std::size_t>(height);
  if (!data || length < 0 || static_cast<std::size_t>(length) < whole) {
    // A short sample shows nothing new.
    m_surface->present(header.biWidth, height, [](std::uint32_t*) {});
    return S_OK;
  }
  m_surface->presentLater(header.biWidth, height, data, whole,
                          [subtype, header](const std::uint8_t* bytes, std::uint32_t* pixels) {
                            toPixels(subtype, header, bytes, pixels);
                          });
  return S_OK;
}

STDMETHODIMP VideoRendererBase::Pause() {
  const HRESULT hr = RendererBase::Pause();
  CAutoLock lock(&m_lock);
  if (SUCCEEDED(hr) && m_window.autoShow == OATRUE && input()->IsConnected()) {
    m_window.visible = OATRUE;
    place();
  }
  return hr;
}

void VideoRendererBase::place() {
  if (m_defaultDestination)
    m_destination = {0, 0, m_window.rect.right - m_window.rect.left, m_window.rect.bottom - m_window.rect.top};
  VideoSurface::Placement placement;
  placement.owner = reinterpret_cast<HWND>(m_window.owner);
  placement.rect = m_window.rect;
  placement.visible = m_window.visible == OATRUE;
  placement.fullScreen = m_window.fullScreen == OATRUE;
  m_surface->setPlacement(placement);
}

HRESULT VideoRendererBase::checkConnected() { return input()->IsConnected() ? S_OK : VFW_E_NOT_CONNECTED; }

template <class T>
HRESULT VideoRendererBase::setWindow(T Window::*field, std::type_identity_t<T> value) {
  VideoSurface::Placement before;
  {
    CAutoLock lock(&m_lock);
    if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
    before = m_surface->placement();
    m_window.*field = value;
    place();
  }
  // Drawn outside the renderer's lock: the window system is called into.
  if (before.visible && !before.fullScreen) leaveLastFrame(before.owner, before.rect);
  return S_OK;
}

void VideoRendererBase::leaveLastFrame(HWND owner, const RECT& rect) {
  const VideoSurface::Placement now = m_surface->placement();
  if ((now.visible && !now.fullScreen && now.owner == owner) || !IsWindow(owner)) return;
  const VideoSurface::Frame frame = m_surface->frame();
  if (frame.width <= 0 || frame.height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = frame.width;
  info.bmiHeader.biHeight = -frame.height;  // top row first, as the frame
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = GetDC(owner);
  HBITMAP picture = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (picture && bits) {
    std::memcpy(bits, frame.pixels.data(), frame.pixels.size() * sizeof(frame.pixels[0]));
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0, frame.width,
               frame.height, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  }
  if (picture) DeleteObject(picture);
  ReleaseDC(owner, dc);
  InvalidateRect(owner, &rect, TRUE);
}

template <class T>
HRESULT VideoRendererBase::getWindow(T Window::*field, T* out) {
  CheckPointer(out, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *out = m_window.*field;
  return S_OK;
}

STDMETHODIMP VideoRendererBase::GetTypeInfoCount(UINT* pctinfo) {
  CheckPointer(pctinfo, E_POINTER);
  *pctinfo = 0;
  return S_OK;
}

STDMETHODIMP VideoRendererBase::put_Caption(BSTR strCaption) {
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  m_window.caption = strCaption ? strCaption : L"";
  return S_OK;
}

STDMETHODIMP VideoRendererBase::get_Caption(BSTR* strCaption) {
  CheckPointer(strCaption, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *strCaption = SysAllocString(m_window.caption.c_str());
  return *strCaption ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP VideoRendererBase::put_WindowStyle(long v) { return setWindow(&Window::style, v); }
STDMETHODIMP VideoRendererBase::get_WindowStyle(long* v) { return getWindow(&Window::style, v); }
STDMETHODIMP VideoRendererBase::put_WindowStyleEx(long v) { return setWindow(&Window::styleEx, v); }
STDMETHODIMP VideoRendererBase::get_WindowStyleEx(long* v) { return getWindow(&Window::styleEx, v); }
STDMETHODIMP VideoRendererBase::put_AutoShow(long v) { return setWindow(&Window::autoShow, v); }
STDMETHODIMP VideoRendererBase::get_AutoShow(long* v) { return getWindow(&Window::autoShow, v); }
STDMETHODIMP VideoRendererBase::put_WindowState(long v) { return setWindow(&Window::state, v); }
STDMETHODIMP VideoRendererBase::get_WindowState(long* v) { return getWindow(&Window::state, v); }
STDMETHODIMP VideoRendererBase::put_BackgroundPalette(long v) { return setWindow(&Window::backgroundPalette, v); }
STDMETHODIMP VideoRendererBase::get_BackgroundPalette(long* v) { return getWindow(&Window::backgroundPalette, v); }
STDMETHODIMP VideoRendererBase::put_Visible(long v) { return setWindow(&Window::visible, v == OAFALSE ? OAFALSE : OATRUE); }
STDMETHODIMP VideoRendererBase::get_Visible(long* v) { return getWindow(&Window::visible, v); }
STDMETHODIMP VideoRendererBase::put_Owner(OAHWND v) { return setWindow(&Window::owner, v); }
STDMETHODIMP VideoRendererBase::get_Owner(OAHWND* v) { return getWindow(&Window::owner, v); }
STDMETHODIMP VideoRendererBase::put_MessageDrain(OAHWND v) { return setWindow(&Window::drain, v); }
STDMETHODIMP VideoRendererBase::get_MessageDrain(OAHWND* v) { return getWindow(&Window::drain, v); }
STDMETHODIMP VideoRendererBase::get_BorderColor(long* v) { return getWindow(&Window::borderColor, v); }
STDMETHODIMP VideoRendererBase::put_BorderColor(long v) { return setWindow(&Window::borderColor, v); }
STDMETHODIMP VideoRendererBase::get_FullScreenMode(long* v) { return getWindow(&Window::fullScreen, v); }
STDMETHODIMP VideoRendererBase::put_FullScreenMode(long v) { return setWindow(&Window::fullScreen, v == OAFALSE ? OAFALSE : OATRUE); }
STDMETHODIMP VideoRendererBase::HideCursor(long v) { return setWindow(&Window::cursorHidden, v == OAFALSE ? OAFALSE : OATRUE); }
STDMETHODIMP VideoRendererBase::IsCursorHidden(long* v) { return getWindow(&Window::cursorHidden, v); }

STDMETHODIMP VideoRendererBase::put_Left(long Left) {
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  const long width = m_window.rect.right - m_window.rect.left;
  m_window.rect.left = Left;
  m_window.rect.right = Left + width;
  place();
  return S_OK;
}

STDMETHODIMP VideoRendererBase::get_Left(long* pLeft) {
  CheckPointer(pLeft, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *pLeft = m_window.rect.left;
  return S_OK;
}

STDMETHODIMP VideoRendererBase::put_Width(long Width) {
  if (Width < 0) return E_INVALIDARG;
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  m_window.rect.right = m_window.rect.left + Width;
  place();
  return S_OK;
}

STDMETHODIMP VideoRendererBase::get_Width(long* pWidth) {
  CheckPointer(pWidth, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *pWidth = m_window.rect.right - m_window.rect.left;
  return S_OK;
}

STDMETHODIMP VideoRendererBase::put_Top(long Top) {
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  const long height = m_window.rect.bottom - m_window.rect.top;
  m_window.rect.top = Top;
  m_window.rect.bottom = Top + height;
  place();
  return S_OK;
}

STDMETHODIMP VideoRendererBase::get_Top(long* pTop) {
  CheckPointer(pTop, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *pTop = m_window.rect.top;
  return S_OK;
}

STDMETHODIMP VideoRendererBase::put_Height(long Height) {
  if (Height < 0) return E_INVALIDARG;
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  m_window.rect.bottom = m_window.rect.top + Height;
  place();
  return S_OK;
}

STDMETHODIMP VideoRendererBase::get_Height(long* pHeight) {
  CheckPointer(pHeight, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *pHeight = m_window.rect.bottom - m_window.rect.top;
  return S_OK;
}

STDMETHODIMP VideoRendererBase::SetWindowForeground(long) { return checkConnected(); }

STDMETHODIMP VideoRendererBase::NotifyOwnerMessage(OAHWND, long, LONG_PTR, LONG_PTR) { return checkConnected(); }

STDMETHODIMP VideoRendererBase::SetWindowPosition(long Left, long Top, long Width, long Height) {
  if (Width < 0 || Height < 0) return E_INVALIDARG;
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  m_window.rect = rectOf(Left, Top, Width, Height);
  place();
  return S_OK;
}

STDMETHODIMP VideoRendererBase::GetWindowPosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) {
  CheckPointer(pLeft, E_POINTER);
  CheckPointer(pTop, E_POINTER);
  CheckPointer(pWidth, E_POINTER);
  CheckPointer(pHeight, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *pLeft = m_window.rect.left;
  *pTop = m_window.rect.top;
  *pWidth = m_window.rect.right - m_window.rect.left;
  *pHeight = m_window.rect.bottom - m_window.rect.top;
  return S_OK;
}

STDMETHODIMP VideoRendererBase::GetMinIdealImageSize(long* pWidth, long* pHeight) {
  CheckPointer(pWidth, E_POINTER);
  CheckPointer(pHeight, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *pWidth = 1;
  *pHeight = 1;
  return S_OK;
}

STDMETHODIMP VideoRendererBase::GetMaxIdealImageSize(long* pWidth, long* pHeight) {
  CheckPointer(pWidth, E_POINTER);
  CheckPointer(pHeight, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *pWidth = videoWidth();
  *pHeight = videoHeight();
  return S_OK;
}

STDMETHODIMP VideoRendererBase::GetRestorePosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) {
  return GetWindowPosition(pLeft, pTop, pWidth, pHeight);
}

STDMETHODIMP VideoRendererBase::get_AvgTimePerFrame(REFTIME* pAvgTimePerFrame) {
  CheckPointer(pAvgTimePerFrame, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(input()->CurrentMediaType().Format());
  *pAvgTimePerFrame = static_cast<double>(info->AvgTimePerFrame) / kUnitsPerSecond;
  return S_OK;
}

STDMETHODIMP VideoRendererBase::get_BitRate(long* pBitRate) {
  CheckPointer(pBitRate, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *pBitRate = static_cast<long>(reinterpret_cast<const VIDEOINFOHEADER*>(input()->CurrentMediaType().Format())->dwBitRate);
  return S_OK;
}

STDMETHODIMP VideoRendererBase::get_BitErrorRate(long* pBitErrorRate) {
  CheckPointer(pBitErrorRate, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *pBitErrorRate =
      static_cast<long>(reinterpret_cast<const VIDEOINFOHEADER*>(input()->CurrentMediaType().Format())->dwBitErrorRate);
  return S_OK;
}

STDMETHODIMP VideoRendererBase::get_VideoWidth(long* pVideoWidth) {
  CheckPointer(pVideoWidth, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *pVideoWidth = videoWidth();
  return S_OK;
}

STDMETHODIMP VideoRendererBase::get_VideoHeight(long* pVideoHeight) {
  CheckPointer(pVideoHeight, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *pVideoHeight = videoHeight();
  return S_OK;
}

STDMETHODIMP VideoRendererBase::GetVideoSize(long* pWidth, long* pHeight) {
  CheckPointer(pWidth, E_POINTER);
  CheckPointer(pHeight, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  *pWidth = videoWidth();
  *pHeight = videoHeight();
  return S_OK;
}

namespace {
// One edge of a rectangle, set or read keeping the others.
enum class Edge { Left, Width, Top, Height };
long edgeOf(const RECT& r, Edge e) {
  switch (e) {
    case Edge::Left: return r.left;
    case Edge::Width: return r.right - r.left;
    case Edge::Top: return r.top;
    case Edge::Height: return r.bottom - r.top;
  }
  return 0;
}
void setEdge(RECT& r, Edge e, long v) {
  switch (e) {
    case Edge::Left: r.right = v + (r.right - r.left); r.left = v; break;
    case Edge::Width: r.right = r.left + v; break;
    case Edge::Top: r.bottom = v + (r.bottom - r.top); r.top = v; break;
    case Edge::Height: r.bottom = r.top + v; break;
  }
}
}  // namespace

bool VideoRendererBase::validSource(const RECT& r) {
  return r.left >= 0 && r.top >= 0 && r.right > r.left && r.bottom > r.top && r.right <= videoWidth() &&
         r.bottom <= videoHeight();
}

bool VideoRendererBase::validDestination(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

#define ORVANE_RECT_EDGE(Name, rect, flag, edge, valid)                  \
  STDMETHODIMP VideoRendererBase::put_##Name(long v) {                   \
    CAutoLock lock(&m_lock);                                             \
    if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;      \
    RECT changed = rect;                                                 \
    setEdge(changed, edge, v);                                           \
    if (!valid(changed)) return E_INVALIDARG;                            \
    rect = changed;                                                      \
    flag = false;                                                        \
    return S_OK;                                                         \
  }                                                                      \
  STDMETHODIMP VideoRendererBase::get_##Name(long* v) {                  \
    CheckPointer(v, E_POINTER);                                          \
    CAutoLock lock(&m_lock);                                             \
    if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;      \
    *v = edgeOf(rect, edge);                                             \
    return S_OK;                                                         \
  }
ORVANE_RECT_EDGE(SourceLeft, m_source, m_defaultSource, Edge::Left, validSource)
ORVANE_RECT_EDGE(SourceWidth, m_source, m_defaultSource, Edge::Width, validSource)
ORVANE_RECT_EDGE(SourceTop, m_source, m_defaultSource, Edge::Top, validSource)
ORVANE_RECT_EDGE(SourceHeight, m_source, m_defaultSource, Edge::Height, validSource)
ORVANE_RECT_EDGE(DestinationLeft, m_destination, m_defaultDestination, Edge::Left, validDestination)
ORVANE_RECT_EDGE(DestinationWidth, m_destination, m_defaultDestination, Edge::Width, validDestination)
ORVANE_RECT_EDGE(DestinationTop, m_destination, m_defaultDestination, Edge::Top, validDestination)
ORVANE_RECT_EDGE(DestinationHeight, m_destination, m_defaultDestination, Edge::Height, validDestination)
#undef ORVANE_RECT_EDGE

HRESULT VideoRendererBase::setPosition(RECT& target, bool& isDefault, bool valid, const RECT& wanted) {
  if (!valid) return E_INVALIDARG;
  target = wanted;
  isDefault = false;
  return S_OK;
}

HRESULT VideoRendererBase::getPosition(const RECT& rect, long* pLeft, long* pTop, long* pWidth, long* pHeight) {
  CheckPointer(pLeft, E_POINTER);
  CheckPointer(pTop, E_POINTER);
  CheckPointer(pWidth, E_POINTER);
  CheckPointer(pHeight, E_POINTER);
  *pLeft = rect.left;
  *pTop = rect.top;
  *pWidth = rect.right - rect.left;
  *pHeight = rect.bottom - rect.top;
  return S_OK;
}

STDMETHODIMP VideoRendererBase::SetSourcePosition(long Left, long Top, long Width, long Height) {
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  const RECT wanted = rectOf(Left, Top, Width, Height);
  return setPosition(m_source, m_defaultSource, validSource(wanted), wanted);
}

STDMETHODIMP VideoRendererBase::GetSourcePosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) {
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  return getPosition(m_source, pLeft, pTop, pWidth, pHeight);
}

STDMETHODIMP VideoRendererBase::SetDefaultSourcePosition() {
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  m_source = {0, 0, videoWidth(), videoHeight()};
  m_defaultSource = true;
  return S_OK;
}

STDMETHODIMP VideoRendererBase::SetDestinationPosition(long Left, long Top, long Width, long Height) {
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  const RECT wanted = rectOf(Left, Top, Width, Height);
  return setPosition(m_destination, m_defaultDestination, validDestination(wanted), wanted);
}

STDMETHODIMP VideoRendererBase::GetDestinationPosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) {
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  return getPosition(m_destination, pLeft, pTop, pWidth, pHeight);
}

STDMETHODIMP VideoRendererBase::SetDefaultDestinationPosition() {
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  m_defaultDestination = true;
  place();
  return S_OK;
}

STDMETHODIMP VideoRendererBase::GetVideoPaletteEntries(long, long, long*, long*) { return VFW_E_NO_PALETTE_AVAILABLE; }

STDMETHODIMP VideoRendererBase::GetCurrentImage(long* pBufferSize, long* pDIBImage) {
  CheckPointer(pBufferSize, E_POINTER);
  CAutoLock lock(&m_lock);
  if (const HRESULT hr = checkConnected(); FAILED(hr)) return hr;
  const VideoSurface::Frame frame = m_surface->frame();
  if (frame.number == 0) return E_UNEXPECTED;
  const long bits = frame.width * frame.height * 4;
  const long needed = static_cast<long>(sizeof(BITMAPINFOHEADER)) + bits;
  if (!pDIBImage) {
    *pBufferSize = needed;
    return S_OK;
  }
  if (*pBufferSize < needed) return E_OUTOFMEMORY;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = frame.width;
  header.biHeight = frame.height;  // bottom-up
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(bits);
  auto* out = reinterpret_cast<BYTE*>(pDIBImage);
  std::memcpy(out, &header, sizeof(header));
  auto* pixels = reinterpret_cast<std::uint32_t*>(out + sizeof(header));
  for (int y = 0; y < frame.height; ++y)
    std::memcpy(pixels + static_cast<size_t>(frame.height - 1 - y) * static_cast<size_t>(frame.width),
                frame.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(frame.width),
                static_cast<size_t>(frame.width) * 4);
  *pBufferSize = needed;
  return S_OK;
}

STDMETHODIMP VideoRendererBase::IsUsingDefaultSource() {
  CAutoLock lock(&m_lock);
  return m_defaultSource ? S_OK : S_FALSE;
}

STDMETHODIMP VideoRendererBase::IsUsingDefaultDestination() {
  CAutoLock lock(&m_lock);
  return m_defaultDestination ? S_OK : S_FALSE;
}

}  // namespace plat
