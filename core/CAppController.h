// The controller: the one object of the program that owns every long-lived engine object
// (settings, device control, device lists, run state, schedule list, channel list, volume
// mixer) and brings them up and down in a fixed order. It lives from the launcher's
// initialisation to its close, held in g_pAppController; every window reaches it there.
// Its timers run on the launcher (the thread's main window), which hands their WM_TIMER
// back to it.
//
// Objects owned by the controller but reached without it sit in process-wide pointers of
// their own: g_pAppSettings (CAppSettings.h), g_pDeviceControl (below), the channel list.
#pragma once

#include "core/CObserver.h"

#include <mfc/afx.h>
#include <win32/types.h>

class CQXUSB_Control;
class CVolumeMixer;

class CAppController : public CObserver {
 public:
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

  // The program folder, ending with "\".
  static CString GetModuleFolder();

  // Volume. The scale maps the levels 0..100 onto the mixer's range.
  void InitVolumeScale();
  // Sets the mixer's volume for a level of the scale (clamped to the mixer's range).
  void ApplyVolume(int level);
  // The name of the first source line of that component type on the speakers side (or
  // the recording side) of the mixer named (spaces ignored; else the first mixer); 1 found.
  static int FindMixerSourceName(DWORD componentType, CString& name, int recordingSide, LPCSTR mixerName);

 private:
  CVolumeMixer* m_pVolumeMixer = nullptr;
  // The volume scale: mixer maximum, minimum, step and number of levels.
  long m_volumeMaximum = 0;
  long m_volumeMinimum = 0;
  long m_volumeStep = 0;
  int m_volumeLevels = 0;
};

// The device control object, null while the device control interface is not open.
extern CQXUSB_Control* g_pDeviceControl;
