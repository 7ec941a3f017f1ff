// The core interfaces of filter graphs: pins and their media types, filters, the graph,
// clocks, samples and allocators, seeking. Declared in Windows' vtable order, so a
// module built against this header calls the right slot of an object built elsewhere.
#pragma once

#include <com/objidl.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>

using REFERENCE_TIME = LONGLONG;  // 100-nanosecond units
using REFTIME = double;           // seconds
using HEVENT = DWORD_PTR;
using HSEMAPHORE = DWORD_PTR;

#define MAX_FILTER_NAME 128
#define MAX_PIN_NAME 128

struct AM_MEDIA_TYPE {
  GUID majortype;
  GUID subtype;
  BOOL bFixedSizeSamples;
  BOOL bTemporalCompression;
  ULONG lSampleSize;
  GUID formattype;
  IUnknown* pUnk;
  ULONG cbFormat;
  BYTE* pbFormat;
};

enum PIN_DIRECTION { PINDIR_INPUT = 0, PINDIR_OUTPUT = 1 };
enum FILTER_STATE { State_Stopped = 0, State_Paused = 1, State_Running = 2 };

struct IBaseFilter;
struct IFilterGraph;
struct IPin;
struct IEnumPins;
struct IEnumMediaTypes;
struct IEnumFilters;
struct IReferenceClock;
struct IMediaSample;
struct IMemAllocator;

struct PIN_INFO {
  IBaseFilter* pFilter;  // counted reference for the caller
  PIN_DIRECTION dir;
  WCHAR achName[MAX_PIN_NAME];
};

struct FILTER_INFO {
  WCHAR achName[MAX_FILTER_NAME];
  IFilterGraph* pGraph;  // counted reference for the caller, or null
};

struct ALLOCATOR_PROPERTIES {
  long cBuffers;
  long cbBuffer;
  long cbAlign;
  long cbPrefix;
};

enum QualityMessageType { Famine = 0, Flood = 1 };
struct Quality {
  QualityMessageType Type;
  long Proportion;  // 1000 = keeping up
  REFERENCE_TIME Late;
  REFERENCE_TIME TimeStamp;
};

// {56A86891-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IPin, 0x56A86891, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IPin : public IUnknown {
  STDMETHOD(Connect)(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) = 0;
  STDMETHOD(ReceiveConnection)(IPin* pConnector, const AM_MEDIA_TYPE* pmt) = 0;
  STDMETHOD(Disconnect)() = 0;
  STDMETHOD(ConnectedTo)(IPin** pPin) = 0;
  STDMETHOD(ConnectionMediaType)(AM_MEDIA_TYPE* pmt) = 0;
  STDMETHOD(QueryPinInfo)(PIN_INFO* pInfo) = 0;
  STDMETHOD(QueryDirection)(PIN_DIRECTION* pPinDir) = 0;
  STDMETHOD(QueryId)(LPWSTR* Id) = 0;
  STDMETHOD(QueryAccept)(const AM_MEDIA_TYPE* pmt) = 0;
  STDMETHOD(EnumMediaTypes)(IEnumMediaTypes** ppEnum) = 0;
  STDMETHOD(QueryInternalConnections)(IPin** apPin, ULONG* nPin) = 0;
  STDMETHOD(EndOfStream)() = 0;
  STDMETHOD(BeginFlush)() = 0;
  STDMETHOD(EndFlush)() = 0;
  STDMETHOD(NewSegment)(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) = 0;

 protected:
  ~IPin() = default;
};

// {56A86892-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IEnumPins, 0x56A86892, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IEnumPins : public IUnknown {
  STDMETHOD(Next)(ULONG cPins, IPin** ppPins, ULONG* pcFetched) = 0;
  STDMETHOD(Skip)(ULONG cPins) = 0;
  STDMETHOD(Reset)() = 0;
  STDMETHOD(Clone)(IEnumPins** ppEnum) = 0;

 protected:
  ~IEnumPins() = default;
};

