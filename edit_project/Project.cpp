// The library's exports: each acts on the one project mpeg_Project_Open makes.
#include "CProject.h"

#include <new>

namespace {

CProject* g_project = nullptr;

}  // namespace

extern "C" {

int mpeg_Project_Close() {
  delete g_project;
  g_project = nullptr;
  return 1;
}

int mpeg_Project_Open() {
  mpeg_Project_Close();
  g_project = new (std::nothrow) CProject;
  return g_project ? 1 : 0;
}

void mpeg_Project_SetNotifyWnd(HWND window) {
  if (g_project) g_project->SetNotifyWnd(window);
}

int mpeg_Project_Addsrc(const mpeg_src_s* src) { return g_project ? g_project->AddSource(src) : 0; }
int mpeg_Project_Deletesrc(int index) { return g_project ? g_project->DeleteSource(index) : 0; }
int mpeg_Project_Deletesrc2(const mpeg_src_s* src) { return g_project ? g_project->DeleteSource(src) : 0; }
int mpeg_Project_Insert(mpeg_src_s*, int, int) { return g_project ? 1 : 0; }
int mpeg_Project_Moveto(int index, int offset) { return g_project ? g_project->MoveTo(index, offset) : 0; }
int mpeg_Project_Moveto2(int index, int other, int before) {
  return g_project ? g_project->MoveNextTo(index, other, before) : 0;
}
int mpeg_Project_is_has_source() { return g_project ? g_project->HasSource() : 0; }
int mpeg_Project_Preview(HWND window) { return g_project ? g_project->Preview(window) : 0; }
int mpeg_Project_Pause() { return g_project ? g_project->Pause() : 0; }
int mpeg_Project_Stop() { return g_project ? g_project->Stop() : 0; }
int mpeg_Project_MovetoFrame(int percent) { return g_project ? g_project->MoveToFrame(percent) : 0; }
int mpeg_Project_HandleGraphEvent(int rewind) { return g_project ? g_project->HandleGraphEvent(rewind) : 0; }
int mpeg_Project_get_preview_progress(double* ratio) { return g_project ? g_project->PreviewProgress(ratio) : 0; }
int mpeg_Project_get_save_progress(double* ratio) { return g_project ? g_project->SaveProgress(ratio) : 0; }
int mpeg_Project_auto_size_video() { return g_project ? g_project->AutoSizeVideo() : 0; }
int mpeg_Project_Save(const save_option_s* options) { return g_project ? g_project->Save(options) : 0; }

}  // extern "C"
