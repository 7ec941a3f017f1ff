// The library's exports: each acts on the one project mpeg_Project_Open makes.
#include "CProject.h"

#include <memory>
#include <mutex>
#include <new>

namespace {

std::mutex g_projectLock;
std::shared_ptr<CProject> g_project;

// The project for the length of one call. A save may run on another thread while its host
// closes or replaces the project: the save holds it, and the project goes once the save
// is over, its file whole.
std::shared_ptr<CProject> Project() {
  std::lock_guard guard(g_projectLock);
  return g_project;
}

// An export's call on the project; 0 without one.
template <class Call>
int OnProject(Call call) {
  const std::shared_ptr<CProject> project = Project();
  return project ? call(*project) : 0;
}

}  // namespace

extern "C" {

int mpeg_Project_Close() {
  std::shared_ptr<CProject> closed;
  {
    std::lock_guard guard(g_projectLock);
    closed.swap(g_project);
  }
  return 1;
}

int mpeg_Project_Open() {
  mpeg_Project_Close();
  std::unique_ptr<CProject> made(new (std::nothrow) CProject);
  if (!made) return 0;
  std::lock_guard guard(g_projectLock);
  g_project = std::move(made);
  return 1;
}

void mpeg_Project_SetNotifyWnd(HWND window) {
  if (const auto project = Project()) project->SetNotifyWnd(window);
}

int mpeg_Project_Addsrc(const mpeg_src_s* src) {
  return OnProject([&](CProject& p) { return p.AddSource(src); });
}
int mpeg_Project_Deletesrc(int index) {
  return OnProject([&](CProject& p) { return p.DeleteSource(index); });
}
int mpeg_Project_Deletesrc2(const mpeg_src_s* src) {
  return OnProject([&](CProject& p) { return p.DeleteSource(src); });
}
int mpeg_Project_Insert(mpeg_src_s*, int, int) { return Project() ? 1 : 0; }
int mpeg_Project_Moveto(int index, int offset) {
  return OnProject([&](CProject& p) { return p.MoveTo(index, offset); });
}
int mpeg_Project_Moveto2(int index, int other, int before) {
  return OnProject([&](CProject& p) { return p.MoveNextTo(index, other, before); });
}
int mpeg_Project_is_has_source() {
  return OnProject([&](CProject& p) { return p.HasSource(); });
}
int mpeg_Project_Preview(HWND window) {
  return OnProject([&](CProject& p) { return p.Preview(window); });
}
int mpeg_Project_Pause() {
  return OnProject([&](CProject& p) { return p.Pause(); });
}
int mpeg_Project_Stop() {
  return OnProject([&](CProject& p) { return p.Stop(); });
}
int mpeg_Project_MovetoFrame(int percent) {
  return OnProject([&](CProject& p) { return p.MoveToFrame(percent); });
}
int mpeg_Project_HandleGraphEvent(int rewind) {
  return OnProject([&](CProject& p) { return p.HandleGraphEvent(rewind); });
}
int mpeg_Project_get_preview_progress(double* ratio) {
  return OnProject([&](CProject& p) { return p.PreviewProgress(ratio); });
}
int mpeg_Project_get_save_progress(double* ratio) {
  return OnProject([&](CProject& p) { return p.SaveProgress(ratio); });
}
int mpeg_Project_auto_size_video() {
  return OnProject([&](CProject& p) { return p.AutoSizeVideo(); });
}
int mpeg_Project_Save(const save_option_s* options) {
  return OnProject([&](CProject& p) { return p.Save(options); });
}

}  // extern "C"
