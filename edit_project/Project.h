// Cutvalon, the editing project library ("Cutvalon.dll"): one project of source clips
// kept in order and built into an Editing Services timeline with a video group and an
// audio group, previewed in a host window and rendered to an MPEG or AVI file.
//
// Every export acts on one process-wide project made by mpeg_Project_Open; without it
// they return 0 (mpeg_Project_Close returns 1). The host initialises COM first (the
// clip player's mpeg_Init does). Hosts load the library at run time and look the
// exports up by name.
#pragma once

#include <dshow/strmif.h>
#include <win32/types.h>
#include <win32/user/message.h>

#include <cstddef>
#include <cstdint>

// Posted to the notify window whenever the project's graph has events queued.
inline constexpr UINT UM_PROJECT_GRAPH_EVENT = WM_USER + 13;

// A source clip: a stretch of a media file placed at a stretch of the output timeline
// (times in 100-ns units). The file name is read only during the call that passes it.
struct mpeg_src_s {
  std::int64_t timeline_start;
  std::int64_t timeline_stop;
  std::int64_t media_start;
  std::int64_t media_stop;
  std::int32_t video_track;     // nonzero: the video track
  std::int32_t no_audio_track;  // with video_track 0: nonzero = no track, 0 = the audio track
  const char* file_name;
  std::int32_t reserved;
};
static_assert(offsetof(mpeg_src_s, video_track) == 32);
static_assert(offsetof(mpeg_src_s, file_name) == 40);

// What to save: 0 MPEG-1 (320 × 240), 1 MPEG-2 (640 × 480), 5 AVI with the optional
// compressors, which stay the caller's (the project takes its own references).
struct save_option_s {
  IBaseFilter* video_compressor;
  IBaseFilter* audio_compressor;
  std::int32_t output_type;
  char output_file[264];
};

extern "C" {
int mpeg_Project_Open();
int mpeg_Project_Close();
void mpeg_Project_SetNotifyWnd(HWND window);
int mpeg_Project_Addsrc(const mpeg_src_s* src);
int mpeg_Project_Deletesrc(int index);
int mpeg_Project_Deletesrc2(const mpeg_src_s* src);
int mpeg_Project_Insert(mpeg_src_s* src, int a, int b);
int mpeg_Project_Moveto(int index, int offset);
int mpeg_Project_Moveto2(int index, int other, int before);
int mpeg_Project_is_has_source();
int mpeg_Project_Preview(HWND window);
int mpeg_Project_Pause();
int mpeg_Project_Stop();
int mpeg_Project_MovetoFrame(int percent);
int mpeg_Project_HandleGraphEvent(int rewind);
int mpeg_Project_get_preview_progress(double* ratio);
int mpeg_Project_get_save_progress(double* ratio);
int mpeg_Project_auto_size_video();
int mpeg_Project_Save(const save_option_s* options);
}
