// Media files through the thumbnails' frame grabber: any bytes either are refused on the
// way (not loaded, not connected) or run the grabber's graph, whose picture, when one is
// written, loads as a picture; the same filters then take the next file.
#include "FuzzMachine.h"

#include "graphs/CFileFrameGrabber.h"
#include "graphs/DeviceUtilities.h"
#include "skin/SkinBitmap.h"

#include <com/objbase.h>
#include <machine/ProgramFolder.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

CFileFrameGrabber* g_grabber = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::FuzzMachine::get();
  CoInitialize(nullptr);
  // The Filter folder's modules are registered from the built program folder.
  plat::ProgramFolder::set(ORVANE_PROGRAM_DIR);
  RegisterFilterModule("Filter\\QNAsyncSource.ax");
  g_grabber = new CFileFrameGrabber;
  if (!g_grabber->CreateGraph() || !g_grabber->AddFilters()) fuzz::fail("the grabber's filters are built");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  machine.put("cap00.mpg", data, size);
  const auto still = machine.programFolder() / "cap00.bmp";
  std::filesystem::remove(still);
  const std::string source = machine.programPath("cap00.mpg");
  const std::string picture = machine.programPath("cap00.bmp");
  CFileFrameGrabber& grabber = *g_grabber;
  if (grabber.SetSourceFile(source.c_str()) && grabber.SetStillFileName(picture.c_str()) && grabber.IsSourceLoaded() &&
      grabber.ConnectFilters() && grabber.Run()) {
    // The picture is written on the streaming thread; a file that gives none ends the wait.
    for (int wait = 0; wait < 100 && !std::filesystem::exists(still); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  grabber.Stop();
  grabber.ClearGraph();
  if (std::filesystem::exists(still)) {
    HBITMAP bitmap = nullptr;
    SIZE extent{};
    fuzz::check(LoadPictureFile(picture.c_str(), bitmap, extent), "a written picture loads");
    ReleaseBitmap(bitmap);
  }
  return 0;
}
