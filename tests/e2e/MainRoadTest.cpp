// The main road in the built program, as a user walks it, driven by a robot script on the
// machine clock: the launcher opens, the TV window shows the live picture, channels and
// volume change, five seconds are recorded and a snapshot taken, full screen shows the
// docked bar, then back to the launcher and close. And a planned recording that ends
// with a stand-by the launcher asks of the computer.
#include "MainProgramTest.h"

#include "Ffprobe.h"
#include "MpegFileProbe.h"

#include <support/PictureFiles.h>
#include <support/TestMachine.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <utility>

namespace {

class MainRoadTest : public test::MainProgramTest {};

std::uint32_t le32(const std::vector<char>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

TEST_F(MainRoadTest, TheUserWatchesRecordsAndSnapsAndComesBack) {
  const int status = run(R"(clock manual 2024-03-01 12:00:00
window "#32770" "Orvane Media"
expect-text 0 "Orvane Media"
key CTRL+T
window "#32770" "Orvane Media_TVDlg"
wait 2000
key PAGEUP
wait 500
key PAGEDOWN
wait 500
key F10
wait 500
key CTRL+R
wait 5000
key CTRL+S
wait 1000
key F5
wait 500
screenshot tv
key ALT+ENTER
wait 200
move 500 300
wait 500
screenshot bar_shown
wait 3500
screenshot bar_hidden
key ESCAPE
wait 200
key BACKSPACE
window "#32770" "Orvane Media"
wait 500
close
)");
  EXPECT_EQ(status, 0);

  // Five seconds of the machine clock between the two keys, pictures and sound alike.
  const std::string recording = (program() / "Videos" / "cap00.mpg").string();
  const rectest::MpegFileProbe probe(recording);
  ASSERT_TRUE(probe.ok());
  EXPECT_EQ(probe.container(), "mpeg");
  EXPECT_EQ(test::FfprobeVideoFrames(recording), 125);
  EXPECT_NEAR(test::FfprobeStreamSeconds(recording, "v"), 5.0, 0.01);
  EXPECT_NEAR(test::FfprobeStreamSeconds(recording, "a"), 5.0, 0.03);

  std::ifstream snapshot(program() / "Picture" / "cap00.bmp", std::ios::binary);
  const std::vector<char> bmp((std::istreambuf_iterator<char>(snapshot)), std::istreambuf_iterator<char>());
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(le32(bmp, 18), 720u);
  EXPECT_EQ(le32(bmp, 22), 480u);
  EXPECT_TRUE(std::filesystem::exists(program() / "histroyPicture.lis"));
  EXPECT_TRUE(std::filesystem::exists(program() / "histroyMedia.lis"));
  EXPECT_TRUE(std::filesystem::exists(testMachine.root() / "bar_shown.png"));
}

// The TV window's "Video window" and "Channel wall" buttons, clicked where the skin puts
// them: the picture in a window of its own (a snapshot taken there), back with Backspace,
// then the wall of channels for a few steps, closed with Escape.
TEST_F(MainRoadTest, TheVideoWindowAndTheChannelWallOpenFromTheTVWindow) {
  const int status = run(R"(clock manual 2024-03-01 12:00:00
window "#32770" "Orvane Media"
key CTRL+T
window "#32770" "Orvane Media_TVDlg"
wait 1000
clickat 136 340
window "Norlet Plus" "Orvane Meida"
wait 1000
key PAGEUP
wait 1000
key F5
wait 500
screenshot video_window
key BACKSPACE
expect-no-window "Norlet Plus" "Orvane Meida"
window "#32770" "Orvane Media_TVDlg"
wait 500
screenshot tv_window
clickat 136 412
wait 9500
screenshot channel_wall
key ESCAPE
wait 500
expect-window "#32770" "Orvane Media_TVDlg"
screenshot channel_wall_closed
window "#32770" "Orvane Media"
close
)");
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(std::filesystem::exists(program() / "Picture" / "cap00.bmp")) << "the video window's snapshot";
  EXPECT_TRUE(std::filesystem::exists(program() / "histroyPicture.lis"));
  EXPECT_TRUE(std::filesystem::exists(testMachine.root() / "video_window.png"));
  EXPECT_TRUE(std::filesystem::exists(testMachine.root() / "channel_wall.png"));
  // The wall reached past the video area (268, 80, 1010, 654 of the maximised window's
  // 1024 x 768): closed, it leaves the window's own background there.
  const test::TestPicture before = test::ReadPngFile(testMachine.root() / "tv_window.png");
  const test::TestPicture wall = test::ReadPngFile(testMachine.root() / "channel_wall.png");
  const test::TestPicture after = test::ReadPngFile(testMachine.root() / "channel_wall_closed.png");
  ASSERT_EQ(after.width, 1024);
  ASSERT_EQ(before.width, 1024);
  for (const auto& [x, y] : {std::pair{1012, 300}, std::pair{600, 656}}) {
    EXPECT_NE(std::memcmp(wall.at(x, y), before.at(x, y), 3), 0) << x << "," << y << ": the wall shows there";
    EXPECT_EQ(std::memcmp(after.at(x, y), before.at(x, y), 3), 0) << x << "," << y;
  }
}

TEST_F(MainRoadTest, APlannedRecordingEndsWithTheComputerStandingBy) {
  // Once at 12:00:05 for three seconds, recording channel 1, then stand-by.
  const std::int32_t start = static_cast<std::int32_t>(test::kStartUnixMs / 1000 + 5);
  const std::int32_t record[9] = {start, 3, 8, 1, 1, 0, 1, 2, 0};
  std::ofstream(program() / "schedulefile.she", std::ios::binary)
      .write(reinterpret_cast<const char*>(record), sizeof record);
  const int status = run(R"(clock manual 2024-03-01 12:00:00
window "#32770" "Orvane Media"
wait 4000
window "#32770" "Orvane Media_TVDlg"
wait 20000
window "#32770" "Orvane Media"
close
)");
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(std::filesystem::exists(program() / "Videos" / "cap00.mpg"));
  EXPECT_EQ(powerLog(), (std::vector<std::string>{"power-request suspend, forced", "standby suspended"}));
}

}  // namespace

namespace {

// What a command prints on its standard output.
std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// The mean of a picture file's red, green and blue values, as FFmpeg decodes it.
double MeanLevel(const std::filesystem::path& picture) {
  const std::string raw =
      Output("ffmpeg -v error -i '" + picture.string() + "' -f rawvideo -pix_fmt rgb24 - 2>/dev/null");
  if (raw.empty()) return -1;
  double sum = 0;
  for (unsigned char c : raw) sum += c;
  return sum / static_cast<double>(raw.size());
}

// How much neighbouring pixels differ, on average over the three colours, within
// (left, top)-(right, bottom) of a picture: smoothing brings it down.
double Roughness(const test::TestPicture& picture, int left, int top, int right, int bottom) {
  double sum = 0;
  long count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x + 1 < right; ++x)
      for (int c = 0; c < 3; ++c, ++count) sum += std::abs(picture.at(x, y)[c] - picture.at(x + 1, y)[c]);
  return count ? sum / static_cast<double>(count) : 0;
}

// A picture file as FFmpeg decodes it.
test::TestPicture Decoded(const std::filesystem::path& picture, int width, int height) {
  const std::string raw =
      Output("ffmpeg -v error -i '" + picture.string() + "' -f rawvideo -pix_fmt bgr24 - 2>/dev/null");
  test::TestPicture decoded = test::TestPicture::solid(width, height, 0, 0, 0);
  if (raw.size() == decoded.bgr.size()) std::copy(raw.begin(), raw.end(), decoded.bgr.begin());
  return decoded;
}

}  // namespace

