// The clip player library as its host sees it: loaded by name from the program folder
// and its exports looked up one by one.
#pragma once

#include "clip_player/mpegengine.h"

#include <win32/module.h>

namespace edtest {

#define EDTEST_EXPORT(name) decltype(&::name) name = reinterpret_cast<decltype(&::name)>(GetProcAddress(module, #name))

struct ScruboltLibrary {
  HMODULE module = LoadLibraryA("Scrubolt.dll");
  EDTEST_EXPORT(mpeg_Init);
  EDTEST_EXPORT(mpeg_Close);
  EDTEST_EXPORT(mpeg_open);
  EDTEST_EXPORT(mpeg_Preview);
  EDTEST_EXPORT(mpeg_Pause);
  EDTEST_EXPORT(mpeg_Stop);
  EDTEST_EXPORT(mpeg_MoveToFrame);
  EDTEST_EXPORT(mpeg_MoveToFrame2);
  EDTEST_EXPORT(mpeg_MoveToStart);
  EDTEST_EXPORT(mpeg_MoveToEnd);
  EDTEST_EXPORT(mpeg_set_cut_start);
  EDTEST_EXPORT(mpeg_set_cut_start2);
  EDTEST_EXPORT(mpeg_set_cut_end);
  EDTEST_EXPORT(mpeg_set_cut_end2);
  EDTEST_EXPORT(mpeg_set_cut_save_start);
  EDTEST_EXPORT(mpeg_percent_to_mp_pos_t);
  EDTEST_EXPORT(mpeg_get_current_progress);
  EDTEST_EXPORT(mpeg_video_auto_size);
  EDTEST_EXPORT(mpeg_Capture);
  EDTEST_EXPORT(mpeg_Capture2);
  EDTEST_EXPORT(mpeg_Capture3);
  EDTEST_EXPORT(mpeg_capture_and_add_to_mp_list);
  EDTEST_EXPORT(mpeg_get_capture_info);
  EDTEST_EXPORT(mpeg_get_last_capture_info);

  ~ScruboltLibrary() {
    if (module) FreeLibrary(module);
  }
};

}  // namespace edtest
