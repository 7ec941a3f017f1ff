// The settings road in the built program, driven by a robot script on the program's
// manual clock: the launcher opens the settings hub, the video settings raise the
// brightness, the record settings choose MPEG-1, and the TV window then records; the
// settings file keeps both choices and the ffprobe tool finds MPEG-1 video in the file.
#include "MainProgramTest.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class SettingsRoadTest : public test::MainProgramTest {
 protected:
  // What the ffprobe tool names the first video stream's codec; empty when it reads none.
  static std::string VideoCodec(const std::filesystem::path& file) {
    const std::string command = "ffprobe -v error -select_streams v:0 -show_entries stream=codec_name -of csv=p=0 '" +
                                file.string() + "' 2>/dev/null";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char buffer[128];
      while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
      pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
  }
  std::int32_t settingsValue(std::size_t offset) {
    std::ifstream file(program() / "ZRQData.dat", std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < offset + 4) return -1;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[offset + static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(value);
  }
};

// The windows fill the 1024 x 768 screen, so the skins' design places are screen places:
// the hub's picture and recording buttons, the brightness slider's thumb at 50 and at 73,
// the record format's left arrow.
TEST_F(SettingsRoadTest, TheHubsPagesChangeThePictureAndTheFormatOfTheNextRecording) {
  const int status = run(R"(clock manual 2024-03-01 12:00:00
window "#32770" "Orvane Media"
key CTRL+S
window "#32770" "Orvane Media_SetDlg"
wait 1000
screenshot settings_hub
clickat 216 232
window "#32770" "Orvane Media_VideoSetDlg"
wait 500
drag 534 167 601 167
wait 500
screenshot video_settings
key BACKSPACE
window "#32770" "Orvane Media_SetDlg"
clickat 216 312
window "#32770" "Orvane Media_RecordSetDlg"
wait 500
clickat 56 180
wait 200
screenshot record_settings
key BACKSPACE
window "#32770" "Orvane Media_SetDlg"
key BACKSPACE
window "#32770" "Orvane Media"
key CTRL+T
window "#32770" "Orvane Media_TVDlg"
wait 2000
key CTRL+R
wait 3000
key CTRL+S
wait 1000
window "#32770" "Orvane Media"
close
)");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(settingsValue(24), 73) << "the brightness";
  EXPECT_EQ(settingsValue(44), 0) << "MPEG-1";
  const auto recording = program() / "Videos" / "cap00.mpg";
  ASSERT_TRUE(std::filesystem::exists(recording));
  EXPECT_EQ(VideoCodec(recording), "mpeg1video");
  EXPECT_TRUE(std::filesystem::exists(testMachine.root() / "record_settings.png"));
}

}  // namespace
