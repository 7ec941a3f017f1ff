// The library's exports: each acts on the one engine mpeg_Init makes.
#include "CMpegEngine.h"

#include <new>

namespace {

CMpegEngine* g_engine = nullptr;

}  // namespace

extern "C" {

int mpeg_Close() {
  if (!g_engine) return 0;
  delete g_engine;
  g_engine = nullptr;
  return 1;
}

int mpeg_Init() {
  mpeg_Close();
  g_engine = new (std::nothrow) CMpegEngine;
  return g_engine ? 1 : 0;
}

int mpeg_open(const char* file, HWND video) { return g_engine ? g_engine->open(file, video) : 0; }
int mpeg_Preview(HWND video) { return g_engine ? g_engine->preview(video) : 0; }
int mpeg_Pause() { return g_engine ? g_engine->pause() : 0; }
int mpeg_Stop() { return g_engine ? g_engine->stop() : 0; }
int mpeg_MoveToFrame(mp_pos_t pos) { return g_engine ? g_engine->moveToFrame(pos) : 0; }
int mpeg_MoveToFrame2(int percent) { return g_engine ? g_engine->moveToPercent(percent) : 0; }
int mpeg_MoveToStart() { return mpeg_MoveToFrame2(0); }
int mpeg_MoveToEnd() { return g_engine ? g_engine->moveToEnd() : 0; }

void mpeg_set_cut_start(int percent) {
  if (g_engine) g_engine->setCutStartPercent(percent);
}

void mpeg_set_cut_start2(mp_pos_t pos) {
  if (g_engine) g_engine->setCutStart(pos);
}

void mpeg_set_cut_end(int percent) {
  if (g_engine) g_engine->setCutEndPercent(percent);
}

void mpeg_set_cut_end2(mp_pos_t pos) {
  if (g_engine) g_engine->setCutEnd(pos);
}

void mpeg_set_cut_save_start(int flag) {
  if (g_engine) g_engine->setSaveStart(flag);
}

int mpeg_percent_to_mp_pos_t(int percent, mp_pos_t* pos) { return g_engine ? g_engine->percentToPos(percent, pos) : 0; }
int mpeg_get_current_progress(double* ratio) { return g_engine ? g_engine->currentProgress(ratio) : 0; }
int mpeg_video_auto_size() { return g_engine ? g_engine->videoAutoSize() : 0; }
int mpeg_Capture(const char* path) { return g_engine ? g_engine->capture(path) : 0; }
int mpeg_Capture2(const char* path, int percent) { return g_engine ? g_engine->captureAtPercent(path, percent) : 0; }
int mpeg_Capture3(const char* path, mp_pos_t pos) { return g_engine ? g_engine->captureAt(path, pos) : 0; }
int mpeg_capture_and_add_to_mp_list(const char* path) { return g_engine ? g_engine->captureAndAddToList(path) : 0; }

int mpeg_get_capture_info(mp_pos_t cut_start, mp_pos_t cut_end, mpeg_persist_bitmap_s* info) {
  return g_engine ? g_engine->captureInfo(cut_start, cut_end, info) : 0;
}

int mpeg_get_last_capture_info(mpeg_persist_bitmap_s* info) { return g_engine ? g_engine->lastCaptureInfo(info) : 0; }

}  // extern "C"