// {89C31040-846B-11CE-97D3-00AA0055595A}
DEFINE_GUID(IID_IEnumMediaTypes, 0x89C31040, 0x846B, 0x11CE, 0x97, 0xD3, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A);
struct IEnumMediaTypes : public IUnknown {
  // Each type returned is allocated with CoTaskMemAlloc; free it with DeleteMediaType.
  STDMETHOD(Next)(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched) = 0;
  STDMETHOD(Skip)(ULONG cMediaTypes) = 0;
  STDMETHOD(Reset)() = 0;
  STDMETHOD(Clone)(IEnumMediaTypes** ppEnum) = 0;

 protected:
  ~IEnumMediaTypes() = default;
};

// {56A8689F-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IFilterGraph, 0x56A8689F, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IFilterGraph : public IUnknown {
  STDMETHOD(AddFilter)(IBaseFilter* pFilter, LPCWSTR pName) = 0;
  STDMETHOD(RemoveFilter)(IBaseFilter* pFilter) = 0;
  STDMETHOD(EnumFilters)(IEnumFilters** ppEnum) = 0;
  STDMETHOD(FindFilterByName)(LPCWSTR pName, IBaseFilter** ppFilter) = 0;
  STDMETHOD(ConnectDirect)(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) = 0;
  STDMETHOD(Reconnect)(IPin* ppin) = 0;
  STDMETHOD(Disconnect)(IPin* ppin) = 0;
  STDMETHOD(SetDefaultSyncSource)() = 0;

 protected:
  ~IFilterGraph() = default;
};

// {56A86893-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IEnumFilters, 0x56A86893, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IEnumFilters : public IUnknown {
  STDMETHOD(Next)(ULONG cFilters, IBaseFilter** ppFilter, ULONG* pcFetched) = 0;
  STDMETHOD(Skip)(ULONG cFilters) = 0;
  STDMETHOD(Reset)() = 0;
  STDMETHOD(Clone)(IEnumFilters** ppEnum) = 0;

 protected:
  ~IEnumFilters() = default;
};

// {56A86899-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IMediaFilter, 0x56A86899, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IMediaFilter : public IPersist {
  STDMETHOD(Stop)() = 0;
  STDMETHOD(Pause)() = 0;
  STDMETHOD(Run)(REFERENCE_TIME tStart) = 0;
  STDMETHOD(GetState)(DWORD dwMilliSecsTimeout, FILTER_STATE* State) = 0;
  STDMETHOD(SetSyncSource)(IReferenceClock* pClock) = 0;
  STDMETHOD(GetSyncSource)(IReferenceClock** pClock) = 0;

 protected:
  ~IMediaFilter() = default;
};

// {56A86895-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IBaseFilter, 0x56A86895, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IBaseFilter : public IMediaFilter {
  STDMETHOD(EnumPins)(IEnumPins** ppEnum) = 0;
  STDMETHOD(FindPin)(LPCWSTR Id, IPin** ppPin) = 0;
  STDMETHOD(QueryFilterInfo)(FILTER_INFO* pInfo) = 0;
  STDMETHOD(JoinFilterGraph)(IFilterGraph* pGraph, LPCWSTR pName) = 0;
  STDMETHOD(QueryVendorInfo)(LPWSTR* pVendorInfo) = 0;

 protected:
  ~IBaseFilter() = default;
};

// {56A86897-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IReferenceClock, 0x56A86897, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IReferenceClock : public IUnknown {
  STDMETHOD(GetTime)(REFERENCE_TIME* pTime) = 0;
  STDMETHOD(AdviseTime)(REFERENCE_TIME baseTime, REFERENCE_TIME streamTime, HEVENT hEvent, DWORD_PTR* pdwAdviseCookie) = 0;
  STDMETHOD(AdvisePeriodic)(REFERENCE_TIME startTime, REFERENCE_TIME periodTime, HSEMAPHORE hSemaphore,
                            DWORD_PTR* pdwAdviseCookie) = 0;
  STDMETHOD(Unadvise)(DWORD_PTR dwAdviseCookie) = 0;

 protected:
  ~IReferenceClock() = default;
};

