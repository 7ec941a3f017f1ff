// The controller: the one object of the program that owns every long-lived engine object
// (settings, device control, device lists, run state, schedule list, channel list, volume
// mixer) and brings them up and down in a fixed order. It lives from the launcher's
// initialisation to its close, held in g_pAppController; every window reaches it there.
// Its timers run on the launcher, the thread's main window.
//
// Objects owned by the controller but reached without it sit in process-wide pointers of
// their own: g_pAppSettings (CAppSettings.h), g_pDeviceControl (DeviceControl.h),
// g_pChannelList and the channel records (CChannelList.h). The channel list it makes
// reaches it back as its tuning host.
#pragma once

#include "core/CObserver.h"
#include "core/data/CChannelList.h"
#include "core/data/DeviceControl.h"
#include "core/data/IChannelTuningHost.h"

#include <mfc/afx.h>
#include <win32/types.h>
#include <win32/user/logfont.h>

#include <atomic>
#include <memory>
#include <vector>

class CCaptureGraph;
class CPlaybackGraph;
class CRunState;
class CScheduleItem;
class CScheduleList;
class CVolumeMixer;
class CWinThread;
struct ChannelRecord;
struct IMediaEventEx;

class CAppController : public CObserver, public IChannelTuningHost {
 public:
  // Window messages the controller sends its windows.
  static constexpr UINT UM_DEVICES_CHANGED = 2010;
  // Its timer on the main window: the schedule tick, once a second.
  static constexpr UINT_PTR kScheduleTimer = 500;
  static constexpr UINT kScheduleTimerMs = 1000;
  // The volume display's timer on the main window while recording.
  static constexpr UINT_PTR kOsdTimer = 333;
  static constexpr UINT kOsdTimerMs = 6000;

  // Attaches itself to the device list to hear of devices arriving and leaving.
  CAppController();
  // Shuts down.
  ~CAppController() override;

  // Brings up, in order: the settings (loaded from "ZRQData.dat", defaults written when it
  // cannot be loaded; the country, the name lists, the capture device check), the run
  // state, the schedule list with "schedulefile.she" and timer 500 on the main window,
  // the channel list with "ZRQChannels.chl", the record being tuned and the volume mixer.
  // Creates only what is missing, so a second call creates nothing twice. 1 when all is
  // up; 0 at the first step that fails, leaving what was made in place.
  int Startup();
  // Lists a recording still running, saves the settings and the channel list, resets the
  // device, releases everything the controller holds and kills its timers. Everything is
  // released even when a save fails; the result then is 0, else 1.
  int Shutdown();
  // A device arrived or left (event 80 from the device list): when the device list
  // changed, the settings' capture device names are refreshed and UM_DEVICES_CHANGED is
  // posted to the main window. Always 1.
  int OnNotify(int event, WPARAM wParam, LPARAM lParam) override;

  // (Re)opens the device control interface of the capture device; on failure the device
  // control object is gone (g_pDeviceControl null).
  static void OpenDeviceControl();

  // The run state; each question is 0 without a run-state object.
  int GetRunState() const;
  int IsIdle() const;
  int IsMediaMode() const;
  // Live TV from the tuner (run state 2 only).
  int IsTvMode() const;
  // Recording from the tuner, Composite or S-Video (3, 12, 14).
  int IsRecording() const;
  // A live picture from the tuner, Composite or S-Video (2, 11, 13).
  int IsPreviewing() const;
  // The channel preview wall (7).
  int IsMosaicMode() const;
  // The channel scan (6).
  int IsScanState() const;
  // Run state 1 (the media player owns the video area), respectively 0.
  void EnterMediaMode();
  void SetIdle();
  // The run-state object itself, for the operations that move the state; null before
  // start-up.
  CRunState* GetRunStateHolder() const { return m_pRunState; }

  // The channel window that receives the scan's messages; kept only while it is a window.
  void SetScanTargetWnd(HWND hwnd);
  HWND GetScanTargetWnd() const;
  static int IsScanning();
  // Asks a running channel scan to end after its current channel.
  void StopScan();

  // Stores a non-empty status text.
  void SetStatusText(LPCSTR text);
  const CString& GetStatusText() const { return m_statusText; }

