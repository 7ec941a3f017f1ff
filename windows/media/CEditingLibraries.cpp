#include "windows/media/CEditingLibraries.h"

#define BIND_EXPORT(module, name) name.Bind(module, #name)

CEditingLibraries::CEditingLibraries()
    : m_clipPlayer(::LoadLibraryA("Scrubolt.dll")), m_project(::LoadLibraryA("Cutvalon.dll")) {
  BIND_EXPORT(m_clipPlayer, mpeg_Init);
  BIND_EXPORT(m_clipPlayer, mpeg_Close);
  BIND_EXPORT(m_clipPlayer, mpeg_open);
  BIND_EXPORT(m_clipPlayer, mpeg_Preview);
  BIND_EXPORT(m_clipPlayer, mpeg_Pause);
  BIND_EXPORT(m_clipPlayer, mpeg_Stop);
  BIND_EXPORT(m_clipPlayer, mpeg_MoveToFrame);
  BIND_EXPORT(m_clipPlayer, mpeg_MoveToStart);
  BIND_EXPORT(m_clipPlayer, mpeg_set_cut_start);
  BIND_EXPORT(m_clipPlayer, mpeg_set_cut_end);
  BIND_EXPORT(m_clipPlayer, mpeg_percent_to_mp_pos_t);
  BIND_EXPORT(m_clipPlayer, mpeg_get_current_progress);
  BIND_EXPORT(m_clipPlayer, mpeg_video_auto_size);
  BIND_EXPORT(m_clipPlayer, mpeg_capture_and_add_to_mp_list);
  BIND_EXPORT(m_clipPlayer, mpeg_get_capture_info);
  BIND_EXPORT(m_project, mpeg_Project_Open);
  BIND_EXPORT(m_project, mpeg_Project_Close);
  BIND_EXPORT(m_project, mpeg_Project_SetNotifyWnd);
  BIND_EXPORT(m_project, mpeg_Project_Addsrc);
  BIND_EXPORT(m_project, mpeg_Project_is_has_source);
  BIND_EXPORT(m_project, mpeg_Project_Preview);
  BIND_EXPORT(m_project, mpeg_Project_Pause);
  BIND_EXPORT(m_project, mpeg_Project_Stop);
  BIND_EXPORT(m_project, mpeg_Project_MovetoFrame);
  BIND_EXPORT(m_project, mpeg_Project_HandleGraphEvent);
  BIND_EXPORT(m_project, mpeg_Project_get_preview_progress);
  BIND_EXPORT(m_project, mpeg_Project_auto_size_video);
  BIND_EXPORT(m_project, mpeg_Project_Save);
}

CEditingLibraries::~CEditingLibraries() {
  if (m_project) ::FreeLibrary(m_project);
  if (m_clipPlayer) ::FreeLibrary(m_clipPlayer);
}