// {56A8689A-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IMediaSample, 0x56A8689A, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IMediaSample : public IUnknown {
  STDMETHOD(GetPointer)(BYTE** ppBuffer) = 0;
  STDMETHOD_(long, GetSize)() = 0;
  STDMETHOD(GetTime)(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) = 0;
  STDMETHOD(SetTime)(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) = 0;
  STDMETHOD(IsSyncPoint)() = 0;
  STDMETHOD(SetSyncPoint)(BOOL bIsSyncPoint) = 0;
  STDMETHOD(IsPreroll)() = 0;
  STDMETHOD(SetPreroll)(BOOL bIsPreroll) = 0;
  STDMETHOD_(long, GetActualDataLength)() = 0;
  STDMETHOD(SetActualDataLength)(long length) = 0;
  STDMETHOD(GetMediaType)(AM_MEDIA_TYPE** ppMediaType) = 0;
  STDMETHOD(SetMediaType)(AM_MEDIA_TYPE* pMediaType) = 0;
  STDMETHOD(IsDiscontinuity)() = 0;
  STDMETHOD(SetDiscontinuity)(BOOL bDiscontinuity) = 0;
  STDMETHOD(GetMediaTime)(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) = 0;
  STDMETHOD(SetMediaTime)(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) = 0;

 protected:
  ~IMediaSample() = default;
};

// GetBuffer flags.
#define AM_GBF_PREVFRAMESKIPPED 1
#define AM_GBF_NOTASYNCPOINT 2
#define AM_GBF_NOWAIT 4

// {56A8689C-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IMemAllocator, 0x56A8689C, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IMemAllocator : public IUnknown {
  STDMETHOD(SetProperties)(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) = 0;
  STDMETHOD(GetProperties)(ALLOCATOR_PROPERTIES* pProps) = 0;
  STDMETHOD(Commit)() = 0;
  STDMETHOD(Decommit)() = 0;
  STDMETHOD(GetBuffer)(IMediaSample** ppBuffer, REFERENCE_TIME* pStartTime, REFERENCE_TIME* pEndTime, DWORD dwFlags) = 0;
  STDMETHOD(ReleaseBuffer)(IMediaSample* pBuffer) = 0;

 protected:
  ~IMemAllocator() = default;
};

// Told each time a sample comes back to an allocator that it was set on.
// {92980B30-C1DE-11D2-ABF5-00A0C905F375}
DEFINE_GUID(IID_IMemAllocatorNotifyCallbackTemp, 0x92980B30, 0xC1DE, 0x11D2, 0xAB, 0xF5, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75);
struct IMemAllocatorNotifyCallbackTemp : public IUnknown {
  STDMETHOD(NotifyRelease)() = 0;

 protected:
  ~IMemAllocatorNotifyCallbackTemp() = default;
};

// {379A0CF0-C1DE-11D2-ABF5-00A0C905F375}
DEFINE_GUID(IID_IMemAllocatorCallbackTemp, 0x379A0CF0, 0xC1DE, 0x11D2, 0xAB, 0xF5, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75);
struct IMemAllocatorCallbackTemp : public IMemAllocator {
  STDMETHOD(SetNotify)(IMemAllocatorNotifyCallbackTemp* pNotify) = 0;
  STDMETHOD(GetFreeCount)(LONG* plBuffersFree) = 0;

 protected:
  ~IMemAllocatorCallbackTemp() = default;
};

// {56A8689D-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IMemInputPin, 0x56A8689D, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IMemInputPin : public IUnknown {
  STDMETHOD(GetAllocator)(IMemAllocator** ppAllocator) = 0;
  STDMETHOD(NotifyAllocator)(IMemAllocator* pAllocator, BOOL bReadOnly) = 0;
  STDMETHOD(GetAllocatorRequirements)(ALLOCATOR_PROPERTIES* pProps) = 0;
  STDMETHOD(Receive)(IMediaSample* pSample) = 0;
  STDMETHOD(ReceiveMultiple)(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed) = 0;
  STDMETHOD(ReceiveCanBlock)() = 0;

 protected:
  ~IMemInputPin() = default;
};

