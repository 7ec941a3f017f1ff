// Scrubolt, the clip player library ("Scrubolt.dll"): one media file at a time played in
// a window its host supplies, seeked by position or percent, marked with a cut start and
// a cut end, and its shown frame captured to bitmap files kept in a list together with
// the marks that were set when each was taken.
//
// Every export acts on one process-wide engine made by mpeg_Init and destroyed by
// mpeg_Close; without it the exports return 0 or do nothing. mpeg_Init also initialises
// COM for the calling thread, which the editing project library relies on. Hosts load the
// library at run time and look the exports up by name.
#pragma once

#include <win32/types.h>

#include <cstddef>
#include <cstdint>

// A media position in 100-ns units; -1 = unset.
typedef std::int64_t mp_pos_t;

// A captured frame and the cut marks set when it was grabbed (288 bytes, little-endian).
struct mpeg_persist_bitmap_s {
  std::int32_t valid;
  std::int32_t reserved;
  mp_pos_t cut_start;
  mp_pos_t cut_end;
  char path[260];
  std::int32_t extra;
};
static_assert(sizeof(mpeg_persist_bitmap_s) == 288);
static_assert(offsetof(mpeg_persist_bitmap_s, cut_start) == 8);
static_assert(offsetof(mpeg_persist_bitmap_s, path) == 24);
static_assert(offsetof(mpeg_persist_bitmap_s, extra) == 284);

extern "C" {
int mpeg_Init();
int mpeg_Close();
int mpeg_open(const char* file, HWND video);
// With a window (not 0) the window is stored first; 0 runs as the call without one.
int mpeg_Preview(HWND video);
int mpeg_Pause();
int mpeg_Stop();
int mpeg_MoveToFrame(mp_pos_t pos);
int mpeg_MoveToFrame2(int percent);
int mpeg_MoveToStart();
int mpeg_MoveToEnd();
void mpeg_set_cut_start(int percent);
void mpeg_set_cut_start2(mp_pos_t pos);
void mpeg_set_cut_end(int percent);
void mpeg_set_cut_end2(mp_pos_t pos);
void mpeg_set_cut_save_start(int flag);
int mpeg_percent_to_mp_pos_t(int percent, mp_pos_t* pos);
int mpeg_get_current_progress(double* ratio);
int mpeg_video_auto_size();
int mpeg_Capture(const char* path);
int mpeg_Capture2(const char* path, int percent);
int mpeg_Capture3(const char* path, mp_pos_t pos);
int mpeg_capture_and_add_to_mp_list(const char* path);
int mpeg_get_capture_info(mp_pos_t cut_start, mp_pos_t cut_end, mpeg_persist_bitmap_s* info);
int mpeg_get_last_capture_info(mpeg_persist_bitmap_s* info);
}
