// The two editing libraries as the video editor reaches them: "Scrubolt.dll" (the clip
// player) and "Cutvalon.dll" (the editing project), loaded by name from the program folder
// and their exports looked up one by one. The libraries stay loaded as long as this
// object lives. A library or export that cannot be found answers every call with 0, as
// the libraries themselves do without their engine or project.
#pragma once

#include "clip_player/mpegengine.h"
#include "edit_project/Project.h"

#include <win32/module.h>

class CEditingLibraries {
 public:
  // One export: a call through it runs the library's function, or gives 0 (or nothing).
  template <typename Signature>
  class Export;
  template <typename Result, typename... Args>
  class Export<Result(Args...)> {
   public:
    void Bind(HMODULE module, LPCSTR name) {
      m_function = module ? reinterpret_cast<Result (*)(Args...)>(::GetProcAddress(module, name)) : nullptr;
    }
    Result operator()(Args... args) const { return m_function ? m_function(args...) : Result(); }

   private:
    Result (*m_function)(Args...) = nullptr;
  };

  CEditingLibraries();
  ~CEditingLibraries();
  CEditingLibraries(const CEditingLibraries&) = delete;
  CEditingLibraries& operator=(const CEditingLibraries&) = delete;

  // Both libraries were found.
  bool IsLoaded() const { return m_clipPlayer && m_project; }

  // The clip player.
  Export<decltype(::mpeg_Init)> mpeg_Init;
  Export<decltype(::mpeg_Close)> mpeg_Close;
  Export<decltype(::mpeg_open)> mpeg_open;
  Export<decltype(::mpeg_Preview)> mpeg_Preview;
  Export<decltype(::mpeg_Pause)> mpeg_Pause;
  Export<decltype(::mpeg_Stop)> mpeg_Stop;
  Export<decltype(::mpeg_MoveToFrame)> mpeg_MoveToFrame;
  Export<decltype(::mpeg_MoveToStart)> mpeg_MoveToStart;
  Export<decltype(::mpeg_set_cut_start)> mpeg_set_cut_start;
  Export<decltype(::mpeg_set_cut_end)> mpeg_set_cut_end;
  Export<decltype(::mpeg_percent_to_mp_pos_t)> mpeg_percent_to_mp_pos_t;
  Export<decltype(::mpeg_get_current_progress)> mpeg_get_current_progress;
  Export<decltype(::mpeg_video_auto_size)> mpeg_video_auto_size;
  Export<decltype(::mpeg_capture_and_add_to_mp_list)> mpeg_capture_and_add_to_mp_list;
  Export<decltype(::mpeg_get_capture_info)> mpeg_get_capture_info;

  // The editing project.
  Export<decltype(::mpeg_Project_Open)> mpeg_Project_Open;
  Export<decltype(::mpeg_Project_Close)> mpeg_Project_Close;
  Export<decltype(::mpeg_Project_SetNotifyWnd)> mpeg_Project_SetNotifyWnd;
  Export<decltype(::mpeg_Project_Addsrc)> mpeg_Project_Addsrc;
  Export<decltype(::mpeg_Project_is_has_source)> mpeg_Project_is_has_source;
  Export<decltype(::mpeg_Project_Preview)> mpeg_Project_Preview;
  Export<decltype(::mpeg_Project_Pause)> mpeg_Project_Pause;
  Export<decltype(::mpeg_Project_Stop)> mpeg_Project_Stop;
  Export<decltype(::mpeg_Project_MovetoFrame)> mpeg_Project_MovetoFrame;
  Export<decltype(::mpeg_Project_HandleGraphEvent)> mpeg_Project_HandleGraphEvent;
  Export<decltype(::mpeg_Project_get_preview_progress)> mpeg_Project_get_preview_progress;
  Export<decltype(::mpeg_Project_auto_size_video)> mpeg_Project_auto_size_video;
  Export<decltype(::mpeg_Project_Save)> mpeg_Project_Save;

 private:
  HMODULE m_clipPlayer = nullptr;
  HMODULE m_project = nullptr;
};
