// Capture interfaces: the capture graph builder, the device enumerator and the controls
// of capture devices (stream format, picture, decoder, crossbar, tuner, audio lines,
// buffer negotiation, pin property sets).
#pragma once

#include <dshow/strmif.h>

// ---- system device enumerator
#define CDEF_DEVMON_FILTER 0x2
// {29840822-5B84-11D0-BD3B-00A0C911CE86}
DEFINE_GUID(IID_ICreateDevEnum, 0x29840822, 0x5B84, 0x11D0, 0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86);
struct ICreateDevEnum : public IUnknown {
  // S_FALSE with no enumerator when the category is empty.
  STDMETHOD(CreateClassEnumerator)(REFCLSID clsidDeviceClass, IEnumMoniker** ppEnumMoniker, DWORD dwFlags) = 0;

 protected:
  ~ICreateDevEnum() = default;
};

// ---- capture graph builder
struct IAMCopyCaptureFileProgress;
// {93E5A4E0-2D50-11D2-ABFA-00A0C9C6E38D}
DEFINE_GUID(IID_ICaptureGraphBuilder2, 0x93E5A4E0, 0x2D50, 0x11D2, 0xAB, 0xFA, 0x00, 0xA0, 0xC9, 0xC6, 0xE3, 0x8D);
struct ICaptureGraphBuilder2 : public IUnknown {
  STDMETHOD(SetFiltergraph)(IGraphBuilder* pfg) = 0;
  STDMETHOD(GetFiltergraph)(IGraphBuilder** ppfg) = 0;
  STDMETHOD(SetOutputFileName)(const GUID* pType, LPCOLESTR lpstrFile, IBaseFilter** ppf, IFileSinkFilter** ppSink) = 0;
  STDMETHOD(FindInterface)(const GUID* pCategory, const GUID* pType, IBaseFilter* pf, REFIID riid, void** ppint) = 0;
  STDMETHOD(RenderStream)(const GUID* pCategory, const GUID* pType, IUnknown* pSource, IBaseFilter* pfCompressor,
                          IBaseFilter* pfRenderer) = 0;
  STDMETHOD(ControlStream)(const GUID* pCategory, const GUID* pType, IBaseFilter* pFilter, REFERENCE_TIME* pstart,
                           REFERENCE_TIME* pstop, WORD wStartCookie, WORD wStopCookie) = 0;
  STDMETHOD(AllocCapFile)(LPCOLESTR lpstr, DWORDLONG dwlSize) = 0;
  STDMETHOD(CopyCaptureFile)(LPOLESTR lpwstrOld, LPOLESTR lpwstrNew, int fAllowEscAbort,
                             IAMCopyCaptureFileProgress* pCallback) = 0;
  STDMETHOD(FindPin)(IUnknown* pSource, PIN_DIRECTION pindir, const GUID* pCategory, const GUID* pType,
                     BOOL fUnconnected, int num, IPin** ppPin) = 0;

 protected:
  ~ICaptureGraphBuilder2() = default;
};

// ---- stream format of a capture pin
// {C6E13340-30AC-11D0-A18C-00A0C9118956}
DEFINE_GUID(IID_IAMStreamConfig, 0xC6E13340, 0x30AC, 0x11D0, 0xA1, 0x8C, 0x00, 0xA0, 0xC9, 0x11, 0x89, 0x56);
struct IAMStreamConfig : public IUnknown {
  STDMETHOD(SetFormat)(AM_MEDIA_TYPE* pmt) = 0;
  STDMETHOD(GetFormat)(AM_MEDIA_TYPE** ppmt) = 0;
  STDMETHOD(GetNumberOfCapabilities)(int* piCount, int* piSize) = 0;
  STDMETHOD(GetStreamCaps)(int iIndex, AM_MEDIA_TYPE** ppmt, BYTE* pSCC) = 0;

 protected:
  ~IAMStreamConfig() = default;
};

