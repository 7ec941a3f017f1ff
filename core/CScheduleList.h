// The planned views and recordings, in the order of "schedulefile.she" in the program
// folder, which the scheduler program reads too. Owned by the controller, which loads
// the file at start-up and runs due items from it once a second; the record plan window
// and the schedule entry editor add, insert and remove items.
//
// Every time test breaks times down in the machine's local time. A null item argument
// makes every operation return 0 (FindIndex -1) without effect.
#pragma once

#include "core/CScheduleItem.h"

#include <mfc/afx.h>

#include <ctime>

class CScheduleList {
 public:
  // Sent to the record plan window ("Orvane Media_RecordDlg"); wParam the index of the
  // item just removed or -1.
  static constexpr UINT UM_SCHEDULE_CHANGED = 1569;
  // Sent to the main window when a scheduled run ends early.
  static constexpr UINT UM_SCHEDULE_RUN_ENDED = 1912;
  // WM_COMMAND ids the scheduler program's window takes.
  static constexpr WPARAM IDC_RELOAD_SCHEDULE = 459;
  static constexpr WPARAM IDC_STANDBY_AFTER_RECORD = 1127;
  static constexpr WPARAM IDC_SHUTDOWN_AFTER_RECORD = 1128;
  // The main window's own timers when the scheduler program is not running.
  static constexpr UINT_PTR kShutdownTimer = 3;
  static constexpr UINT_PTR kStandbyTimer = 4;
  static constexpr UINT kPowerTimerMs = 10000;

  // Run phases.
  static constexpr int kPhaseNone = 1;
  static constexpr int kPhaseManualRecording = 2;
  static constexpr int kPhaseScheduledRecording = 3;

  // What a scheduled run switched away from, restored when it ends.
  struct SavedState {
    int subState = 0;  // 16 antenna, 17 cable, 18 Composite, 19 S-Video
    int runState = 0;
    int channelList = 0;  // 1 or 2
    int channel = 0;
  };

  CScheduleList() = default;
  CScheduleList(const CScheduleList&) = delete;
  CScheduleList& operator=(const CScheduleList&) = delete;
  virtual ~CScheduleList();

  // ---- The file.
  // Replaces the items by the file's whole records, in file order (a part of a record at
  // the end is left out). 0 for a null path, a file that cannot be read or one larger than
  // any schedule (the items stay, and the file is left as it is).
  int Load(LPCSTR path);
  // Writes every record in list order to a new file that then takes the place of `path`;
  // 0 for a null path or when any step fails, the old file then left as it was.
  int Save(LPCSTR path) const;

  // ---- The items.
  int RemoveAll();
  int GetCount() const { return m_items.GetSize(); }
  // The stored item (not a copy); null for an index outside the list.
  CScheduleItem* GetAt(int index) const;
  // Store a new copy of the item: at the end, respectively before `index` (0..count).
  int Add(const CScheduleItem* item);
  int InsertAt(int index, const CScheduleItem* item);
  // Same start, duration and recurrence; the other fields are not compared.
  static bool IsSameItem(const CScheduleItem* a, const CScheduleItem* b);
  // The first stored item that IsSameItem with `item`; -1 if none.
  int FindIndex(const CScheduleItem* item) const;
  // Deletes the first stored item that IsSameItem with `item`; 0 if none.
  int Remove(const CScheduleItem* item);
  static int CopyItem(CScheduleItem* destination, const CScheduleItem* source);

  // ---- Time rules.
  // The first item in list order due now, respectively 20 seconds from now.
  CScheduleItem* FindDueItem() const;
  // The first item in list order due at `when` (local time).
  CScheduleItem* FindDueItemAt(time_t when) const;
  // The first item in list order whose due window opens after `after`, up to `until`, so
  // checks of consecutive spans see each item once however short its window is.
  CScheduleItem* FindItemComingDue(time_t after, time_t until) const;
  CScheduleItem* FindItemStartingSoon() const;
  // The earliest coming start within 30 days; 0 if none.
  time_t GetNextDueTime() const;
  // Whether the new item `a` clashes with the stored item `b`.
  static bool ItemsConflict(const CScheduleItem* a, const CScheduleItem* b);
  // Whether `item` clashes with any stored item.
  bool FindConflict(const CScheduleItem* item) const;
  // Whether a's run meets b's window (b's start to its end + 10 seconds), by time of day,
  // respectively by full date and time.
  static bool OverlapByTimeOfDay(const CScheduleItem* a, const CScheduleItem* b);
  static bool OverlapOnce(const CScheduleItem* a, const CScheduleItem* b);
  // Deletes flagged once items whose minute has passed.
  int RemoveExpiredOnceItems();
  // "SUN" 0 … "SAT" 6, "DAY" 7, anything else 8; exact case.
  static int RecurrenceFromKeyword(LPCSTR text);

  // ---- The scheduler program and the windows.
  // Posted to the scheduler program's window when it is running; standby and shutdown fall
  // back to the main window's timers 4 and 3 without it.
  static void ReloadSchedulerProgram();
  static void RequestStandby();
  static void RequestShutdown();
  // Tells the record plan window (when `notify` is set and it is open) that the item at
  // `index` was removed (-1: none), then the scheduler program to re-read the file.
  static void NotifyChanged(int index, int notify);

  // ---- The entry being composed: the schedule entry editor writes it, the record plan
  // window tests and stores it. Kept apart from the current run's copy, so an entry saved
  // while a planned recording runs does not change that recording's length or action.
  CScheduleItem& WorkingItem() { return m_workingItem; }

  // ---- The current run.
  CScheduleItem& CurrentItem() { return m_currentItem; }
  SavedState& Saved() { return m_saved; }
  void SetRunPhase(int phase) { m_runPhase = phase; }
  bool IsIdle() const { return m_runPhase == kPhaseNone; }
  bool IsManualRecording() const { return m_runPhase == kPhaseManualRecording; }
  bool IsScheduledRecording() const { return m_runPhase == kPhaseScheduledRecording; }
  int& RecordRun() { return m_recordRun; }
  int& ViewRun() { return m_viewRun; }
  // Seconds the current item has run, counted by the runner.
  int& Elapsed() { return m_elapsed; }
  void ResetElapsed() { m_elapsed = 0; }
  void ResetRunFlags() { m_recordRun = m_viewRun = 0; }
  // When a run flag is set: UM_SCHEDULE_RUN_ENDED to the main window, then the flags reset.
  void EndRunIfActive();

 private:
  CScheduleItem* ItemAt(int index) const { return static_cast<CScheduleItem*>(m_items.GetAt(index)); }
  void DeleteAt(int index);

  CScheduleItem m_currentItem;
  CScheduleItem m_workingItem;
  CPtrArray m_items;  // owned CScheduleItem*
  SavedState m_saved;
  int m_runPhase = kPhaseNone;
  int m_recordRun = 0;
  int m_viewRun = 0;
  int m_elapsed = 0;
};
