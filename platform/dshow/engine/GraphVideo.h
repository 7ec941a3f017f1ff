// The graph's IVideoWindow and IBasicVideo: every call goes to the first filter of the
// graph that offers the interface (its video renderer). Without one the calls fail with
// E_NOINTERFACE, so "all calls returned S_OK" means a renderer took them.
#pragma once

#include <com/ComPtr.h>
#include <dshow/engine/GraphPart.h>

namespace plat {

class FilterGraph;

class GraphVideo : public IVideoWindow, public IBasicVideo {
 public:
  explicit GraphVideo(FilterGraph& graph);
  GraphVideo(const GraphVideo&) = delete;
  GraphVideo& operator=(const GraphVideo&) = delete;

  ORVANE_GRAPH_PART_IUNKNOWN
  ORVANE_NO_DISPATCH

  // IVideoWindow
  STDMETHODIMP put_Caption(BSTR v) override { return window(&IVideoWindow::put_Caption, v); }
  STDMETHODIMP get_Caption(BSTR* v) override { return window(&IVideoWindow::get_Caption, v); }
  STDMETHODIMP put_WindowStyle(long v) override { return window(&IVideoWindow::put_WindowStyle, v); }
  STDMETHODIMP get_WindowStyle(long* v) override { return window(&IVideoWindow::get_WindowStyle, v); }
  STDMETHODIMP put_WindowStyleEx(long v) override { return window(&IVideoWindow::put_WindowStyleEx, v); }
  STDMETHODIMP get_WindowStyleEx(long* v) override { return window(&IVideoWindow::get_WindowStyleEx, v); }
  STDMETHODIMP put_AutoShow(long v) override { return window(&IVideoWindow::put_AutoShow, v); }
  STDMETHODIMP get_AutoShow(long* v) override { return window(&IVideoWindow::get_AutoShow, v); }
  STDMETHODIMP put_WindowState(long v) override { return window(&IVideoWindow::put_WindowState, v); }
  STDMETHODIMP get_WindowState(long* v) override { return window(&IVideoWindow::get_WindowState, v); }
  STDMETHODIMP put_BackgroundPalette(long v) override { return window(&IVideoWindow::put_BackgroundPalette, v); }
  STDMETHODIMP get_BackgroundPalette(long* v) override { return window(&IVideoWindow::get_BackgroundPalette, v); }
  STDMETHODIMP put_Visible(long v) override { return window(&IVideoWindow::put_Visible, v); }
  STDMETHODIMP get_Visible(long* v) override { return window(&IVideoWindow::get_Visible, v); }
  STDMETHODIMP put_Left(long v) override { return window(&IVideoWindow::put_Left, v); }
  STDMETHODIMP get_Left(long* v) override { return window(&IVideoWindow::get_Left, v); }
  STDMETHODIMP put_Width(long v) override { return window(&IVideoWindow::put_Width, v); }
  STDMETHODIMP get_Width(long* v) override { return window(&IVideoWindow::get_Width, v); }
  STDMETHODIMP put_Top(long v) override { return window(&IVideoWindow::put_Top, v); }
  STDMETHODIMP get_Top(long* v) override { return window(&IVideoWindow::get_Top, v); }
  STDMETHODIMP put_Height(long v) override { return window(&IVideoWindow::put_Height, v); }
  STDMETHODIMP get_Height(long* v) override { return window(&IVideoWindow::get_Height, v); }
  STDMETHODIMP put_Owner(OAHWND v) override { return window(&IVideoWindow::put_Owner, v); }
  STDMETHODIMP get_Owner(OAHWND* v) override { return window(&IVideoWindow::get_Owner, v); }
  STDMETHODIMP put_MessageDrain(OAHWND v) override { return window(&IVideoWindow::put_MessageDrain, v); }
  STDMETHODIMP get_MessageDrain(OAHWND* v) override { return window(&IVideoWindow::get_MessageDrain, v); }
  STDMETHODIMP get_BorderColor(long* v) override { return window(&IVideoWindow::get_BorderColor, v); }
  STDMETHODIMP put_BorderColor(long v) override { return window(&IVideoWindow::put_BorderColor, v); }
  STDMETHODIMP get_FullScreenMode(long* v) override { return window(&IVideoWindow::get_FullScreenMode, v); }
  STDMETHODIMP put_FullScreenMode(long v) override { return window(&IVideoWindow::put_FullScreenMode, v); }
  STDMETHODIMP SetWindowForeground(long v) override { return window(&IVideoWindow::SetWindowForeground, v); }
  STDMETHODIMP NotifyOwnerMessage(OAHWND hwnd, long msg, LONG_PTR wp, LONG_PTR lp) override {
    return window(&IVideoWindow::NotifyOwnerMessage, hwnd, msg, wp, lp);
  }
  STDMETHODIMP SetWindowPosition(long l, long t, long w, long h) override {
    return window(&IVideoWindow::SetWindowPosition, l, t, w, h);
  }
  STDMETHODIMP GetWindowPosition(long* l, long* t, long* w, long* h) override {
    return window(&IVideoWindow::GetWindowPosition, l, t, w, h);
  }
  STDMETHODIMP GetMinIdealImageSize(long* w, long* h) override { return window(&IVideoWindow::GetMinIdealImageSize, w, h); }
  STDMETHODIMP GetMaxIdealImageSize(long* w, long* h) override { return window(&IVideoWindow::GetMaxIdealImageSize, w, h); }
  STDMETHODIMP GetRestorePosition(long* l, long* t, long* w, long* h) override {
    return window(&IVideoWindow::GetRestorePosition, l, t, w, h);
  }
  STDMETHODIMP HideCursor(long v) override { return window(&IVideoWindow::HideCursor, v); }
  STDMETHODIMP IsCursorHidden(long* v) override { return window(&IVideoWindow::IsCursorHidden, v); }

