// Media files opened by the clip player, as the video editor opens a user's clip: any
// bytes either fail to open or give a clip that seeks by percent and to its end, plays
// a little on the machine clock, reports its progress, shows a frame that can be
// captured and stops, without fault or hang; the next file replaces it.
#include "FuzzMachine.h"
#include "HostWindow.h"

#include "clip_player/mpegengine.h"

#include <win32/module.h>

#include <filesystem>
#include <string>

namespace {

#define FUZZ_EXPORT(name) decltype(&::name) name = reinterpret_cast<decltype(&::name)>(GetProcAddress(module, #name))

struct Scrubolt {
  HMODULE module = LoadLibraryA("Scrubolt.dll");
  FUZZ_EXPORT(mpeg_Init);
  FUZZ_EXPORT(mpeg_open);
  FUZZ_EXPORT(mpeg_Preview);
  FUZZ_EXPORT(mpeg_Stop);
  FUZZ_EXPORT(mpeg_MoveToFrame2);
  FUZZ_EXPORT(mpeg_MoveToEnd);
  FUZZ_EXPORT(mpeg_percent_to_mp_pos_t);
  FUZZ_EXPORT(mpeg_get_current_progress);
  FUZZ_EXPORT(mpeg_Capture);
};

Scrubolt* g_player = nullptr;
HWND g_host = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::FuzzMachine::get();
  g_player = new Scrubolt;
  if (!g_player->module || !g_player->mpeg_Init || g_player->mpeg_Init() != 1) fuzz::fail("the clip player starts");
  g_host = fuzz::HostWindow();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  const std::string path = machine.putMedia(data, size);
  Scrubolt& player = *g_player;
  if (player.mpeg_open(path.c_str(), g_host) != 1) return 0;
  mp_pos_t end = 0;
  double ratio = 0;
  player.mpeg_percent_to_mp_pos_t(100, &end);
  player.mpeg_MoveToFrame2(37);
  player.mpeg_MoveToEnd();
  player.mpeg_MoveToFrame2(0);
  if (player.mpeg_Preview(nullptr) == 1) {
    for (int step = 0; step < 5; ++step) machine.machine().clock().advance(40);
    player.mpeg_get_current_progress(&ratio);
  }
  const std::string frame = machine.programPath("frame.bmp");
  if (player.mpeg_Capture(frame.c_str()) == 1)
    fuzz::check(std::filesystem::file_size(machine.programFolder() / "frame.bmp") > 14, "a capture holds a picture");
  player.mpeg_Stop();
  return 0;
}
