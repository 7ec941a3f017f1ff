// The channel lists: list 1 for the antenna plan and list 2 for the cable plan of the
// current country, each a set of ChannelRecords keyed by channel number with a current
// channel and a count, read from and written to ".chl" files, built from the country's
// plans in the frequency-table library, and tuned record by record.
//
// One instance, made by the controller's start-up and held in g_pChannelList; the channel
// window edits it. Its tunings mute the sound and set the decoder's standard through the
// host it was made with (the controller); a list made without one tunes the tuner alone.
// Lists are chosen by id: 1 antenna, 2 cable; any other id is refused (0, or -1 where a
// number is asked for), and a refused record stays the caller's.
//
// Loading a file or rebuilding from the country replaces the lists only once the whole
// input has proved good: a short, foreign or unreadable file, or a country without
// complete plans, leaves the lists as they were. Saving writes the file whole or reports
// failure, and the header always counts the records written.
//
// User-interface thread only.
#pragma once

#include "core/data/IChannelTuningHost.h"

#include <mfc/afx.h>
#include <win32/types.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

// One channel, the same in memory and in a ".chl" file (84 bytes, little-endian). The
// texts are NUL-terminated within their fields; bytes after the NUL mean nothing.
struct ChannelRecord {
  std::uint32_t SkipFlag;   // nonzero: left out of channel up/down
  char StandardName[10];    // video standard, e.g. "PAL_D"
  char ChannelName[62];     // "Channel%d" unless the user named it
  float Frequency;          // picture carrier in MHz
  std::int32_t ChannelNumber;  // from 1; the record's key in its list
};
static_assert(sizeof(ChannelRecord) == 84);
static_assert(offsetof(ChannelRecord, SkipFlag) == 0);
static_assert(offsetof(ChannelRecord, StandardName) == 4);
static_assert(offsetof(ChannelRecord, ChannelName) == 14);
static_assert(offsetof(ChannelRecord, Frequency) == 76);
static_assert(offsetof(ChannelRecord, ChannelNumber) == 80);

// The first 16 bytes of a ".chl" file; the records of list 1 follow, then those of list 2.
struct ChannelFileHeader {
  std::int32_t CurrentChannel1;
  std::int32_t CurrentChannel2;
  std::int32_t Count1;
  std::int32_t Count2;
};
static_assert(sizeof(ChannelFileHeader) == 16);
static_assert(offsetof(ChannelFileHeader, CurrentChannel2) == 4);
static_assert(offsetof(ChannelFileHeader, Count1) == 8);
static_assert(offsetof(ChannelFileHeader, Count2) == 12);

class CChannelList {
 public:
  explicit CChannelList(IChannelTuningHost* host = nullptr);
  CChannelList(const CChannelList&) = delete;
  CChannelList& operator=(const CChannelList&) = delete;
  virtual ~CChannelList();

  // Records and lists. AddChannel takes a heap record (new) and files it under its number,
  // replacing a record of that number; 0 for a null record, a number below 1 or another
  // list id.
  int AddChannel(int list, ChannelRecord* record);
  // Files a heap record under `number` (≥ 1) without counting it.
  void PutChannel(int number, int list, ChannelRecord* record);
  int UpdateChannel(int number, int list, const ChannelRecord* record);
  int GetChannel(int number, int list, ChannelRecord* out) const;
  int RemoveChannel(int number, int list);
  int HasChannel(int number, int list) const;
  int IsSkipped(int number, int list) const;
  CString GetStandardName(int number, int list) const;
  int ClearList(int list);
  void RemoveAll();

  int GetChannelCount(int list) const;
  void SetChannelCount(int count, int list);
  int GetCurrentChannel(int list) const;
  void SetCurrentChannel(int number, int list);
  // Lowest and highest number present; -1 for an empty list.
  int GetFirstChannelNumber(int list) const;
  int GetLastChannelNumber(int list) const;
  // The lowest number present above `after`; -1 when there is none. Walks a list in order
  // however far apart its numbers lie.
  int GetNextChannelNumber(int after, int list) const;

