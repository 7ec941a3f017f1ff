// The TV control, coclass MovieCtl: a windowed control that builds its capture graph on
// the card (Init), shows the card's preview in its window, tunes, sets the picture and
// the master volume, fires its channel and volume events to every connected sink, and
// follows the card's remote control on its 100 ms timer.
//
// It owns the capture graph (and through it the tuner), the master-volume mixer and the
// remote-control reader, from Init until it is destroyed. In a designing container (the
// ambient user mode false) the tuning, picture-format, frame and volume entries answer
// S_FALSE and do nothing. Everything runs on the container's thread; events are fired
// synchronously, outside any lock.
#pragma once

#include "CCaptureGraphObject.h"
#include "CMasterVolumeMixer.h"
#include "CRemoteInput.h"
#include "QXMovie.h"

#include <atl/ConnectionPoint.h>
#include <atl/ControlBase.h>
#include <atl/DispatchImpl.h>
#include <com/RefCount.h>

#include <memory>
#include <span>

#define MOVIECTL_PICTURE_OVERRIDES(P, i)                                                          \
  STDMETHODIMP get_##P(long* pValue) override { return GetPictureValue(i, pValue); }             \
  STDMETHODIMP put_##P(long value) override { return PutPictureValue(i, value); }                \
  STDMETHODIMP get_Min##P(long* pValue) override { return GetPictureRange(i, kRangeMin, pValue); } \
  STDMETHODIMP get_Max##P(long* pValue) override { return GetPictureRange(i, kRangeMax, pValue); } \
  STDMETHODIMP get_Default##P(long* pValue) override { return GetPictureRange(i, kRangeDefault, pValue); } \
  STDMETHODIMP get_##P##SteppingDelta(long* pValue) override { return GetPictureRange(i, kRangeStep, pValue); } \
  STDMETHODIMP get_##P##Flags(long* pValue) override { return GetPictureFlags(i, pValue); }      \
  STDMETHODIMP put_##P##Flags(long value) override { return PutPictureFlags(i, value); }

