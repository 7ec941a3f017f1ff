// The base of the live graphs of the USB TV device: the preview graph that shows TV,
// Composite or S-Video in a window and the record graph that also encodes to a file.
//
// It owns the graph object, a capture graph builder, the wrappers of the video chain
// (deinterlacer, invert, overlay, the renderer chosen by the Windows version), the
// routing list of the device's crossbar, the picture controls, the video standard of the
// decoder and of the USB chip (register 0xC16F through the device control library), and
// the audio line-in of the device. ApplyTvSettings runs the steps both live graphs share
// and reaches their own device filters and connections through the virtual operations,
// in the fixed slot order the derived graphs rely on; the base alone cannot complete a
// build, since its CreateDeviceFilters returns false.
//
// All calls come from the user-interface thread. The lock serialises the run, window,
// frame-rate and picture operations; it is a critical section, so SetProcAmpProperty may
// take it again through GetProcAmpRange. Streaming threads never enter it.
#pragma once

#include "graphs/WindowsVersion.h"

#include <dshow/dshow.h>
#include <mfc/afx.h>
#include <win32/user/logfont.h>
#include <win32/sync.h>

class CAudioRendererFilter;
class CAviDecompressorFilter;
class CCrossbarRouter;
class CDefaultVideoRendererFilter;
class CDeinterlacerFilter;
class CDeviceFilter;
class CFilterWrapper;
class CGraphBase;
class COverlayFilter;
class COverlayMixerFilter;
class CVideoDeviceFilter;
class CVideoInvertFilter;
class CVideoMixingRendererFilter;
class CVideoRendererFilter;

class CCaptureGraph {
 public:
  // The register of the USB chip that follows the decoder's colour system.
  static constexpr WORD kStandardRegister = 0xC16F;

  CCaptureGraph();
  CCaptureGraph(const CCaptureGraph&) = delete;
  CCaptureGraph& operator=(const CCaptureGraph&) = delete;

  // ---- The operations the derived graphs override, in slot order.
  virtual int GetRecordCounter() { return 0; }
  virtual BOOL StopWork() { return FALSE; }
  virtual BOOL ChangeInput(int kind, int width, int height) { return FALSE; }
  virtual BOOL ApplyStandardFromSettings(int ignored) { return FALSE; }
  // A new 24-bit copy of the current frame, owned by the caller.
  virtual BYTE* TakeSnapshot() { return nullptr; }
  virtual BOOL GetGrabbedFrameSize() { return FALSE; }
  virtual HBITMAP GetGrabbedFrameDib() { return nullptr; }
  virtual BOOL RestartAtSize() { return FALSE; }
  virtual void SetRecordFile(const CString& folder, int format, int quality) {}
  virtual int TextOperation(const CString& text, int first, int second) { return 0; }
  virtual double GetRecordSizeKB(int seconds) { return 0.0; }
  // Routes the crossbar to the first input of the kind (0 tuner, 1 Composite, 2 S-Video);
  // false without a routing list.
  virtual BOOL SelectCrossbarInput(int kind);
  virtual BOOL DetectStandard(int kind) { return FALSE; }
  virtual BOOL SetSize(int width, int height) { return FALSE; }
  virtual BOOL SetCaptureFormat(int width, int height) { return FALSE; }
  virtual BOOL RebuildAtSize(int width, int height) { return FALSE; }
  // The picture layer of the overlay, in the colour pair 0 and 255.
  virtual BOOL SetOverlayBitmap(LONG_PTR picture, int x, int y, LONG_PTR contentA, LONG_PTR contentB, double blend);
  virtual BOOL SetOverlayText(LPCSTR text, int x, int y, const LOGFONTA& font, DWORD colorA, DWORD colorB,
                              double blend);
  virtual BOOL ShowOverlay(LONG_PTR contentA, LONG_PTR contentB, int x, int y, const LOGFONTA& font) { return FALSE; }
  // Deinterlacer, invert, audio renderer, overlay, then the renderer by Windows version.
  virtual BOOL BuildVideoChain();
  virtual BOOL ReAddVideoChain();
  virtual void DeleteFilters();
  virtual BOOL SaveSnapshot(LPCSTR folder, int extra) { return FALSE; }
  virtual BOOL GetRecordFileName(CString& name) { return TRUE; }
  virtual BOOL ConnectGraph() { return FALSE; }
  virtual BOOL ReattachVideoWindow() { return FALSE; }
  virtual BOOL CreateDeviceFilters() { return FALSE; }
  virtual BOOL PrepareDevice() { return FALSE; }
  virtual BOOL SelectAudioLine() { return FALSE; }
  virtual BOOL ConnectAudio(BOOL skipCheck) { return FALSE; }
  virtual ~CCaptureGraph();