  // The settings' name lists. The country names from the frequency-table library, with
  // the country's position selected; 0 without settings or without the library.
  int LoadCountryNames(int country);
  // The Composite/S-Video standard names, with the index selected; 0 without settings or
  // for a negative index.
  int FillAvStandardNames(int index);
  // The capture device names from the device list; the audio device names.
  static void FillDeviceNames();
  // The device list released and built again from the devices present, then its names.
  void RefreshDeviceNames();
  static void FillNameList();
  int GetCountryIndex() const { return m_countryIndex; }
  int GetAvStandardIndex() const { return m_avStandardIndex; }

  // Settings file "ZRQData.dat" in the program folder.
  // 1 loaded; 0 without a settings object or path, or when the file cannot be opened.
  // A file shorter than a record keeps the defaults for what it lacks.
  static int LoadSettings(LPCSTR path);
  // Writes a record of defaults; 1 when written.
  static int WriteDefaultSettings(LPCSTR path);
  // Writes the settings object; 1 when written, also when the file had gone.
  static int SaveSettings(LPCSTR path);
  // The user's region country ("iCountry"); 0 when the region gives none.
  static int GetRegionCountry();
  // The standard of the country's frequency table and its line family (3 or 4, written
  // only on a match); 0 when the country has no table or the table no standard name.
  static int GetStandardFamilyForCountry(int country, CString& standardName, int& family);

  // Folders of the settings. The default folders live under the program folder.
  // The picture folder (video 0) or video folder (other), recreated under the program
  // folder when missing; null when it cannot be created or there are no settings.
  static LPCSTR MakeDefaultFolders(int video);
  // Stores a path as the video folder (video 1) or picture folder (0) and returns it;
  // null without settings or for a path too long for the field.
  static LPCSTR SetMediaFolder(LPCSTR path, int video);
  // The video folder, null when empty.
  static LPCSTR GetRecordFolder();
  // Stores a path of at least 3 characters that fits the field; 1 when stored.
  static int SetRecordFolder(LPCSTR path);
  // A folder that exists (a drive root "X:\" of a present drive counts); CD-ROM drives
  // only with allowRemovable, hidden folders only with matchHidden.
  static int FolderExists(LPCSTR path, int matchHidden, int allowRemovable);
  // CreateDirectoryA for a rooted path "X:\..." longer than a drive root.
  static int CreateFolder(LPCSTR path);

  // Record format and quality of the settings, as the record settings window shows them.
  static LPCSTR GetFormatName();
  // Steps the format through its cycle; 1 with the new name, 0 (unchanged) without
  // settings or for a stored value outside the cycle.
  static int CycleFormat(int backward, LPCSTR* name);
  static LPCSTR GetQualityName();
  static int CycleQuality(int backward, LPCSTR* name);
  // The figure shown for the format and quality; 0 for any other combination.
  static long GetBitrateForQuality();

  // The program folder, ending with "\" (GetProgramFolder).
  static CString GetModuleFolder();

  // Volume. The scale maps the levels 0..100 onto the mixer's range.
  void InitVolumeScale();
  // Sets the mixer's volume for a level of the scale (clamped to the mixer's range);
  // 0 without a mixer, else 1.
  int ApplyVolume(int level);
  // The mixer's volume (0 without a mixer), also kept as the volume read back.
  long ReadVolume();
  // 0 mutes the mixer's line and sets the muted flag; anything else unmutes and clears
  // it. Nothing without a mixer.
  void SetAudioOn(int on) override;
  int IsMuted() const { return m_muted; }
  // Volume keys and the volume slider, acting only while a picture or a file plays
  // (live, recording, channel wall, media file): the settings' volume 5 up (down 0) or
  // 5 down, or set to a level (bounded to 0..100); unmutes and applies it; while
  // recording the volume display's timer 333 restarts. The new level, respectively 1;
  // 0 when nothing was done.
  int VolumeStep(int down);
  int SetVolume(int level);
  // Ends timer 333 on the main window.
  void StopOsdTimer();
  // The settings' audio line names: every source of the speakers side of the mixer
  // named by the settings' audio device (spaces ignored; else the first mixer).
  static void FillMixerLineNames();
  // The name of the first source line of that component type on the speakers side (or
  // the recording side) of the mixer named (spaces ignored; else the first mixer); 1 found.
  static int FindMixerSourceName(DWORD componentType, CString& name, int recordingSide, LPCSTR mixerName);