// Snapshots taken in the TV window are the picture browser's thumbnails; one is brightened
// twice and smoothed, then undone once (back to the picture brightened once: the smoothing
// goes with the change), its histogram shown and the picture saved; undone once more it is
// the snapshot as it was opened, and saved again. On the machine clock. FFmpeg's tools
// read the saved files back: the first brighter and unsmoothed, the second the snapshot's
// own pixels.
TEST_F(MainRoadTest, SnapshotsAreBrightenedUndoneAndSavedInThePictureBrowser) {
  // Saved beside the snapshots: the save dialog opens in the picture's folder.
  const auto saved = program() / "Picture" / "brightened.bmp";
  const auto undone = program() / "Picture" / "undone.bmp";
  const int status = run(R"(clock manual 2024-03-01 12:00:00
window "#32770" "Orvane Media"
key CTRL+T
window "#32770" "Orvane Media_TVDlg"
wait 2000
key F5
wait 500
key F5
wait 500
key BACKSPACE
window "#32770" "Orvane Media"
key CTRL+I
window "#32770" "Orvane Media_PICDlg"
screenshot picture_thumbnails
doubleclickat 345 126
drag 60 469 150 469
drag 150 469 200 469
clickat 150 124
screenshot picture_smoothed
clickat 150 292
clickat 150 236
screenshot picture_histogram
file-answer "brightened.bmp"
clickat 150 348
wait 500
clickat 150 292
screenshot picture_undone
file-answer "undone.bmp"
clickat 150 348
wait 500
key BACKSPACE
window "#32770" "Orvane Media"
close
)");
  EXPECT_EQ(status, 0);
  const auto snapshot = program() / "Picture" / "cap00.bmp";
  ASSERT_TRUE(std::filesystem::exists(program() / "Picture" / "cap01.bmp"));
  ASSERT_TRUE(std::filesystem::exists(saved));
  EXPECT_EQ(Output("ffprobe -v error -show_entries stream=codec_name,width,height -of csv=p=0 '" + saved.string() + "'"),
            "bmp,720,480\n");
  const double before = MeanLevel(snapshot);
  const double after = MeanLevel(saved);
  ASSERT_GT(before, 0);
  EXPECT_GT(after, before + 10);
  ASSERT_TRUE(std::filesystem::exists(undone));
  EXPECT_EQ(Decoded(undone, 720, 480).bgr, Decoded(snapshot, 720, 480).bgr) << "the first change undone";
  // The browser's undo files went with it; the saved pictures joined the history.
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(std::filesystem::exists(program() / (std::to_string(i) + ".bmp")));
  std::ifstream history(program() / "histroyPicture.lis", std::ios::binary);
  const std::vector<char> list((std::istreambuf_iterator<char>(history)), std::istreambuf_iterator<char>());
  ASSERT_GE(list.size(), 4u);
  EXPECT_EQ(le32(list, 0), 4u);
  EXPECT_TRUE(std::filesystem::exists(testMachine.root() / "picture_histogram.png"));
  // The snapshots are of a station-less channel's snow: the smoothing showed on the screen,
  // the undo took it back there (the picture area above the histogram), and the picture
  // saved is the brightened snapshot, as rough as it (less what brightening clipped).
  const double smoothed = Roughness(test::ReadPngFile(testMachine.root() / "picture_smoothed.png"), 320, 230, 990, 600);
  const double unsmoothed = Roughness(test::ReadPngFile(testMachine.root() / "picture_histogram.png"), 320, 230, 990, 600);
  EXPECT_LT(smoothed, unsmoothed / 2);
  EXPECT_GT(Roughness(Decoded(saved, 720, 480), 0, 0, 720, 480),
            0.75 * Roughness(Decoded(snapshot, 720, 480), 0, 0, 720, 480));
}

