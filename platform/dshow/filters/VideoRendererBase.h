// The base of the platform's video renderers: each frame is converted to 32-bit pixels
// and shown on the renderer's video surface, which the screen's compositor draws over
// the owner window (IVideoWindow: owner, style, position, visibility, full screen, the
// message drain). IBasicVideo reports the video's size and gives the current picture as
// a packed 32-bit DIB. As on Windows, the window calls need a connected input
// (VFW_E_NOT_CONNECTED otherwise). An auto-shown window becomes visible when the graph
// pauses or runs. The derived renderers choose the formats they take.
//
// Hidden or given to another owner, the picture leaves its last frame in the window it
// was shown over, and that area is invalidated: on Windows the renderer's window goes and
// the screen keeps those pixels until the window beneath paints there, which a video area
// that paints nothing never does.
#pragma once

#include <dshow/amvideo.h>
#include <dshow/control.h>
#include <dshow/filters/RendererBase.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace plat {

class VideoSurface;

class VideoRendererBase : public RendererBase, public IVideoWindow, public IBasicVideo {
 public:
  VideoRendererBase(const char* name, LPUNKNOWN outer, REFCLSID clsid, HRESULT* phr, std::vector<GUID> subtypes);
  ~VideoRendererBase() override;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT SetMediaType(const CMediaType* pmt) override;
  HRESULT render(IMediaSample* sample) override;
  STDMETHODIMP Pause() override;