  // ---- Construction and teardown.
  // A new graph object for the window; false for a null window or when it cannot be made.
  BOOL SetWindowAndBuild(HWND window);
  // The line standard family of the build: 3 625 lines, 4 525 lines.
  void SetInputType(int lineStandard) { m_lineStandard = lineStandard; }
  void Close();

  // Builds and runs the graph for input 0 (tuner), 1 (Composite) or 2 (S-Video) with the
  // picture values, keeping the settings' line and external-input standards in step with
  // what the decoder sees.
  BOOL ApplyTvSettings(int input, int sharpness, int contrast, int brightness, int hue, int saturation);

  // ---- Run control: false without a graph object.
  BOOL Run();
  BOOL Stop();
  BOOL PauseGraph();

  // ---- The video window.
  void SetVideoWindow(HWND window) { m_hVideoWindow = window; }
  BOOL AttachVideoWindow(HWND window);
  BOOL PlaceVideo(long left, long top, long width, long height);
  BOOL SetVideoPosition(long left, long top, long width, long height);
  BOOL ResizeVideo();
  BOOL ShowVideo(BOOL fullScreen);
  BOOL ParkVideo();
  BOOL NotifyOwnerMessage(HWND window, long message, LONG_PTR wParam, LONG_PTR lParam);
  // Graph events reach the window as UM_GRAPH_EVENT; null stops them.
  BOOL SetNotifyWindow(HWND window);
  IMediaEventEx* GetEventInterface() const;

  // ---- The picture controls, values 0 to 100.
  void SetVideoProcAmp(int sharpness, int contrast, int brightness, int hue, int saturation);
  void SetProcAmpProperty(int value, long property, int scale);
  BOOL GetProcAmpRange(long* maximum, long* minimum, long* defaultValue, long property);
  HRESULT GetProcAmpValue(long* value, long property);

  // ---- The capture format.
  // Not counted for the caller; the pin keeps it alive.
  IAMStreamConfig* FindStreamConfig(const GUID* category);
  void SetFrameRate(const GUID* category);
  BOOL GetCaptureSize(long* width, long* height, const GUID* category);
  // The device's first output pin of the category, not counted for the caller.
  IPin* FindPinByCategory(const GUID* category);
  BOOL ConnectPinsByIndex(IBaseFilter* destination, int destinationPin, IBaseFilter* source, int sourcePin);

  // ---- Other.
  BOOL ShowDevicePropertyPage();
  BOOL IsSignalLocked();
  BOOL HasAudio() const;
  void SetAudioLine(int index);
  // Switches the overlay's text and picture off.
  BOOL HideOverlay();
  // A default renderer held or made anew, added to the graph; false deletes it.
  BOOL CreateDefaultRenderer();

  // ---- Devices and the audio input.
  BOOL OpenVideoDevice(LPCSTR deviceName, int index);
  // "USB TV Device" when listed, else the first capture device of the settings.
  BOOL OpenDefaultVideoDevice(int index);
  BOOL SelectAudioInput(LPCSTR deviceName, int matchFlag);
  BOOL SelectDefaultAudioInput();
  BOOL FillCaptureLineNames(CDeviceFilter* audioDevice);
  void SelectLineByName(LPCSTR lineName);
  void SelectLineIn();
  int NoOp(int first, int second) { return 0; }