// Recordings the user did not stop: one ended by pulling out the TV stick, which closes the
// program, and one running as the program is closed. Both files are whole and listed in
// the video history, where the media player finds them the next time.
TEST_F(MainRoadTest, RecordingsEndedByUnpluggingOrClosingAreListed) {
  // From the launcher into the TV window, three seconds recorded there.
  const std::string recording = R"(window "#32770" "Orvane Media"
key CTRL+T
window "#32770" "Orvane Media_TVDlg"
wait 2000
key CTRL+R
wait 3000
)";
  EXPECT_EQ(run("clock manual 2024-03-01 12:00:00\n" + recording + "unplug\n"), 0);
  EXPECT_EQ(run("clock manual 2024-03-01 13:00:00\nplug\n" + recording + "window \"#32770\" \"Orvane Media\"\nclose\n"), 0);
  const auto unplugged = program() / "Videos" / "cap00.mpg";
  const auto closed = program() / "Videos" / "cap01.mpg";
  for (const auto& file : {unplugged, closed}) {
    EXPECT_NEAR(test::FfprobeStreamSeconds(file.string(), "v"), 3.0, 0.1) << file;
  }
  std::ifstream history(program() / "histroyMedia.lis", std::ios::binary);
  const std::vector<char> list((std::istreambuf_iterator<char>(history)), std::istreambuf_iterator<char>());
  ASSERT_EQ(list.size(), 4u + 2 * 264);
  EXPECT_EQ(le32(list, 0), 2u);
  EXPECT_EQ(le32(list, 4), 1u) << "a video record";
  // The program folder is the test machine's, seen from the program as drive Z:.
  auto endsWith = [](const std::string& path, const std::string& end) {
    return path.size() >= end.size() && path.compare(path.size() - end.size(), end.size(), end) == 0;
  };
  EXPECT_TRUE(endsWith(&list[8], "\\Program\\Videos\\cap00.mpg")) << &list[8];
  EXPECT_TRUE(endsWith(&list[8 + 264], "\\Program\\Videos\\cap01.mpg")) << &list[8 + 264];
}
