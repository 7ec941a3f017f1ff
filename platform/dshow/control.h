// The graph's automation interfaces: run control, events, positions in seconds, the
// video window, video and audio properties. They derive from IDispatch as on Windows;
// the graph answers their dispatch methods with E_NOTIMPL (no type library here).
// IDispatch itself is automation's (com/oaidl.h).
#pragma once

#include <com/oaidl.h>
#include <dshow/strmif.h>

using OAFilterState = long;
using OAHWND = LONG_PTR;
using OAEVENT = LONG_PTR;
#define OATRUE (-1)
#define OAFALSE (0)

// {56A868B1-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IMediaControl, 0x56A868B1, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IMediaControl : public IDispatch {
  STDMETHOD(Run)() = 0;
  STDMETHOD(Pause)() = 0;
  STDMETHOD(Stop)() = 0;
  STDMETHOD(GetState)(LONG msTimeout, OAFilterState* pfs) = 0;
  STDMETHOD(RenderFile)(BSTR strFilename) = 0;
  STDMETHOD(AddSourceFilter)(BSTR strFilename, IDispatch** ppUnk) = 0;
  STDMETHOD(get_FilterCollection)(IDispatch** ppUnk) = 0;
  STDMETHOD(get_RegFilterCollection)(IDispatch** ppUnk) = 0;
  STDMETHOD(StopWhenReady)() = 0;

 protected:
  ~IMediaControl() = default;
};

// {56A868B6-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IMediaEvent, 0x56A868B6, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IMediaEvent : public IDispatch {
  STDMETHOD(GetEventHandle)(OAEVENT* hEvent) = 0;
  STDMETHOD(GetEvent)(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, long msTimeout) = 0;
  STDMETHOD(WaitForCompletion)(long msTimeout, long* pEvCode) = 0;
  STDMETHOD(CancelDefaultHandling)(long lEvCode) = 0;
  STDMETHOD(RestoreDefaultHandling)(long lEvCode) = 0;
  STDMETHOD(FreeEventParams)(long lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) = 0;

 protected:
  ~IMediaEvent() = default;
};

#define AM_MEDIAEVENT_NONOTIFY 0x01
// {56A868C0-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IMediaEventEx, 0x56A868C0, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IMediaEventEx : public IMediaEvent {
  STDMETHOD(SetNotifyWindow)(OAHWND hwnd, long lMsg, LONG_PTR lInstanceData) = 0;
  STDMETHOD(SetNotifyFlags)(long lNoNotifyFlags) = 0;
  STDMETHOD(GetNotifyFlags)(long* lplNoNotifyFlags) = 0;

 protected:
  ~IMediaEventEx() = default;
};

// {56A868B2-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IMediaPosition, 0x56A868B2, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IMediaPosition : public IDispatch {
  STDMETHOD(get_Duration)(REFTIME* plength) = 0;
  STDMETHOD(put_CurrentPosition)(REFTIME llTime) = 0;
  STDMETHOD(get_CurrentPosition)(REFTIME* pllTime) = 0;
  STDMETHOD(get_StopTime)(REFTIME* pllTime) = 0;
  STDMETHOD(put_StopTime)(REFTIME llTime) = 0;
  STDMETHOD(get_PrerollTime)(REFTIME* pllTime) = 0;
  STDMETHOD(put_PrerollTime)(REFTIME llTime) = 0;
  STDMETHOD(put_Rate)(double dRate) = 0;
  STDMETHOD(get_Rate)(double* pdRate) = 0;
  STDMETHOD(CanSeekForward)(LONG* pCanSeekForward) = 0;
  STDMETHOD(CanSeekBackward)(LONG* pCanSeekBackward) = 0;

 protected:
  ~IMediaPosition() = default;
};

// {56A868B3-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IBasicAudio, 0x56A868B3, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IBasicAudio : public IDispatch {
  // Volume in hundredths of a decibel, 0 (full) to -10000; balance -10000 (left) to 10000.
  STDMETHOD(put_Volume)(long lVolume) = 0;
  STDMETHOD(get_Volume)(long* plVolume) = 0;
  STDMETHOD(put_Balance)(long lBalance) = 0;
  STDMETHOD(get_Balance)(long* plBalance) = 0;

 protected:
  ~IBasicAudio() = default;
};