  // ---- Live view: the preview graph for the settings' input, shown in a window.
  // The window becomes the video window; the preview is opened and its events go to the
  // main window. 0 for a missing window or when the preview cannot be opened.
  int StartPreview(HWND videoWindow);
  // Rebuilds the live graph for the settings' input (only when idle, previewing or
  // recording) and starts it: tunes the current channel, or names the external input on
  // the picture. 1 when the preview runs; on failure the graph is gone and the run state 0.
  int OpenPreview();
  // Run or stop the live graph when idle or previewing; 0 without a run state, else 1.
  int CaptureGraphRun();
  int CaptureGraphStop();
  CScheduleList* GetScheduleList() const { return m_pScheduleList; }
  // Graph events to the window: the live graph's while previewing or recording, the
  // playback graph's while a file plays; FALSE otherwise.
  BOOL SetGraphNotifyWindow(HWND window);

  // ---- Inputs of the live picture, switched while previewing.
  void SelectTuner();
  void SelectComposite();
  void SelectSVideo();
  // The schedule run's switch: 16 antenna, 17 cable (tuning `channel` when `tune`), 18
  // Composite, 19 S-Video; other values do nothing.
  void SwitchToSubState(int subState, int channel, int tune);
  // The hardware window's input step while previewing: the tuner goes to Composite
  // ("Composite" into `text`), Composite to the tuner ("TV"), and with `next` S-Video to
  // the tuner too; otherwise `text` is left as it is.
  void SelectInput(int next, CString& text);
  // The Composite/S-Video standard (0 "NTSC(n3.58)", 1 "NTSC(n4.33)", 2 "PAL", 3 "SECAM")
  // by index, or stepped (wrapping) with its name into `name`; only on those inputs, and
  // applied to the live graph only when it changed.
  void SetCrossbarInput(int index);
  void StepCrossbarInput(int previous, CString& name);
  // While previewing or idle, the next (or previous) of two or more capture devices, with
  // the preview reopened on it and its name into `name`; 1 when the preview opened. 0 with
  // `name` left as it is when it does not act, so a recording is never rebuilt over.
  int StepCaptureDevice(int previous, CString& name);
  // 0 tuner, 1 Composite, 2 S-Video.
  int GetInputKind() const;
  // "TV" for either tuner plan, "Composite" or "S-Video"; empty without settings or live graph.
  CString GetInputSourceName() const;
  // Sizes of ApplyDeviceSelection's buffers.
  static constexpr int kDeviceNameBufferSize = 40;
  static constexpr int kLineBufferSize = 16;
  // The next (or previous) audio capture device while previewing with two or more: its
  // name into `name` (40 bytes); `line` (16 bytes) gets the capture audio line, or stays
  // empty when the video device carries its own sound; `spare` (16 bytes) is never
  // written. Nothing is written when nothing changes.
  void ApplyDeviceSelection(int previous, LPSTR name, LPSTR line, LPSTR spare);
  // The standard step of a tuning in a 38 MHz country: the decoder's standard by name and
  // the picture values again. Nothing in a 45.75 MHz country.
  void ApplyChannelStandard(CString standardName) override;

  // ---- Text on the live picture.
  // Green text at the top right of the picture; nothing for an empty text or without a
  // live graph.
  void ShowOsdText(CString text);
  // The text of the current view again: the channel, "Composite" or "S-Video".
  void ReshowOsdText();
  // The volume bar with "Volume: %d" (muted 0) or "Mute" (1).
  void DrawVolumeOsd(int muted);
  void DrawVolumeOsdLevel();
  // The status text; `clear` hides the overlay first.
  void DrawStatusOsd(int clear);
  static int GetCaptureDeviceCount();