// {56A868A5-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IQualityControl, 0x56A868A5, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IQualityControl : public IUnknown {
  STDMETHOD(Notify)(IBaseFilter* pSelf, Quality q) = 0;
  STDMETHOD(SetSink)(IQualityControl* piqc) = 0;

 protected:
  ~IQualityControl() = default;
};

// Seeking capabilities and positioning flags.
enum AM_SEEKING_SEEKING_CAPABILITIES {
  AM_SEEKING_CanSeekAbsolute = 0x1,
  AM_SEEKING_CanSeekForwards = 0x2,
  AM_SEEKING_CanSeekBackwards = 0x4,
  AM_SEEKING_CanGetCurrentPos = 0x8,
  AM_SEEKING_CanGetStopPos = 0x10,
  AM_SEEKING_CanGetDuration = 0x20,
  AM_SEEKING_CanPlayBackwards = 0x40,
  AM_SEEKING_CanDoSegments = 0x80,
  AM_SEEKING_Source = 0x100,
};
enum AM_SEEKING_SEEKING_FLAGS {
  AM_SEEKING_NoPositioning = 0x0,
  AM_SEEKING_AbsolutePositioning = 0x1,
  AM_SEEKING_RelativePositioning = 0x2,
  AM_SEEKING_IncrementalPositioning = 0x3,
  AM_SEEKING_PositioningBitsMask = 0x3,
  AM_SEEKING_SeekToKeyFrame = 0x4,
  AM_SEEKING_ReturnTime = 0x8,
  AM_SEEKING_Segment = 0x10,
  AM_SEEKING_NoFlush = 0x20,
};

// {36B73880-C2C8-11CF-8B46-00805F6CEF60}
DEFINE_GUID(IID_IMediaSeeking, 0x36B73880, 0xC2C8, 0x11CF, 0x8B, 0x46, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x60);
struct IMediaSeeking : public IUnknown {
  STDMETHOD(GetCapabilities)(DWORD* pCapabilities) = 0;
  STDMETHOD(CheckCapabilities)(DWORD* pCapabilities) = 0;
  STDMETHOD(IsFormatSupported)(const GUID* pFormat) = 0;
  STDMETHOD(QueryPreferredFormat)(GUID* pFormat) = 0;
  STDMETHOD(GetTimeFormat)(GUID* pFormat) = 0;
  STDMETHOD(IsUsingTimeFormat)(const GUID* pFormat) = 0;
  STDMETHOD(SetTimeFormat)(const GUID* pFormat) = 0;
  STDMETHOD(GetDuration)(LONGLONG* pDuration) = 0;
  STDMETHOD(GetStopPosition)(LONGLONG* pStop) = 0;
  STDMETHOD(GetCurrentPosition)(LONGLONG* pCurrent) = 0;
  STDMETHOD(ConvertTimeFormat)(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                               const GUID* pSourceFormat) = 0;
  STDMETHOD(SetPositions)(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) = 0;
  STDMETHOD(GetPositions)(LONGLONG* pCurrent, LONGLONG* pStop) = 0;
  STDMETHOD(GetAvailable)(LONGLONG* pEarliest, LONGLONG* pLatest) = 0;
  STDMETHOD(SetRate)(double dRate) = 0;
  STDMETHOD(GetRate)(double* pdRate) = 0;
  STDMETHOD(GetPreroll)(LONGLONG* pllPreroll) = 0;

 protected:
  ~IMediaSeeking() = default;
};

