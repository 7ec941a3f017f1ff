// Clips of any file with any marks, added to an editing project as the video editor adds
// its cuts: the input's first 33 bytes are the clip's record (timeline start and stop,
// media start and stop as 64-bit numbers, a byte choosing pictures or sound), the rest
// the file. Marks the file cannot hold are refused; a clip taken is previewed, seeked by
// percent, drained of its events, stopped, moved and deleted, without fault or hang.
#include "FuzzMachine.h"
#include "HostWindow.h"

#include "edit_project/Project.h"

#include <win32/module.h>

#include <limits>
#include <string>

namespace {

#define FUZZ_EXPORT(name) decltype(&::name) name = reinterpret_cast<decltype(&::name)>(GetProcAddress(module, #name))

// The project needs COM, which the clip player's mpeg_Init sets up for its host.
struct Libraries {
  HMODULE player = LoadLibraryA("Scrubolt.dll");
  HMODULE module = LoadLibraryA("Cutvalon.dll");
  FUZZ_EXPORT(mpeg_Project_Open);
  FUZZ_EXPORT(mpeg_Project_Addsrc);
  FUZZ_EXPORT(mpeg_Project_Preview);
  FUZZ_EXPORT(mpeg_Project_MovetoFrame);
  FUZZ_EXPORT(mpeg_Project_get_preview_progress);
  FUZZ_EXPORT(mpeg_Project_HandleGraphEvent);
  FUZZ_EXPORT(mpeg_Project_Stop);
  FUZZ_EXPORT(mpeg_Project_Moveto);
  FUZZ_EXPORT(mpeg_Project_Deletesrc);
};

constexpr std::size_t kRecordBytes = 33;

Libraries* g_libraries = nullptr;
HWND g_host = nullptr;

std::int64_t Number(const std::uint8_t* at) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = value << 8 | at[i];
  return static_cast<std::int64_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::FuzzMachine::get();
  g_libraries = new Libraries;
  auto init = reinterpret_cast<int (*)()>(GetProcAddress(g_libraries->player, "mpeg_Init"));
  if (!g_libraries->module || !init || init() != 1) fuzz::fail("the libraries load");
  g_host = fuzz::HostWindow();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kRecordBytes) return 0;
  auto& machine = fuzz::FuzzMachine::get();
  const std::string path = machine.putMedia(data + kRecordBytes, size - kRecordBytes);

  Libraries& project = *g_libraries;
  project.mpeg_Project_Open();
  mpeg_src_s src{};
  src.timeline_start = Number(data);
  src.timeline_stop = Number(data + 8);
  src.media_start = Number(data + 16);
  src.media_stop = Number(data + 24);
  src.video_track = data[32] & 1;
  src.no_audio_track = data[32] >> 1 & 1;
  src.file_name = path.c_str();
  if (project.mpeg_Project_Addsrc(&src) != 1) return 0;
  // A second clip of the same length after the first on its track, for the move.
  const std::int64_t length = src.timeline_stop - src.timeline_start;
  if (src.timeline_stop <= std::numeric_limits<std::int64_t>::max() - length) {
    mpeg_src_s after = src;
    after.timeline_start = src.timeline_stop;
    after.timeline_stop = src.timeline_stop + length;
    project.mpeg_Project_Addsrc(&after);
  }
  double ratio = 0;
  if (project.mpeg_Project_Preview(g_host) == 1) {
    for (int step = 0; step < 5; ++step) machine.machine().clock().advance(40);
    project.mpeg_Project_get_preview_progress(&ratio);
    project.mpeg_Project_MovetoFrame(data[32] % 101);
    project.mpeg_Project_HandleGraphEvent(1);
    project.mpeg_Project_Stop();
  }
  project.mpeg_Project_Moveto(0, 1);
  project.mpeg_Project_Deletesrc(0);
  return 0;
}