  // ---- Country.
  LPCSTR GetSelectedCountryName() const;
  int CopyCountryNames(CStringArray& names) const;
  // The index of the country's name (-1 when absent), selected.
  int SelectCountryByCode(int code);
  // Steps the selected country while previewing; its name and code out.
  void StepCountry(int backward, CString& name, int& code);
  int IsCountryChanged() const { return m_countryChanged; }
  // The country of the list, or of the region when the settings follow it: lists rebuilt
  // and the first channel tuned. 0 when nothing changed.
  int SetCountryFromList(int country);
  int SetCountryFromRegion();
  static int GetFollowRegionCountry();
  static void ToggleFollowRegionCountry();
  // Antenna or cable: the text of the tuner source, and the switch between them.
  static CString GetTunerSourceText();
  static void ToggleTunerSource(CString& text);

  // ---- Picture controls, 0..100; the getters -1 without settings.
  void SetBrightness(int value);
  void SetContrast(int value);
  void SetHue(int value);
  void SetSaturation(int value);
  void SetSharpness(int value);
  // All five stored and applied together, only while previewing with a live graph.
  void SetPictureAll(int sharpness, int contrast, int brightness, int hue, int saturation);
  static int GetBrightness();
  static int GetContrast();
  static int GetHue();
  static int GetSaturation();
  static int GetSharpness();

  // ---- Settings accessors.
  // The stored country code while a country of the list is selected, else -1.
  int GetCountryCode() const;
  static int GetVolume();
  static LPCSTR GetCurrentDeviceName();
  static LPCSTR GetMixerLineName();
  static int GetNameArray2Count();
  static int GetNameArray3Count();
  LPCSTR GetAvStandardName() const;

  // ---- Questions on the media file, each 0 unless a file was opened.
  int IsMediaOpen() const;
  int IsMediaRunning() const;
  int IsMediaPaused() const;
  // A file plays or is held paused (IsMediaRunning or IsMediaOpen).
  int IsMediaFileOpen() const { return IsMediaRunning() || IsMediaOpen(); }
  void SeekMediaPercent(int percent);
  int GetMediaPositionPercent() const;

  // ---- Channel wall and typed channel numbers.
  // On live TV: run state 7, the current channel remembered and the list's first channel
  // taking part in stepping into `first`; nonzero when there is one (0 with the wall's
  // state set when there is none, 0 and nothing changed in other states).
  int StartChannelWall(int& first);
  // The channel tuned with the sound off and shown live in the wall's cell.
  void WallShowChannel(HWND cell, int channel);
  // The picture on screen and the next channel as channel up finds it (the next higher
  // number taking part in stepping); 0, or a negative code (-1 busy, -2 no channel list,
  // -3 no tuner list, -4 no frame, -5 no default picture, -6 past the last channel, -8
  // no live graph).
  int LoadChannelBitmap(HBITMAP& picture, int& channel);
  void SetInputSource(int kind, int value);
  void EnterDigit(int digit);
  void EnterDigitFull(int digit);
  int OnDigitTimer();
  int OnDigitTimerFull();
  // The entry the channel-number text names, at once: the number being typed (ending the
  // entry as its timer would), or on live TV the current channel again.
  void TuneByName();
  // The channel scan ended: the first channel of the plan, back to live TV.
  void FinishScan();

  // ---- Sound and video area.
  void ToggleMute();
  // Stores a live window as the video window: 1, else 0 and nothing stored.
  int SetVideoWindow(HWND window);
  HWND GetVideoWindow() const { return m_hVideoWindow; }
  void SetVideoOwner(HWND window);
  // Places the picture in the video window's client area: the open media file's, else the
  // live graph's wherever a live picture is shown (previewing, recording, scanning, the
  // channel wall, typing a channel number in either window).
  void SetVideoRect(int left, int top, int width, int height);
  void SetPlaybackFullScreen(int flag);
  IMediaEventEx* GetGraphEventInterface() const;
  int IsGraphMissing() const { return m_pCaptureGraph == nullptr; }
  void DestroyCaptureGraph();
  void StopPreview();
  int StopAll();
  int StartGraphInWindow();
  // The record graph's file name into `text` once it has one; otherwise `text` is left.
  void GetRecordFileName(CString& text) const;
  // The live graph's record-file-name operation with `value`, when there is a live graph.
  void SetCaptureGraphOption(CString& value);
  // A still of the live picture into the picture folder, with "Still Pic" shown; its
  // full file name into `path` (empty on failure).
  int TakeSnapshot(CString& path);