// {56A868A9-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IGraphBuilder, 0x56A868A9, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IGraphBuilder : public IFilterGraph {
  STDMETHOD(Connect)(IPin* ppinOut, IPin* ppinIn) = 0;
  STDMETHOD(Render)(IPin* ppinOut) = 0;
  STDMETHOD(RenderFile)(LPCWSTR lpcwstrFile, LPCWSTR lpcwstrPlayList) = 0;
  STDMETHOD(AddSourceFilter)(LPCWSTR lpcwstrFileName, LPCWSTR lpcwstrFilterName, IBaseFilter** ppFilter) = 0;
  STDMETHOD(SetLogFile)(DWORD_PTR hFile) = 0;
  STDMETHOD(Abort)() = 0;
  STDMETHOD(ShouldOperationContinue)() = 0;

 protected:
  ~IGraphBuilder() = default;
};

// RenderEx flag: complete the stream with renderers already in the graph only.
#define AM_RENDEREX_RENDERTOEXISTINGRENDERERS 0x01
// {36B73882-C2C8-11CF-8B46-00805F6CEF60}
DEFINE_GUID(IID_IFilterGraph2, 0x36B73882, 0xC2C8, 0x11CF, 0x8B, 0x46, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x60);
struct IFilterGraph2 : public IGraphBuilder {
  STDMETHOD(AddSourceFilterForMoniker)(IMoniker* pMoniker, IBindCtx* pCtx, LPCWSTR lpcwstrFilterName,
                                       IBaseFilter** ppFilter) = 0;
  STDMETHOD(ReconnectEx)(IPin* ppin, const AM_MEDIA_TYPE* pmt) = 0;
  STDMETHOD(RenderEx)(IPin* pPinOut, DWORD dwFlags, DWORD* pvContext) = 0;

 protected:
  ~IFilterGraph2() = default;
};

// The graph's side of filter events: filters report EC_* codes here.
// {56A868A2-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IMediaEventSink, 0x56A868A2, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IMediaEventSink : public IUnknown {
  STDMETHOD(Notify)(long EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) = 0;

 protected:
  ~IMediaEventSink() = default;
};

// {56A868A6-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IFileSourceFilter, 0x56A868A6, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IFileSourceFilter : public IUnknown {
  STDMETHOD(Load)(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) = 0;
  STDMETHOD(GetCurFile)(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) = 0;

 protected:
  ~IFileSourceFilter() = default;
};

// {A2104830-7C70-11CF-8BCE-00AA00A3F1A6}
DEFINE_GUID(IID_IFileSinkFilter, 0xA2104830, 0x7C70, 0x11CF, 0x8B, 0xCE, 0x00, 0xAA, 0x00, 0xA3, 0xF1, 0xA6);
struct IFileSinkFilter : public IUnknown {
  STDMETHOD(SetFileName)(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) = 0;
  STDMETHOD(GetCurFile)(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) = 0;

 protected:
  ~IFileSinkFilter() = default;
};

// Filters that end a stream say so here; the graph counts them for EC_COMPLETE.
#define AM_FILTER_MISC_FLAGS_IS_RENDERER 0x1
#define AM_FILTER_MISC_FLAGS_IS_SOURCE 0x2
// {2DD74950-A890-11D1-ABE8-00A0C905F375}
DEFINE_GUID(IID_IAMFilterMiscFlags, 0x2DD74950, 0xA890, 0x11D1, 0xAB, 0xE8, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75);
struct IAMFilterMiscFlags : public IUnknown {
  STDMETHOD_(ULONG, GetMiscFlags)() = 0;

 protected:
  ~IAMFilterMiscFlags() = default;
};

// {632105FA-072E-11D3-8AF9-00C04FB6BD3D}
DEFINE_GUID(IID_IAMGraphStreams, 0x632105FA, 0x072E, 0x11D3, 0x8A, 0xF9, 0x00, 0xC0, 0x4F, 0xB6, 0xBD, 0x3D);
struct IAMGraphStreams : public IUnknown {
  STDMETHOD(FindUpstreamInterface)(IPin* pPin, REFIID riid, void** ppvInterface, DWORD dwFlags) = 0;
  STDMETHOD(SyncUsingStreamOffset)(BOOL bUseStreamOffset) = 0;
  STDMETHOD(SetMaxGraphLatency)(REFERENCE_TIME rtMaxGraphLatency) = 0;

 protected:
  ~IAMGraphStreams() = default;
};