class CMovieCtl final : public plat::atl::IDispatchImpl<CMovieCtl, IMovieCtl, &IID_IMovieCtl>,
                        public plat::atl::ControlBase,
                        public IConnectionPointContainer,
                        public IProvideClassInfo {
 public:
  static constexpr UINT kGraphNotify = 0x8001;
  static constexpr UINT kVolumeNotify = 0x8002;
  static constexpr UINT_PTR kRemoteTimer = 1;
  static constexpr UINT kRemotePeriod = 100;
  // The setup frame's caption: the Chinese word for Settings.
  static constexpr const wchar_t* kSetupCaption = L"\u8BBE\u7F6E";

  static HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out);
  static const plat::LibraryDescription& typeLibrary();
  static std::span<const plat::atl::DispatchEntry<CMovieCtl>> dispatchTable();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return m_refs.addRef(); }
  STDMETHODIMP_(ULONG) Release() override;
  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;
  // IProvideClassInfo
  STDMETHODIMP GetClassInfo(ITypeInfo** ppTI) override;
  // IOleObject
  STDMETHODIMP GetUserClassID(CLSID* pClsid) override;

  // IMovieCtl
  STDMETHODIMP Init() override;
  STDMETHODIMP get_CanCapture(long* pValue) override;
  STDMETHODIMP get_CanTune(long* pValue) override;
  STDMETHODIMP get_CanControlVolume(long* pValue) override;
  STDMETHODIMP Play() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP get_AnalogVideoFormat(BSTR* pFormat) override;
  STDMETHODIMP put_AnalogVideoFormat(BSTR format) override;
  STDMETHODIMP get_TunerMode(long* pMode) override;
  STDMETHODIMP put_TunerMode(long mode) override;
  STDMETHODIMP get_InputType(long* pType) override;
  STDMETHODIMP put_InputType(long type) override;
  STDMETHODIMP get_CountryCode(long* pCode) override;
  STDMETHODIMP put_CountryCode(long code) override;
  STDMETHODIMP get_TuningSpace(long* pSpace) override;
  STDMETHODIMP put_TuningSpace(long space) override;
  STDMETHODIMP get_MinChannel(long* pChannel) override;
  STDMETHODIMP get_MaxChannel(long* pChannel) override;
  STDMETHODIMP put_MaxChannel(long channel) override;
  STDMETHODIMP get_Channel(long* pChannel) override;
  STDMETHODIMP put_Channel(long channel) override;
  STDMETHODIMP get_VideoFrequency(long* pFrequency) override;
  STDMETHODIMP put_VideoFrequency(long frequency) override;
  STDMETHODIMP SignalPresent(long* plSignalPresent) override;
  STDMETHODIMP SetPrevChannel() override;
  STDMETHODIMP AutoTune(long lChannel, long* plFoundSignal) override;
  STDMETHODIMP StoreAutoTune() override;
  STDMETHODIMP ScanAndStoreTune() override;
  STDMETHODIMP OverrideChannel(long lChannel, long dwNewFrequency, long dwFlags) override;
  STDMETHODIMP UnoverrideChannel(long lChannel) override;
  STDMETHODIMP get_IsOverrideChannel(long* pOverridden) override;
  STDMETHODIMP GetVideoRange(long lProperty, long* lpMin, long* lpMax, long* lpSteppingDelta, long* lpDefault,
                             long* lpCapsFlags) override;
  STDMETHODIMP GetVideoProperty(long lProperty, long* lpValue, long* lpFlags) override;
  STDMETHODIMP SetVideoProperty(long lProperty, long lValue, long lFlags) override;
  MOVIECTL_PICTURE_OVERRIDES(Brightness, 0)
  MOVIECTL_PICTURE_OVERRIDES(Contrast, 1)
  MOVIECTL_PICTURE_OVERRIDES(Hue, 2)
  MOVIECTL_PICTURE_OVERRIDES(Saturation, 3)
  MOVIECTL_PICTURE_OVERRIDES(Sharpness, 4)
  STDMETHODIMP get_FullScreenMode(long* pMode) override;
  STDMETHODIMP put_FullScreenMode(long mode) override;
  STDMETHODIMP get_FrameWidth(long* pWidth) override;
  STDMETHODIMP put_FrameWidth(long width) override;
  STDMETHODIMP get_FrameHeight(long* pHeight) override;
  STDMETHODIMP put_FrameHeight(long height) override;
  STDMETHODIMP SetVideoFrameSize(long lWidth, long lHeight) override;
  STDMETHODIMP ShowSetupDialog(long lFlags) override;
  STDMETHODIMP get_Volume(long* pVolume) override;
  STDMETHODIMP put_Volume(long volume) override;
  STDMETHODIMP get_VolumeMetric(long* pMetric) override;
  STDMETHODIMP put_VolumeMetric(long metric) override;
  STDMETHODIMP get_MaxVolume(long* pVolume) override;
  STDMETHODIMP get_MinVolume(long* pVolume) override;
  STDMETHODIMP get_Mute(long* pMute) override;
  STDMETHODIMP put_Mute(long mute) override;

 protected:
  bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnPositionChanged(const RECT& rect) override;
  void OnWindowDestroying() override;

 private:
  enum RangePart { kRangeMin, kRangeMax, kRangeStep, kRangeDefault, kRangeCaps };

  CMovieCtl();
  ~CMovieCtl() override;

  bool Designing() { return !AmbientUserMode(); }
  CTunerObject* Tuner() { return m_graph ? m_graph->Tuner() : nullptr; }
  HRESULT GetPictureValue(long property, long* value);
  HRESULT PutPictureValue(long property, long value);
  HRESULT GetPictureRange(long property, RangePart part, long* value);
  HRESULT GetPictureFlags(long property, long* flags);
  HRESULT PutPictureFlags(long property, long flags);
  // Stops the graph, sets the frame size, and puts the graph back as it was.
  HRESULT ResizeFrame(long width, long height);
  void OpenMixer();
  void DrainGraphEvents(bool& handled);

  plat::RefCount m_refs;
  plat::atl::ConnectionPoint m_events;
  std::unique_ptr<CCaptureGraphObject> m_graph;
  std::unique_ptr<CMasterVolumeMixer> m_mixer;
  std::unique_ptr<CRemoteInput> m_remote;
  long m_volumeMetric = 0;
  bool m_muted = false;
  long m_previousChannel = 0;
};

#undef MOVIECTL_PICTURE_OVERRIDES