  // ---- Media playback: a file of the media player played in place of the live picture.
  // Timer 655 on the media player's window follows the position while a file plays.
  static constexpr UINT_PTR kMediaTimer = 655;
  static constexpr UINT kMediaTimerMs = 100;
  // Mutes and stops the live picture and enters media mode (run state 1).
  void CloseTvForMedia();
  // In media mode: plays the file in the video window (a held paused file is stopped
  // first), with timer 655 on the timer window and the graph's events to the main window.
  // A file that cannot be played leaves media mode without a file (run state 1).
  void PlayMediaFile(HWND videoWindow, HWND timerWindow, LPCSTR path);
  // Resumes a paused file with timer 655 running again; TRUE when it plays.
  BOOL RestartMediaTimer(HWND owner);
  // While a file plays: pause (timer 655 ends), ten seconds on or back, and whether the
  // end was reached (the graph's queued events taken). FALSE when no file plays.
  BOOL MediaPause();
  BOOL MediaForward();
  BOOL MediaBackward();
  BOOL IsMediaComplete();
  // The media player's window, kept while a file plays (run state 4).
  void SetAvWindow(HWND window);
  HWND GetAvWindow() const { return m_hAvWindow; }
  // Closes the played file (run state 4) and stays in media mode (1) with no file.
  void StopMediaFile();
  // Leaves media mode for the live picture of the input it showed, at the settings'
  // capture size when `resize`, with the channel tuned again when `restoreChannel`.
  // FALSE outside media mode or without a live graph (then idle).
  BOOL ReturnToTv(int restoreChannel, int resize);

  // ---- Recording and scheduled runs: manual and scheduled recordings in place of the
  // preview, the free-space rule, the schedule's due items and device loss.
  // Sent to the main window: it opens the TV window, and with it the preview, at once.
  static constexpr UINT UM_OPEN_TV_WINDOW = 1689;
  // Timers on the main window: the scheduled run's second and the free-space check.
  static constexpr UINT_PTR kScheduleSecondTimer = 600;
  static constexpr UINT kScheduleSecondTimerMs = 1000;
  static constexpr UINT_PTR kDiskCheckTimer = 700;
  static constexpr UINT kDiskCheckTimerMs = 60000;
  // Megabytes the record folder's drive must have free.
  static constexpr int kMinFreeDiskMB = 100;

  // Reloads the schedule list from "schedulefile.she".
  void ScheduleFileChanged();
  // Timer 500: opens the TV window ahead of an item, or runs the due item.
  void OnScheduleTick();
  // When idle with an item starting within 20 seconds: UM_OPEN_TV_WINDOW, 1.
  int NotifyScheduleWake();
  // Timer 600: counts the run's seconds and ends it at its duration (whole days dropped).
  void OnScheduleSecond();
  // Ends the running item: recording stopped, the previous input back, the file saved and
  // the scheduler program told, then the item's after-recording action.
  void EndScheduleEntry();
  // The same on device loss, without stopping the recording or telling the scheduler.
  void AbortScheduleEntry();
  // While the record plan window is open (1) due items are not run.
  void SetPlanWindowOpen(int open) { m_planWindowOpen = open; }
  // Timer 700: a manual recording stops when the space has run out.
  void OnDiskCheckTimer();
  // The free-space rule of the run phase: a scheduled recording `item` needs 100 MB and its
  // size estimate (dropped from the list when short); a manual one 100 MB, with timer 700
  // armed when `arm`.
  bool CheckDiskSpace(const CScheduleItem* item, int arm);
  // Free megabytes of the drive of `folder` ("X:\..."); 0 for a shorter path or failure.
  static int GetFreeDiskMB(LPCSTR folder);
  // The record key: a manual recording when the space allows.
  void RequestManualRecording();
  void StartRecordingManual();
  // A scheduled recording in place of the preview; false when it does not record.
  bool StartRecording();
  // The live graph's record folder (the settings' one, else "Videos\" of the program
  // folder, made when missing and stored in the settings), format and quality; 1 done.
  int SetRecordTarget(LPCSTR folder, int format, int quality);
  // The stop key: a manual recording stops, a scheduled run ends.
  void StopRecordingRequest();
  // Back from recording to the preview; the file goes to the video history list.
  void StopRecording();
  // Ends a running scheduled view.
  void EndScheduledView();
  // After the device list changed: the state follows a lost capture device.
  void OnDevicesChanged();
  // Set when the device was lost while the media player held the video area.
  int IsDeviceLost() const { return m_deviceLost; }