  // IBasicVideo
  STDMETHODIMP get_AvgTimePerFrame(REFTIME* v) override { return video(&IBasicVideo::get_AvgTimePerFrame, v); }
  STDMETHODIMP get_BitRate(long* v) override { return video(&IBasicVideo::get_BitRate, v); }
  STDMETHODIMP get_BitErrorRate(long* v) override { return video(&IBasicVideo::get_BitErrorRate, v); }
  STDMETHODIMP get_VideoWidth(long* v) override { return video(&IBasicVideo::get_VideoWidth, v); }
  STDMETHODIMP get_VideoHeight(long* v) override { return video(&IBasicVideo::get_VideoHeight, v); }
  STDMETHODIMP put_SourceLeft(long v) override { return video(&IBasicVideo::put_SourceLeft, v); }
  STDMETHODIMP get_SourceLeft(long* v) override { return video(&IBasicVideo::get_SourceLeft, v); }
  STDMETHODIMP put_SourceWidth(long v) override { return video(&IBasicVideo::put_SourceWidth, v); }
  STDMETHODIMP get_SourceWidth(long* v) override { return video(&IBasicVideo::get_SourceWidth, v); }
  STDMETHODIMP put_SourceTop(long v) override { return video(&IBasicVideo::put_SourceTop, v); }
  STDMETHODIMP get_SourceTop(long* v) override { return video(&IBasicVideo::get_SourceTop, v); }
  STDMETHODIMP put_SourceHeight(long v) override { return video(&IBasicVideo::put_SourceHeight, v); }
  STDMETHODIMP get_SourceHeight(long* v) override { return video(&IBasicVideo::get_SourceHeight, v); }
  STDMETHODIMP put_DestinationLeft(long v) override { return video(&IBasicVideo::put_DestinationLeft, v); }
  STDMETHODIMP get_DestinationLeft(long* v) override { return video(&IBasicVideo::get_DestinationLeft, v); }
  STDMETHODIMP put_DestinationWidth(long v) override { return video(&IBasicVideo::put_DestinationWidth, v); }
  STDMETHODIMP get_DestinationWidth(long* v) override { return video(&IBasicVideo::get_DestinationWidth, v); }
  STDMETHODIMP put_DestinationTop(long v) override { return video(&IBasicVideo::put_DestinationTop, v); }
  STDMETHODIMP get_DestinationTop(long* v) override { return video(&IBasicVideo::get_DestinationTop, v); }
  STDMETHODIMP put_DestinationHeight(long v) override { return video(&IBasicVideo::put_DestinationHeight, v); }
  STDMETHODIMP get_DestinationHeight(long* v) override { return video(&IBasicVideo::get_DestinationHeight, v); }
  STDMETHODIMP SetSourcePosition(long l, long t, long w, long h) override {
    return video(&IBasicVideo::SetSourcePosition, l, t, w, h);
  }
  STDMETHODIMP GetSourcePosition(long* l, long* t, long* w, long* h) override {
    return video(&IBasicVideo::GetSourcePosition, l, t, w, h);
  }
  STDMETHODIMP SetDefaultSourcePosition() override { return video(&IBasicVideo::SetDefaultSourcePosition); }
  STDMETHODIMP SetDestinationPosition(long l, long t, long w, long h) override {
    return video(&IBasicVideo::SetDestinationPosition, l, t, w, h);
  }
  STDMETHODIMP GetDestinationPosition(long* l, long* t, long* w, long* h) override {
    return video(&IBasicVideo::GetDestinationPosition, l, t, w, h);
  }
  STDMETHODIMP SetDefaultDestinationPosition() override { return video(&IBasicVideo::SetDefaultDestinationPosition); }
  STDMETHODIMP GetVideoSize(long* w, long* h) override { return video(&IBasicVideo::GetVideoSize, w, h); }
  STDMETHODIMP GetVideoPaletteEntries(long s, long n, long* r, long* p) override {
    return video(&IBasicVideo::GetVideoPaletteEntries, s, n, r, p);
  }
  STDMETHODIMP GetCurrentImage(long* size, long* image) override { return video(&IBasicVideo::GetCurrentImage, size, image); }
  STDMETHODIMP IsUsingDefaultSource() override { return video(&IBasicVideo::IsUsingDefaultSource); }
  STDMETHODIMP IsUsingDefaultDestination() override { return video(&IBasicVideo::IsUsingDefaultDestination); }

 private:
  // The interface of the first filter of the graph offering it, or null.
  template <class Itf>
  ComPtr<Itf> renderer(REFIID iid);

  template <class... Params, class... Args>
  HRESULT window(HRESULT (STDMETHODCALLTYPE IVideoWindow::*method)(Params...), Args... args) {
    ComPtr<IVideoWindow> target = renderer<IVideoWindow>(IID_IVideoWindow);
    if (!target) return E_NOINTERFACE;
    return (target.get()->*method)(args...);
  }
  template <class... Params, class... Args>
  HRESULT video(HRESULT (STDMETHODCALLTYPE IBasicVideo::*method)(Params...), Args... args) {
    ComPtr<IBasicVideo> target = renderer<IBasicVideo>(IID_IBasicVideo);
    if (!target) return E_NOINTERFACE;
    return (target.get()->*method)(args...);
  }

  FilterGraph& m_graph;
  IUnknown* m_owner;
};

}  // namespace plat