// ---- picture controls
enum VideoProcAmpProperty {
  VideoProcAmp_Brightness = 0,
  VideoProcAmp_Contrast = 1,
  VideoProcAmp_Hue = 2,
  VideoProcAmp_Saturation = 3,
  VideoProcAmp_Sharpness = 4,
  VideoProcAmp_Gamma = 5,
  VideoProcAmp_ColorEnable = 6,
  VideoProcAmp_WhiteBalance = 7,
  VideoProcAmp_BacklightCompensation = 8,
  VideoProcAmp_Gain = 9,
};
enum VideoProcAmpFlags { VideoProcAmp_Flags_Auto = 0x1, VideoProcAmp_Flags_Manual = 0x2 };
// {C6E13360-30AC-11D0-A18C-00A0C9118956}
DEFINE_GUID(IID_IAMVideoProcAmp, 0xC6E13360, 0x30AC, 0x11D0, 0xA1, 0x8C, 0x00, 0xA0, 0xC9, 0x11, 0x89, 0x56);
struct IAMVideoProcAmp : public IUnknown {
  STDMETHOD(GetRange)(long Property, long* pMin, long* pMax, long* pSteppingDelta, long* pDefault, long* pCapsFlags) = 0;
  STDMETHOD(Set)(long Property, long lValue, long Flags) = 0;
  STDMETHOD(Get)(long Property, long* lValue, long* Flags) = 0;

 protected:
  ~IAMVideoProcAmp() = default;
};

// ---- analogue video standards and the decoder
enum AnalogVideoStandard {
  AnalogVideo_None = 0x00000000,
  AnalogVideo_NTSC_M = 0x00000001,
  AnalogVideo_NTSC_M_J = 0x00000002,
  AnalogVideo_NTSC_433 = 0x00000004,
  AnalogVideo_PAL_B = 0x00000010,
  AnalogVideo_PAL_D = 0x00000020,
  AnalogVideo_PAL_G = 0x00000040,
  AnalogVideo_PAL_H = 0x00000080,
  AnalogVideo_PAL_I = 0x00000100,
  AnalogVideo_PAL_M = 0x00000200,
  AnalogVideo_PAL_N = 0x00000400,
  AnalogVideo_PAL_60 = 0x00000800,
  AnalogVideo_SECAM_B = 0x00001000,
  AnalogVideo_SECAM_D = 0x00002000,
  AnalogVideo_SECAM_G = 0x00004000,
  AnalogVideo_SECAM_H = 0x00008000,
  AnalogVideo_SECAM_K = 0x00010000,
  AnalogVideo_SECAM_K1 = 0x00020000,
  AnalogVideo_SECAM_L = 0x00040000,
  AnalogVideo_SECAM_L1 = 0x00080000,
  AnalogVideo_PAL_N_COMBO = 0x00100000,
};
#define AnalogVideo_NTSC_Mask 0x00000007
#define AnalogVideo_PAL_Mask 0x00100FF0
#define AnalogVideo_SECAM_Mask 0x000FF000

// {C6E13350-30AC-11D0-A18C-00A0C9118956}
DEFINE_GUID(IID_IAMAnalogVideoDecoder, 0xC6E13350, 0x30AC, 0x11D0, 0xA1, 0x8C, 0x00, 0xA0, 0xC9, 0x11, 0x89, 0x56);
struct IAMAnalogVideoDecoder : public IUnknown {
  STDMETHOD(get_AvailableTVFormats)(long* lAnalogVideoStandard) = 0;
  STDMETHOD(put_TVFormat)(long lAnalogVideoStandard) = 0;
  STDMETHOD(get_TVFormat)(long* plAnalogVideoStandard) = 0;
  STDMETHOD(get_HorizontalLocked)(long* plLocked) = 0;
  STDMETHOD(put_VCRHorizontalLocking)(long lVCRHorizontalLocking) = 0;
  STDMETHOD(get_VCRHorizontalLocking)(long* plVCRHorizontalLocking) = 0;
  STDMETHOD(get_NumberOfLines)(long* plNumberOfLines) = 0;
  STDMETHOD(put_OutputEnable)(long lOutputEnable) = 0;
  STDMETHOD(get_OutputEnable)(long* plOutputEnable) = 0;

 protected:
  ~IAMAnalogVideoDecoder() = default;
};

// ---- crossbar
enum PhysicalConnectorType {
  PhysConn_Video_Tuner = 1,
  PhysConn_Video_Composite = 2,
  PhysConn_Video_SVideo = 3,
  PhysConn_Video_RGB = 4,
  PhysConn_Video_YRYBY = 5,
  PhysConn_Video_SerialDigital = 6,
  PhysConn_Video_ParallelDigital = 7,
  PhysConn_Video_SCSI = 8,
  PhysConn_Video_AUX = 9,
  PhysConn_Video_1394 = 10,
  PhysConn_Video_USB = 11,
  PhysConn_Video_VideoDecoder = 12,
  PhysConn_Video_VideoEncoder = 13,
  PhysConn_Audio_Tuner = 0x1000,
  PhysConn_Audio_Line = 0x1001,
  PhysConn_Audio_Mic = 0x1002,
  PhysConn_Audio_AESDigital = 0x1003,
  PhysConn_Audio_SPDIFDigital = 0x1004,
  PhysConn_Audio_SCSI = 0x1005,
  PhysConn_Audio_AUX = 0x1006,
  PhysConn_Audio_1394 = 0x1007,
  PhysConn_Audio_USB = 0x1008,
  PhysConn_Audio_AudioDecoder = 0x1009,
};

