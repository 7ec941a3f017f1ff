// The control's preview graph: finds the TV capture card among the video input devices,
// renders its preview stream into a video window owned by the control's window, sets up
// the card's tuner, and offers run, pause, stop, the video window, the frame size, the
// picture properties and the decoder's standard. It owns the graph, the capture filter
// and the tuner from BuildCaptureGraph until ReleaseGraph (or its destruction).
#pragma once

#include "CTunerObject.h"

#include <com/ComPtr.h>
#include <dshow/dshow.h>

#include <memory>
#include <string>

class CCaptureGraphObject {
 public:
  static constexpr const char* kMatchText = "VEN_1131&DEV_7130";

  CCaptureGraphObject() = default;
  ~CCaptureGraphObject() { ReleaseGraph(); }
  CCaptureGraphObject(const CCaptureGraphObject&) = delete;
  CCaptureGraphObject& operator=(const CCaptureGraphObject&) = delete;

  // S_OK, or the first failing step's HRESULT (E_FAIL when no device matches).
  HRESULT BuildCaptureGraph(HWND videoOwner, HWND notifyWindow, UINT notifyMessage);
  void ReleaseGraph();

  HRESULT Run();
  HRESULT Pause();
  HRESULT Stop();
  // State_Stopped, State_Paused or State_Running.
  OAFilterState State();

  HRESULT ShowVideoWindow(bool visible);
  HRESULT SetVideoWindowPosition(long left, long top, long width, long height);
  HRESULT get_FullScreenMode(long* mode);
  HRESULT put_FullScreenMode(long mode);

  HRESULT SetFrameSize(long width, long height);
  HRESULT GetFrameSize(long* width, long* height);

  HRESULT GetVideoRange(long property, long* minimum, long* maximum, long* steppingDelta, long* defaultValue,
                        long* capsFlags);
  HRESULT GetVideoProperty(long property, long* value, long* flags);
  HRESULT SetVideoProperty(long property, long value, long flags);

  HRESULT GetAvailableStandards(long* standards);
  HRESULT SetStandard(long standard);

  HRESULT GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2);
  HRESULT FreeEventParams(long code, LONG_PTR param1, LONG_PTR param2);

  CTunerObject* Tuner() { return m_tuner.get(); }
  const std::string& DevicePath() const { return m_devicePath; }
  const std::string& FriendlyName() const { return m_friendlyName; }

  // 1 and 2 for the card kinds the tuner knows, 0 for any other device path.
  static int CardKind(const std::string& devicePath);

 private:
  HRESULT FindCaptureDevice();
  HRESULT StreamConfig(plat::ComPtr<IAMStreamConfig>& config);
  // The preview pin's format, to be freed by the caller.
  HRESULT CurrentFormat(plat::ComPtr<IAMStreamConfig>& config, AM_MEDIA_TYPE** format);
  HRESULT ProcAmp(plat::ComPtr<IAMVideoProcAmp>& procAmp);
  template <class T>
  HRESULT GraphInterface(REFIID iid, plat::ComPtr<T>& out);

  plat::ComPtr<ICaptureGraphBuilder2> m_builder;
  plat::ComPtr<IGraphBuilder> m_graph;
  plat::ComPtr<IBaseFilter> m_capture;
  std::string m_devicePath;
  std::string m_friendlyName;
  std::unique_ptr<CTunerObject> m_tuner;
  bool m_built = false;
};