  // IDispatch (no type library)
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }

  // IVideoWindow
  STDMETHODIMP put_Caption(BSTR strCaption) override;
  STDMETHODIMP get_Caption(BSTR* strCaption) override;
  STDMETHODIMP put_WindowStyle(long WindowStyle) override;
  STDMETHODIMP get_WindowStyle(long* WindowStyle) override;
  STDMETHODIMP put_WindowStyleEx(long WindowStyleEx) override;
  STDMETHODIMP get_WindowStyleEx(long* WindowStyleEx) override;
  STDMETHODIMP put_AutoShow(long AutoShow) override;
  STDMETHODIMP get_AutoShow(long* AutoShow) override;
  STDMETHODIMP put_WindowState(long WindowState) override;
  STDMETHODIMP get_WindowState(long* WindowState) override;
  STDMETHODIMP put_BackgroundPalette(long BackgroundPalette) override;
  STDMETHODIMP get_BackgroundPalette(long* pBackgroundPalette) override;
  STDMETHODIMP put_Visible(long Visible) override;
  STDMETHODIMP get_Visible(long* pVisible) override;
  STDMETHODIMP put_Left(long Left) override;
  STDMETHODIMP get_Left(long* pLeft) override;
  STDMETHODIMP put_Width(long Width) override;
  STDMETHODIMP get_Width(long* pWidth) override;
  STDMETHODIMP put_Top(long Top) override;
  STDMETHODIMP get_Top(long* pTop) override;
  STDMETHODIMP put_Height(long Height) override;
  STDMETHODIMP get_Height(long* pHeight) override;
  STDMETHODIMP put_Owner(OAHWND Owner) override;
  STDMETHODIMP get_Owner(OAHWND* Owner) override;
  STDMETHODIMP put_MessageDrain(OAHWND Drain) override;
  STDMETHODIMP get_MessageDrain(OAHWND* Drain) override;
  STDMETHODIMP get_BorderColor(long* Color) override;
  STDMETHODIMP put_BorderColor(long Color) override;
  STDMETHODIMP get_FullScreenMode(long* FullScreenMode) override;
  STDMETHODIMP put_FullScreenMode(long FullScreenMode) override;
  STDMETHODIMP SetWindowForeground(long Focus) override;
  STDMETHODIMP NotifyOwnerMessage(OAHWND hwnd, long uMsg, LONG_PTR wParam, LONG_PTR lParam) override;
  STDMETHODIMP SetWindowPosition(long Left, long Top, long Width, long Height) override;
  STDMETHODIMP GetWindowPosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) override;
  STDMETHODIMP GetMinIdealImageSize(long* pWidth, long* pHeight) override;
  STDMETHODIMP GetMaxIdealImageSize(long* pWidth, long* pHeight) override;
  STDMETHODIMP GetRestorePosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) override;
  STDMETHODIMP HideCursor(long HideCursor) override;
  STDMETHODIMP IsCursorHidden(long* CursorHidden) override;

  // IBasicVideo
  STDMETHODIMP get_AvgTimePerFrame(REFTIME* pAvgTimePerFrame) override;
  STDMETHODIMP get_BitRate(long* pBitRate) override;
  STDMETHODIMP get_BitErrorRate(long* pBitErrorRate) override;
  STDMETHODIMP get_VideoWidth(long* pVideoWidth) override;
  STDMETHODIMP get_VideoHeight(long* pVideoHeight) override;
  STDMETHODIMP put_SourceLeft(long v) override;
  STDMETHODIMP get_SourceLeft(long* v) override;
  STDMETHODIMP put_SourceWidth(long v) override;
  STDMETHODIMP get_SourceWidth(long* v) override;
  STDMETHODIMP put_SourceTop(long v) override;
  STDMETHODIMP get_SourceTop(long* v) override;
  STDMETHODIMP put_SourceHeight(long v) override;
  STDMETHODIMP get_SourceHeight(long* v) override;
  STDMETHODIMP put_DestinationLeft(long v) override;
  STDMETHODIMP get_DestinationLeft(long* v) override;
  STDMETHODIMP put_DestinationWidth(long v) override;
  STDMETHODIMP get_DestinationWidth(long* v) override;
  STDMETHODIMP put_DestinationTop(long v) override;
  STDMETHODIMP get_DestinationTop(long* v) override;
  STDMETHODIMP put_DestinationHeight(long v) override;
  STDMETHODIMP get_DestinationHeight(long* v) override;
  STDMETHODIMP SetSourcePosition(long Left, long Top, long Width, long Height) override;
  STDMETHODIMP GetSourcePosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) override;
  STDMETHODIMP SetDefaultSourcePosition() override;
  STDMETHODIMP SetDestinationPosition(long Left, long Top, long Width, long Height) override;
  STDMETHODIMP GetDestinationPosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) override;
  STDMETHODIMP SetDefaultDestinationPosition() override;
  STDMETHODIMP GetVideoSize(long* pWidth, long* pHeight) override;
  STDMETHODIMP GetVideoPaletteEntries(long StartIndex, long Entries, long* pRetrieved, long* pPalette) override;
  STDMETHODIMP GetCurrentImage(long* pBufferSize, long* pDIBImage) override;
  STDMETHODIMP IsUsingDefaultSource() override;
  STDMETHODIMP IsUsingDefaultDestination() override;

  const std::shared_ptr<VideoSurface>& surface() const { return m_surface; }

 private:
  struct Window {
    std::wstring caption = L"ActiveMovie Window";
    long style = 0x06CF0000;  // WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
    long styleEx = 0;
    long autoShow = OATRUE;
    long state = 1;  // SW_SHOWNORMAL
    long backgroundPalette = OAFALSE;
    long visible = OAFALSE;
    RECT rect{0, 0, 0, 0};
    OAHWND owner = 0;
    OAHWND drain = 0;
    long borderColor = 0;
    long fullScreen = OAFALSE;
    long cursorHidden = OAFALSE;
  };

  HRESULT checkConnected();
  // Keeps the surface's placement in step with the window's properties, and a default
  // destination filling the window.
  void place();
  // A source rectangle lies inside the video; a destination is not empty.
  bool validSource(const RECT& r);
  static bool validDestination(const RECT& r);
  // The source and destination positions share their reading and writing.
  HRESULT setPosition(RECT& target, bool& isDefault, bool valid, const RECT& wanted);
  HRESULT getPosition(const RECT& rect, long* pLeft, long* pTop, long* pWidth, long* pHeight);
  template <class T>
  HRESULT setWindow(T Window::*field, std::type_identity_t<T> value);
  // After a change of the window's properties: the last frame drawn where a picture shown
  // over `owner` at `rect` no longer is, and that area invalidated.
  void leaveLastFrame(HWND owner, const RECT& rect);
  template <class T>
  HRESULT getWindow(T Window::*field, T* out);
  LONG videoWidth();
  LONG videoHeight();

  std::vector<GUID> m_subtypes;
  std::shared_ptr<VideoSurface> m_surface;
  Window m_window;
  RECT m_source{0, 0, 0, 0};
  RECT m_destination{0, 0, 0, 0};
  bool m_defaultSource = true;
  bool m_defaultDestination = true;
};

}  // namespace plat