// {C6E13380-30AC-11D0-A18C-00A0C9118956}
DEFINE_GUID(IID_IAMCrossbar, 0xC6E13380, 0x30AC, 0x11D0, 0xA1, 0x8C, 0x00, 0xA0, 0xC9, 0x11, 0x89, 0x56);
struct IAMCrossbar : public IUnknown {
  STDMETHOD(get_PinCounts)(long* OutputPinCount, long* InputPinCount) = 0;
  STDMETHOD(CanRoute)(long OutputPinIndex, long InputPinIndex) = 0;
  STDMETHOD(Route)(long OutputPinIndex, long InputPinIndex) = 0;
  STDMETHOD(get_IsRoutedTo)(long OutputPinIndex, long* InputPinIndex) = 0;
  STDMETHOD(get_CrossbarPinInfo)(BOOL IsInputPin, long PinIndex, long* PinIndexRelated, long* PhysicalType) = 0;

 protected:
  ~IAMCrossbar() = default;
};

// ---- tuner
enum AMTunerModeType {
  AMTUNER_MODE_DEFAULT = 0,
  AMTUNER_MODE_TV = 0x1,
  AMTUNER_MODE_FM_RADIO = 0x2,
  AMTUNER_MODE_AM_RADIO = 0x4,
  AMTUNER_MODE_DSS = 0x8,
};
enum TunerInputType { TunerInputCable = 0, TunerInputAntenna = 1 };
enum AMTunerSubChannel { AMTUNER_SUBCHAN_NO_TUNE = -2, AMTUNER_SUBCHAN_DEFAULT = -1 };
enum AMTunerSignalStrength { AMTUNER_HASNOSIGNALSTRENGTH = -1, AMTUNER_NOSIGNAL = 0, AMTUNER_SIGNALPRESENT = 1 };

struct IAMTunerNotification;
// {211A8761-03AC-11D1-8D13-00AA00BD8339}
DEFINE_GUID(IID_IAMTuner, 0x211A8761, 0x03AC, 0x11D1, 0x8D, 0x13, 0x00, 0xAA, 0x00, 0xBD, 0x83, 0x39);
struct IAMTuner : public IUnknown {
  STDMETHOD(put_Channel)(long lChannel, long lVideoSubChannel, long lAudioSubChannel) = 0;
  STDMETHOD(get_Channel)(long* plChannel, long* plVideoSubChannel, long* plAudioSubChannel) = 0;
  STDMETHOD(ChannelMinMax)(long* lChannelMin, long* lChannelMax) = 0;
  STDMETHOD(put_CountryCode)(long lCountryCode) = 0;
  STDMETHOD(get_CountryCode)(long* plCountryCode) = 0;
  STDMETHOD(put_TuningSpace)(long lTuningSpace) = 0;
  STDMETHOD(get_TuningSpace)(long* plTuningSpace) = 0;
  STDMETHOD(Logon)(HANDLE hCurrentUser) = 0;
  STDMETHOD(Logout)() = 0;
  STDMETHOD(SignalPresent)(long* plSignalStrength) = 0;
  STDMETHOD(put_Mode)(AMTunerModeType lMode) = 0;
  STDMETHOD(get_Mode)(AMTunerModeType* plMode) = 0;
  STDMETHOD(GetAvailableModes)(long* plModes) = 0;
  STDMETHOD(RegisterNotificationCallBack)(IAMTunerNotification* pNotify, long lEvents) = 0;
  STDMETHOD(UnRegisterNotificationCallBack)(IAMTunerNotification* pNotify) = 0;

 protected:
  ~IAMTuner() = default;
};