// {56A868B4-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IVideoWindow, 0x56A868B4, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IVideoWindow : public IDispatch {
  STDMETHOD(put_Caption)(BSTR strCaption) = 0;
  STDMETHOD(get_Caption)(BSTR* strCaption) = 0;
  STDMETHOD(put_WindowStyle)(long WindowStyle) = 0;
  STDMETHOD(get_WindowStyle)(long* WindowStyle) = 0;
  STDMETHOD(put_WindowStyleEx)(long WindowStyleEx) = 0;
  STDMETHOD(get_WindowStyleEx)(long* WindowStyleEx) = 0;
  STDMETHOD(put_AutoShow)(long AutoShow) = 0;
  STDMETHOD(get_AutoShow)(long* AutoShow) = 0;
  STDMETHOD(put_WindowState)(long WindowState) = 0;
  STDMETHOD(get_WindowState)(long* WindowState) = 0;
  STDMETHOD(put_BackgroundPalette)(long BackgroundPalette) = 0;
  STDMETHOD(get_BackgroundPalette)(long* pBackgroundPalette) = 0;
  STDMETHOD(put_Visible)(long Visible) = 0;
  STDMETHOD(get_Visible)(long* pVisible) = 0;
  STDMETHOD(put_Left)(long Left) = 0;
  STDMETHOD(get_Left)(long* pLeft) = 0;
  STDMETHOD(put_Width)(long Width) = 0;
  STDMETHOD(get_Width)(long* pWidth) = 0;
  STDMETHOD(put_Top)(long Top) = 0;
  STDMETHOD(get_Top)(long* pTop) = 0;
  STDMETHOD(put_Height)(long Height) = 0;
  STDMETHOD(get_Height)(long* pHeight) = 0;
  STDMETHOD(put_Owner)(OAHWND Owner) = 0;
  STDMETHOD(get_Owner)(OAHWND* Owner) = 0;
  STDMETHOD(put_MessageDrain)(OAHWND Drain) = 0;
  STDMETHOD(get_MessageDrain)(OAHWND* Drain) = 0;
  STDMETHOD(get_BorderColor)(long* Color) = 0;
  STDMETHOD(put_BorderColor)(long Color) = 0;
  STDMETHOD(get_FullScreenMode)(long* FullScreenMode) = 0;
  STDMETHOD(put_FullScreenMode)(long FullScreenMode) = 0;
  STDMETHOD(SetWindowForeground)(long Focus) = 0;
  STDMETHOD(NotifyOwnerMessage)(OAHWND hwnd, long uMsg, LONG_PTR wParam, LONG_PTR lParam) = 0;
  STDMETHOD(SetWindowPosition)(long Left, long Top, long Width, long Height) = 0;
  STDMETHOD(GetWindowPosition)(long* pLeft, long* pTop, long* pWidth, long* pHeight) = 0;
  STDMETHOD(GetMinIdealImageSize)(long* pWidth, long* pHeight) = 0;
  STDMETHOD(GetMaxIdealImageSize)(long* pWidth, long* pHeight) = 0;
  STDMETHOD(GetRestorePosition)(long* pLeft, long* pTop, long* pWidth, long* pHeight) = 0;
  STDMETHOD(HideCursor)(long HideCursor) = 0;
  STDMETHOD(IsCursorHidden)(long* CursorHidden) = 0;

 protected:
  ~IVideoWindow() = default;
};

// {56A868B5-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IBasicVideo, 0x56A868B5, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IBasicVideo : public IDispatch {
  STDMETHOD(get_AvgTimePerFrame)(REFTIME* pAvgTimePerFrame) = 0;
  STDMETHOD(get_BitRate)(long* pBitRate) = 0;
  STDMETHOD(get_BitErrorRate)(long* pBitErrorRate) = 0;
  STDMETHOD(get_VideoWidth)(long* pVideoWidth) = 0;
  STDMETHOD(get_VideoHeight)(long* pVideoHeight) = 0;
  STDMETHOD(put_SourceLeft)(long SourceLeft) = 0;
  STDMETHOD(get_SourceLeft)(long* pSourceLeft) = 0;
  STDMETHOD(put_SourceWidth)(long SourceWidth) = 0;
  STDMETHOD(get_SourceWidth)(long* pSourceWidth) = 0;
  STDMETHOD(put_SourceTop)(long SourceTop) = 0;
  STDMETHOD(get_SourceTop)(long* pSourceTop) = 0;
  STDMETHOD(put_SourceHeight)(long SourceHeight) = 0;
  STDMETHOD(get_SourceHeight)(long* pSourceHeight) = 0;
  STDMETHOD(put_DestinationLeft)(long DestinationLeft) = 0;
  STDMETHOD(get_DestinationLeft)(long* pDestinationLeft) = 0;
  STDMETHOD(put_DestinationWidth)(long DestinationWidth) = 0;
  STDMETHOD(get_DestinationWidth)(long* pDestinationWidth) = 0;
  STDMETHOD(put_DestinationTop)(long DestinationTop) = 0;
  STDMETHOD(get_DestinationTop)(long* pDestinationTop) = 0;
  STDMETHOD(put_DestinationHeight)(long DestinationHeight) = 0;
  STDMETHOD(get_DestinationHeight)(long* pDestinationHeight) = 0;
  STDMETHOD(SetSourcePosition)(long Left, long Top, long Width, long Height) = 0;
  STDMETHOD(GetSourcePosition)(long* pLeft, long* pTop, long* pWidth, long* pHeight) = 0;
  STDMETHOD(SetDefaultSourcePosition)() = 0;
  STDMETHOD(SetDestinationPosition)(long Left, long Top, long Width, long Height) = 0;
  STDMETHOD(GetDestinationPosition)(long* pLeft, long* pTop, long* pWidth, long* pHeight) = 0;
  STDMETHOD(SetDefaultDestinationPosition)() = 0;
  STDMETHOD(GetVideoSize)(long* pWidth, long* pHeight) = 0;
  STDMETHOD(GetVideoPaletteEntries)(long StartIndex, long Entries, long* pRetrieved, long* pPalette) = 0;
  // A packed DIB (BITMAPINFOHEADER then the bits) of the current picture; a null buffer asks the size.
  STDMETHOD(GetCurrentImage)(long* pBufferSize, long* pDIBImage) = 0;
  STDMETHOD(IsUsingDefaultSource)() = 0;
  STDMETHOD(IsUsingDefaultDestination)() = 0;

 protected:
  ~IBasicVideo() = default;
};
