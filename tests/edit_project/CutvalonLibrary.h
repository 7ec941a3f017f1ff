// The editing project library as its host sees it: loaded by name from the program
// folder and its exports looked up one by one.
#pragma once

#include "clip_player/ScruboltLibrary.h"

#include "edit_project/Project.h"

namespace edtest {

struct CutvalonLibrary {
  HMODULE module = LoadLibraryA("Cutvalon.dll");
  EDTEST_EXPORT(mpeg_Project_Open);
  EDTEST_EXPORT(mpeg_Project_Close);
  EDTEST_EXPORT(mpeg_Project_SetNotifyWnd);
  EDTEST_EXPORT(mpeg_Project_Addsrc);
  EDTEST_EXPORT(mpeg_Project_Deletesrc);
  EDTEST_EXPORT(mpeg_Project_Deletesrc2);
  EDTEST_EXPORT(mpeg_Project_Insert);
  EDTEST_EXPORT(mpeg_Project_Moveto);
  EDTEST_EXPORT(mpeg_Project_Moveto2);
  EDTEST_EXPORT(mpeg_Project_is_has_source);
  EDTEST_EXPORT(mpeg_Project_Preview);
  EDTEST_EXPORT(mpeg_Project_Pause);
  EDTEST_EXPORT(mpeg_Project_Stop);
  EDTEST_EXPORT(mpeg_Project_MovetoFrame);
  EDTEST_EXPORT(mpeg_Project_HandleGraphEvent);
  EDTEST_EXPORT(mpeg_Project_get_preview_progress);
  EDTEST_EXPORT(mpeg_Project_get_save_progress);
  EDTEST_EXPORT(mpeg_Project_auto_size_video);
  EDTEST_EXPORT(mpeg_Project_Save);

  ~CutvalonLibrary() {
    if (module) FreeLibrary(module);
  }
};

}  // namespace edtest