// {211A8766-03AC-11D1-8D13-00AA00BD8339}
DEFINE_GUID(IID_IAMTVTuner, 0x211A8766, 0x03AC, 0x11D1, 0x8D, 0x13, 0x00, 0xAA, 0x00, 0xBD, 0x83, 0x39);
struct IAMTVTuner : public IAMTuner {
  STDMETHOD(get_AvailableTVFormats)(long* lAnalogVideoStandard) = 0;
  STDMETHOD(get_TVFormat)(long* plAnalogVideoStandard) = 0;
  STDMETHOD(AutoTune)(long lChannel, long* plFoundSignal) = 0;
  STDMETHOD(StoreAutoTune)() = 0;
  STDMETHOD(get_NumInputConnections)(long* plNumInputConnections) = 0;
  STDMETHOD(put_InputType)(long lIndex, TunerInputType InputType) = 0;
  STDMETHOD(get_InputType)(long lIndex, TunerInputType* pInputType) = 0;
  STDMETHOD(put_ConnectInput)(long lIndex) = 0;
  STDMETHOD(get_ConnectInput)(long* plIndex) = 0;
  STDMETHOD(get_VideoFrequency)(long* lFreq) = 0;
  STDMETHOD(get_AudioFrequency)(long* lFreq) = 0;

 protected:
  ~IAMTVTuner() = default;
};

// ---- audio capture
// {54C39221-8380-11D0-B3F0-00AA003761C5}
DEFINE_GUID(IID_IAMAudioInputMixer, 0x54C39221, 0x8380, 0x11D0, 0xB3, 0xF0, 0x00, 0xAA, 0x00, 0x37, 0x61, 0xC5);
struct IAMAudioInputMixer : public IUnknown {
  STDMETHOD(put_Enable)(BOOL fEnable) = 0;
  STDMETHOD(get_Enable)(BOOL* pfEnable) = 0;
  STDMETHOD(put_Mono)(BOOL fMono) = 0;
  STDMETHOD(get_Mono)(BOOL* pfMono) = 0;
  STDMETHOD(put_MixLevel)(double Level) = 0;
  STDMETHOD(get_MixLevel)(double* pLevel) = 0;
  STDMETHOD(put_Pan)(double Pan) = 0;
  STDMETHOD(get_Pan)(double* pPan) = 0;
  STDMETHOD(put_Loudness)(BOOL fLoudness) = 0;
  STDMETHOD(get_Loudness)(BOOL* pfLoudness) = 0;
  STDMETHOD(put_Treble)(double Treble) = 0;
  STDMETHOD(get_Treble)(double* pTreble) = 0;
  STDMETHOD(get_TrebleRange)(double* pRange) = 0;
  STDMETHOD(put_Bass)(double Bass) = 0;
  STDMETHOD(get_Bass)(double* pBass) = 0;
  STDMETHOD(get_BassRange)(double* pRange) = 0;

 protected:
  ~IAMAudioInputMixer() = default;
};
// Mix level that asks for automatic gain control.
#define AMF_AUTOMATICGAIN -1.0

// {56ED71A0-AF5F-11D0-B3F0-00AA003761C5}
DEFINE_GUID(IID_IAMBufferNegotiation, 0x56ED71A0, 0xAF5F, 0x11D0, 0xB3, 0xF0, 0x00, 0xAA, 0x00, 0x37, 0x61, 0xC5);
struct IAMBufferNegotiation : public IUnknown {
  STDMETHOD(SuggestAllocatorProperties)(const ALLOCATOR_PROPERTIES* pprop) = 0;
  STDMETHOD(GetAllocatorProperties)(ALLOCATOR_PROPERTIES* pprop) = 0;

 protected:
  ~IAMBufferNegotiation() = default;
};

// ---- property sets of pins (the pin category, and the medium: which pins of which
// devices are wired together)
enum AMPROPERTY_PIN { AMPROPERTY_PIN_CATEGORY = 0, AMPROPERTY_PIN_MEDIUM = 1 };
struct REGPINMEDIUM {
  CLSID clsMedium;
  DWORD dw1;
  DWORD dw2;
};
#define KSPROPERTY_SUPPORT_GET 1
#define KSPROPERTY_SUPPORT_SET 2
// {31EFAC30-515C-11D0-A9AA-00AA0061BE93}
DEFINE_GUID(IID_IKsPropertySet, 0x31EFAC30, 0x515C, 0x11D0, 0xA9, 0xAA, 0x00, 0xAA, 0x00, 0x61, 0xBE, 0x93);
struct IKsPropertySet : public IUnknown {
  STDMETHOD(Set)(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData, LPVOID pPropData,
                 DWORD cbPropData) = 0;
  STDMETHOD(Get)(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData, LPVOID pPropData,
                 DWORD cbPropData, DWORD* pcbReturned) = 0;
  STDMETHOD(QuerySupported)(REFGUID guidPropSet, DWORD dwPropID, DWORD* pTypeSupport) = 0;

 protected:
  ~IKsPropertySet() = default;
};