  int IsCurrentRecord(const ChannelRecord* record) const;
  // "Channel %d", or "<name> %d" when the tuned number is in the active list; 0 before
  // anything was tuned.
  int GetTunedChannelText(CString& out) const;

  // Channel up and down from `current`, wrapping, passing over gaps and skipped records.
  int NextChannel(int current, int list, ChannelRecord* out) const;
  int PrevChannel(int current, int list, ChannelRecord* out) const;

  // ".chl" files; 1 on success.
  int LoadFile(LPCSTR path);
  int SaveFile(LPCSTR path);
  // A file of the country's plans, straight from its table.
  int BuildDefaultListFile(LPCSTR path);
  // Both lists replaced by the country's plans; the currents stay.
  int BuildDefaultLists();

  // Tuning; 1 when tuned. The third argument of the tune operations is not used.
  int TuneChannel(int number, int list, int unused = 0);
  int TuneChannelInRange(int number, int list, int unused = 0);
  int TuneChannelQuick(int number, int list, int unused = 0);
  int TuneChannelInRangeMuted(int number, int list, int unused = 0);
  // The list's record when present, else the plan's entry for that number.
  int TuneNumber(int number, int list, int unused = 0);
  int TuneNumberMuted(int number, int list, int unused = 0);
  // Back to the channel before the current one; twice returns.
  int TunePreviousChannel();

 private:
  using Channels = std::map<int, std::unique_ptr<ChannelRecord>>;

  Channels* channels(int list);
  const Channels* channels(int list) const;
  const ChannelRecord* find(int number, int list) const;
  int* countOf(int list);
  static std::int32_t CurrentInList(const Channels& list, std::int32_t current);

  // The shared steps of tuning a list record: the records, the waits, the tuned number.
  // `alwaysStandard` applies the record's standard even when it is already in force.
  // `muted` switches the sound off from just before the tuner write to after the wait.
  int TuneListRecord(int number, int list, DWORD waitBefore, DWORD waitAfter, bool alwaysStandard,
                     bool muted = false);
  int TunePlanEntry(int number, int list, DWORD waitBefore, DWORD waitAfter, bool muted = false);
  void Tuned(int number, int list);
  // In a 38 MHz country the video decoder follows the standard of the channel tuned
  // (through the host); the name becomes the standard in force.
  void ApplyStandard(const char* name, bool always);
  // Sound off (0) or on around a muted tuning, through the host.
  void SetAudioOn(int on);

  IChannelTuningHost* m_pHost;
  Channels m_list1;
  Channels m_list2;
  int m_current1 = 0;
  int m_current2 = 0;
  int m_count1 = 0;
  int m_count2 = 0;
  int m_tunedNumber = 0;
  char m_standardInForce[12] = {};
};

// The one channel list, null before start-up and after shut-down.
extern CChannelList* g_pChannelList;

// The channel now on screen, the one before it (for recall) and the list record last
// tuned; allocated by the first tuning, released by the controller's shut-down.
extern ChannelRecord* g_pCurrentChannelRecord;
extern ChannelRecord* g_pPreviousChannelRecord;
extern ChannelRecord* g_pTunedChannelRecord;

// Set while the channel scan runs (the controller's worker); clearing it ends the scan
// after its current channel, as every tuning the user asks for does.
extern std::atomic<int> ScanRunning;

// SettingsRecord::VideoInput when it names a list (1 or 2), else -1 (Composite, S-Video).
int GetActiveChannelListIndex();
// The first and last channel number of the plan the video input selects; -1 without
// settings, without a table for the country or for another input.
int GetPlanFirstChannel();
int GetPlanLastChannel();

// Copies every field, the texts bounded by their fields; 0 when either is null.
int CopyChannelRecord(const ChannelRecord* source, ChannelRecord* destination);
// Same skip flag, number and texts, frequencies at most 0.0001 MHz apart.
int ChannelRecordsEqual(const ChannelRecord* a, const ChannelRecord* b);
