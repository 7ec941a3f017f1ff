// Fixture of the clip player's tests: a fresh machine, the library loaded as its host
// loads it, a host window for the video, and test clips of one colour written with
// FFmpeg into the machine's drive C.
#pragma once

#include "ScruboltLibrary.h"

#include "MediaFileWriter.h"
#include "support/TestMachine.h"

#include <machine/Machine.h>
#include <win32/user.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace edtest {

class ClipPlayerTest : public test::MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes an MPEG clip of `seconds` in one colour and gives its Windows path.
  std::string writeClip(const std::string& name, double seconds,
                        dstest::MediaFileWriter::Colour colour = dstest::MediaFileWriter::kRed);
  // Writes numbered pictures (NumberedPicture) coded so and gives the Windows path.
  std::string writeNumbered(const std::string& name, dstest::MediaFileWriter::Coding coding, int frames, int rateNum,
                            int rateDen);
  // The number a bitmap file's picture shows; -1 for none, or one upside down.
  int numberInBitmap(const std::string& windowsPath);
  std::filesystem::path linuxPath(const std::string& windowsPath) {
    return machine().paths().toLinux(windowsPath);
  }
  std::string tempFolder();
  // Whether the renderer, its streaming settled, has shown a picture for a capture to take.
  bool pictureShown();
  // The assertions the library reported through the debug output.
  std::vector<std::string> reports();
  std::vector<std::uint8_t> fileBytes(const std::string& windowsPath);

  ScruboltLibrary lib;
  HWND host = nullptr;
};

}  // namespace edtest
