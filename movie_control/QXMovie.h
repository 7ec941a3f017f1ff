// The control's COM identities and its dual interface, as its type library declares them:
// coclass MovieCtl with default interface IMovieCtl and default source _IMovieCtlEvents,
// and the property page class VidProp. The entries of IMovieCtl follow IDispatch in the
// order of their dispatch ids (a property's get before its put).
#pragma once

#include <com/oaidl.h>

// {CA4F6C78-A9A8-4D59-AEE1-2231EC95480A}
DEFINE_GUID(LIBID_QXMOVIELib, 0xCA4F6C78, 0xA9A8, 0x4D59, 0xAE, 0xE1, 0x22, 0x31, 0xEC, 0x95, 0x48, 0x0A);
// {96D8B8C6-A86A-4F33-8D99-C00F221DB864}
DEFINE_GUID(CLSID_MovieCtl, 0x96D8B8C6, 0xA86A, 0x4F33, 0x8D, 0x99, 0xC0, 0x0F, 0x22, 0x1D, 0xB8, 0x64);
// {CB85ED9E-074A-4964-B763-8A714C860344}
DEFINE_GUID(IID_IMovieCtl, 0xCB85ED9E, 0x074A, 0x4964, 0xB7, 0x63, 0x8A, 0x71, 0x4C, 0x86, 0x03, 0x44);
// {AD3BFBF7-02B4-46A7-A83C-5ABF4DC58A40}
DEFINE_GUID(DIID__IMovieCtlEvents, 0xAD3BFBF7, 0x02B4, 0x46A7, 0xA8, 0x3C, 0x5A, 0xBF, 0x4D, 0xC5, 0x8A, 0x40);
// {731A30A6-238F-4A63-8559-72E35E18B337}
DEFINE_GUID(CLSID_VidProp, 0x731A30A6, 0x238F, 0x4A63, 0x85, 0x59, 0x72, 0xE3, 0x5E, 0x18, 0xB3, 0x37);

// The events' dispatch ids.
enum MovieCtlEvent : DISPID {
  DISPID_OnChannelChanged = 1,
  DISPID_OnChannelChanging = 2,
  DISPID_OnVolumeChanged = 3,
  DISPID_OnVolumeChanging = 4,
};

// One picture property P: its value, range, default, step and flags.
#define MOVIECTL_PICTURE_PROPERTY(P)                       \
  STDMETHOD(get_##P)(long* pValue) = 0;                    \
  STDMETHOD(put_##P)(long value) = 0;                      \
  STDMETHOD(get_Min##P)(long* pValue) = 0;                 \
  STDMETHOD(get_Max##P)(long* pValue) = 0;                 \
  STDMETHOD(get_Default##P)(long* pValue) = 0;             \
  STDMETHOD(get_##P##SteppingDelta)(long* pValue) = 0;     \
  STDMETHOD(get_##P##Flags)(long* pValue) = 0;             \
  STDMETHOD(put_##P##Flags)(long value) = 0;

struct IMovieCtl : public IDispatch {
  STDMETHOD(Init)() = 0;
  STDMETHOD(get_CanCapture)(long* pValue) = 0;
  STDMETHOD(get_CanTune)(long* pValue) = 0;
  STDMETHOD(get_CanControlVolume)(long* pValue) = 0;
  STDMETHOD(Play)() = 0;
  STDMETHOD(Pause)() = 0;
  STDMETHOD(Stop)() = 0;
  STDMETHOD(get_AnalogVideoFormat)(BSTR* pFormat) = 0;
  STDMETHOD(put_AnalogVideoFormat)(BSTR format) = 0;
  STDMETHOD(get_TunerMode)(long* pMode) = 0;
  STDMETHOD(put_TunerMode)(long mode) = 0;
  STDMETHOD(get_InputType)(long* pType) = 0;
  STDMETHOD(put_InputType)(long type) = 0;
  STDMETHOD(get_CountryCode)(long* pCode) = 0;
  STDMETHOD(put_CountryCode)(long code) = 0;
  STDMETHOD(get_TuningSpace)(long* pSpace) = 0;
  STDMETHOD(put_TuningSpace)(long space) = 0;
  STDMETHOD(get_MinChannel)(long* pChannel) = 0;
  STDMETHOD(get_MaxChannel)(long* pChannel) = 0;
  STDMETHOD(put_MaxChannel)(long channel) = 0;
  STDMETHOD(get_Channel)(long* pChannel) = 0;
  STDMETHOD(put_Channel)(long channel) = 0;
  STDMETHOD(get_VideoFrequency)(long* pFrequency) = 0;
  STDMETHOD(put_VideoFrequency)(long frequency) = 0;
  STDMETHOD(SignalPresent)(long* plSignalPresent) = 0;
  STDMETHOD(SetPrevChannel)() = 0;
  STDMETHOD(AutoTune)(long lChannel, long* plFoundSignal) = 0;
  STDMETHOD(StoreAutoTune)() = 0;
  STDMETHOD(ScanAndStoreTune)() = 0;
  STDMETHOD(OverrideChannel)(long lChannel, long dwNewFrequency, long dwFlags) = 0;
  STDMETHOD(UnoverrideChannel)(long lChannel) = 0;
  STDMETHOD(get_IsOverrideChannel)(long* pOverridden) = 0;
  STDMETHOD(GetVideoRange)(long lProperty, long* lpMin, long* lpMax, long* lpSteppingDelta, long* lpDefault,
                           long* lpCapsFlags) = 0;
  STDMETHOD(GetVideoProperty)(long lProperty, long* lpValue, long* lpFlags) = 0;
  STDMETHOD(SetVideoProperty)(long lProperty, long lValue, long lFlags) = 0;
  MOVIECTL_PICTURE_PROPERTY(Brightness)
  MOVIECTL_PICTURE_PROPERTY(Contrast)
  MOVIECTL_PICTURE_PROPERTY(Hue)
  MOVIECTL_PICTURE_PROPERTY(Saturation)
  MOVIECTL_PICTURE_PROPERTY(Sharpness)
  STDMETHOD(get_FullScreenMode)(long* pMode) = 0;
  STDMETHOD(put_FullScreenMode)(long mode) = 0;
  STDMETHOD(get_FrameWidth)(long* pWidth) = 0;
  STDMETHOD(put_FrameWidth)(long width) = 0;
  STDMETHOD(get_FrameHeight)(long* pHeight) = 0;
  STDMETHOD(put_FrameHeight)(long height) = 0;
  STDMETHOD(SetVideoFrameSize)(long lWidth, long lHeight) = 0;
  STDMETHOD(ShowSetupDialog)(long lFlags) = 0;
  STDMETHOD(get_Volume)(long* pVolume) = 0;
  STDMETHOD(put_Volume)(long volume) = 0;
  STDMETHOD(get_VolumeMetric)(long* pMetric) = 0;
  STDMETHOD(put_VolumeMetric)(long metric) = 0;
  STDMETHOD(get_MaxVolume)(long* pVolume) = 0;
  STDMETHOD(get_MinVolume)(long* pVolume) = 0;
  STDMETHOD(get_Mute)(long* pMute) = 0;
  STDMETHOD(put_Mute)(long mute) = 0;

 protected:
  ~IMovieCtl() = default;
};

#undef MOVIECTL_PICTURE_PROPERTY