 private:
  // The tick's run of a due item once nothing stands in its way.
  void RunDueItem(const CScheduleItem& due);
  bool StartItem(const CScheduleItem& item);
  bool IsBusyForSchedule() const;
  void DropDueItem(const CScheduleItem& item, int tellPlanWindow);
  void SaveRunState();
  void SwitchToItemSource(const CScheduleItem& item);
  void StartSecondTimer();
  void KillSecondTimer();
  void RestoreSavedInput();
  void SaveScheduleFile();
  void RunAfterAction(int action);
  // The live graph replaced by a record graph for the settings' folder, format and
  // quality; false (graph gone) when it does not run.
  bool BuildRecordGraph(int muteAround);
  // The preview torn down and the run state moved to its recording state.
  void LeavePreviewForRecording();
  CString RecordedFileName() const;
  void AppendRecordedFile(const CString& file);
  // A recording still running as the program closes ends whole with the graph: it goes
  // to the video history list as a stopped one does.
  void ListRecordingAtShutdown();
  void LoseLastDevice();
  void LoseDeviceInUse();
  // The last started item, made on first use; clashing due items are not run again.
  std::unique_ptr<CScheduleItem> m_pLastStartedItem;
  int m_planWindowOpen = 0;
  UINT_PTR m_scheduleSecondTimer = kNoTimer;
  UINT_PTR m_diskCheckTimer = kNoTimer;
  int m_deviceLost = 0;

 private:
  void StartMediaTimer();
  void KillMediaTimer();
  void CloseMediaGraph();
  void RestartLiveGraph(int resize);
  // The media player's window, and the id SetTimer gave timer 655 and the window it runs
  // on (the player's window when it was set; a later player window does not move it).
  HWND m_hAvWindow = nullptr;
  UINT_PTR m_mediaTimer = kNoTimer;
  HWND m_hMediaTimerWnd = nullptr;

 private:
  static constexpr UINT_PTR kNoTimer = static_cast<UINT_PTR>(-1);

  // Start-up steps.
  int CreateSettings(int& loadedCountry);
  int CheckCaptureDevice();
  void CreateScheduleList();
  int CreateChannelList(int loadedCountry);
  // Shut-down steps.
  int SaveFiles();
  void ReleaseObjects();
  void KillTimers();
  // The main window of this thread's application (the launcher); null when there is none.
  static HWND MainWindow();
  // The common part of a volume step and a volume set.
  void ChangeVolume(int level);
  int PlaysPictureOrSound() const;
  // Live-view steps.
  int BuildPreview();
  void FailPreview();
  void SwitchExternal(int subState, int runState, int videoInput, int kind, LPCSTR text);
  void TuneCurrentListChannel();
  void TuneAndShow(int number, int list);
  void ShowChannelOsdText(int number, int list);
  void ApplyPicture();
  void SetPictureValue(int& field, int value, long property);
  int ChangeCountry(int country);
  // The country index names an entry of the settings' country list.
  bool CountrySelected() const;
  int DigitAllowed(int digit, int typingState) const;
  void AppendDigit(int digit);
  int FinishDigits(UINT_PTR timer);
  LOGFONTA OsdFont(int height) const;
  // Stores the external inputs' standard and, when it changed, applies it to the live
  // graph; `quiet` is whether the change from the old one needs no muting.
  void ChangeCrossbarInput(int index, bool (*quiet)(int from, int to));