  // ---- Video standards.
  // By analogue standard name ("PAL_D", "NTSC_M", "SECAM_B" …); an unknown name changes nothing.
  void SetVideoStandard(LPCSTR name);
  // The external inputs' standard: 0 NTSC_M, 1 NTSC_433, 2 PAL_D, 3 SECAM_B, else NTSC_M.
  void SetAvInputStandard(int code);
  // A standard by its number 0 to 18, its name into `name`; false (nothing set) outside.
  BOOL SetVideoStandardByCode(int code, CString& name);
  static BOOL IsSameStandardFamily(int first, int second);
  void SelectCrossbarInputByType(long physicalType);
  // 0 NTSC, 1 PAL, 2 SECAM, 3 anything else or no decoder.
  int DetectInputStandard();
  // Counted for the caller; null when the device has no decoder interface.
  IAMAnalogVideoDecoder* GetAnalogVideoDecoder();

  // ---- State the derived graphs and the controller read.
  CGraphBase* GetGraphBase() const { return m_pGraph; }
  IBaseFilter* GetCaptureFilter() const { return m_pCaptureFilter; }
  ICaptureGraphBuilder2* GetBuilder() const { return m_pBuilder; }
  HWND GetVideoWindow() const { return m_hVideoWindow; }
  const CString& GetDeviceName() const { return m_text; }
  int GetInputType() const { return m_lineStandard; }
  long GetCrossbarInputCount() const { return m_crossbarInputCount; }

 protected:
  // The external input's standard as the decoder detects it, after letting it settle, set
  // on the decoder and stored in the settings: the stored code (0, 2 or 3), -1 when none.
  int ApplyDetectedAvStandard();
  BOOL CreateCaptureBuilder();
  void SetupCrossbar(IBaseFilter* device);
  // Deletes every wrapper of the video chain held from an earlier build.
  void DeleteChainWrappers();
  // Adds a Filter folder module's wrapper, registering the module when it is missing;
  // false (after telling the user) when it still cannot be added.
  BOOL AddFilterModule(CFilterWrapper* wrapper, LPCSTR module);
  IGraphBuilder* Graph() const;
  IBaseFilter* VideoDeviceFilter() const;

  IBaseFilter* m_pCaptureFilter;
  ICaptureGraphBuilder2* m_pBuilder;
  CDeinterlacerFilter* m_pDeinterlacer;
  CVideoInvertFilter* m_pInvert;
  CVideoDeviceFilter* m_pVideoDevice;
  COverlayMixerFilter* m_pOverlayMixer;
  CAviDecompressorFilter* m_pAviDecompressor;
  CCrossbarRouter* m_pCrossbar;
  CGraphBase* m_pGraph;
  COverlayFilter* m_pOverlay;
  CVideoRendererFilter* m_pVideoRenderer;
  CDefaultVideoRendererFilter* m_pDefaultRenderer;
  CVideoMixingRendererFilter* m_pMixingRenderer;
  CAudioRendererFilter* m_pAudioRenderer;
  CDeviceFilter* m_pAudioDevice;
  HWND m_hVideoWindow;
  IAMVideoProcAmp* m_pProcAmp;
  CRITICAL_SECTION m_lock;
  CString m_text;
  int m_lineStandard;
  CString m_standardName;
  int m_frameRate;
  long m_crossbarInputCount;
  int m_flag;

 private:
  // On an external input, once the graph runs: takes the standard the signal shows, sets
  // it when it differs from the one first detected, and resizes for a new line family.
  void FollowRunningStandard(int detected, int localLineStandard, int frameHeight);
  void ReleaseProcAmp();
  static void Notify(int messageId);
};

// True when the product name in the registry contains "VISTA" (any case).
BOOL IsVistaProductName();