  CVolumeMixer* m_pVolumeMixer = nullptr;
  CRunState* m_pRunState = nullptr;
  CScheduleList* m_pScheduleList = nullptr;
  CString m_statusText;
  HWND m_hScanTargetWnd = nullptr;
  // The id SetTimer gave timer 500 and the window it runs on; kNoTimer when not running.
  UINT_PTR m_scheduleTimer = kNoTimer;
  HWND m_hScheduleTimerWnd = nullptr;
  int m_countryIndex = 0;
  int m_avStandardIndex = 0;
  // The volume scale: mixer maximum, minimum, step and number of levels.
  long m_volumeMaximum = 0;
  long m_volumeMinimum = 0;
  long m_volumeStep = 0;
  int m_volumeLevels = 0;
  int m_muted = 0;
  long m_volumeRead = 0;
  // The id SetTimer gave timer 333 and its window; kNoTimer when not running.
  UINT_PTR m_osdTimer = kNoTimer;
  HWND m_hOsdTimerWnd = nullptr;
  // The live graph (preview or record graph) and the media file's graph; owned.
  CCaptureGraph* m_pCaptureGraph = nullptr;
  CPlaybackGraph* m_pPlaybackGraph = nullptr;
  int m_mediaOpened = 0;
  HWND m_hVideoWindow = nullptr;
  int m_typedNumber = 0;
  int m_wallChannel = 0;
  int m_wallBusy = 0;
  int m_countryChanged = 0;

  // ---- Channel scan and channel switching.
 public:
  // Messages of the scan to its target window (the channel window).
  static constexpr UINT UM_SCAN_CHANNEL_FOUND = 1624;  // posted; lParam a heap ChannelRecord the receiver owns
  static constexpr UINT UM_SCAN_DONE = 1625;           // posted when the worker ends
  static constexpr UINT UM_SCAN_PROGRESS = 1711;       // sent; wParam percent 0..100
  // Channels found by the running scan.
  static inline std::atomic<int> ScanFoundCount{0};

  // The channel window's start/stop toggle. Without a running scan: ends a running
  // scheduled entry, then on live TV only, starts the scan worker in run state 6. With a
  // running scan in run state 6: asks it to end after its current channel.
  void StartScan();
  // Asks a running scan to end after its current channel, whatever the run state.
  static void StopChannelScan();
  // The scan worker (argument: the controller): steps the tuner through the plan of the
  // country's antenna or cable source, reports each frequency with a signal to the scan
  // target and ends with UM_SCAN_DONE, ScanRunning cleared, the sound left off. 0.
  static UINT ScanThreadProc(LPVOID controller);

  // The channel operations of the windows. Each first stops a running scan and ends a
  // running scheduled entry, mutes around the tuning and names the channel on the picture.
  // Channel up (nonzero) or down from the tuned channel on live TV, passing skipped ones.
  void StepChannel(int up);
  // Back to the channel before the current one.
  void RecallPreviousChannel();
  // A running scheduled view or recording ends as its own end would end it; nothing
  // without one.
  void StopScheduledRecording();
  // The record chosen in the channel window, unless it is the current one.
  void TuneChannelFromDialog(const ChannelRecord* record);
  // The input switches' tuning: the tuner source's list's current channel, on live TV or
  // while recording from the tuner. Stops only the scan. 1.
  int TuneCurrentChannel();
  // The current channel tuned again with the sound off and nothing shown (recording start
  // and end, standard change).
  void RetuneSilently();
  // The windows' "tune again": the current channel with its name on the picture.
  void RetuneCurrentChannel() { TuneCurrentChannel(); }

  // The live picture shown in `window` for the settings' input: a preview built when
  // there is no live graph, else the graph restarted on that input at full size. 1 when
  // the picture runs; on failure the graph is gone and the run state 0.
  int SwitchInput(HWND window);
  // While previewing: the line standard follows the country (tuner) or the external
  // standard, and the live graph is resized to width x height (480 lines for 525-line
  // pictures), the channel tuned again on live TV. The first argument is not used.
  void SetVideoStandard(int ignored, int width, int height);

 private:
  // The opening of the user's channel operations.
  void StopScanAndScheduleEntry();
  // Scans the plan of the country's tuner source; returns at once without one.
  void ScanPlan();
  void ReportFoundChannel(const char* standard, float mhz, int number);
  // Ends a running scan and waits until every scan worker has let go of the controller,
  // serving the progress messages they send meanwhile. Shut-down calls it first.
  void WaitForScanWorkers();
  // Deletes the workers that have ended.
  void ForgetEndedScanWorkers();
  // The scan workers not yet seen to end: a scan may start while the one stopped before it
  // still finishes its step.
  std::vector<CWinThread*> m_scanWorkers;
};

// The one controller, set by the launcher.
extern CAppController* g_pAppController;
