// The editing road as the video editor drives it: a 30-second recording of the simulated
// stick with two channel changes, made by the program's own recorder; the recording opened
// in the clip player, two cuts marked with a frame captured at each cut start; both cuts
// joined in an editing project, previewed in a window to its end and saved as MPEG-2 and
// as AVI with and without a compressor. The saved files are read back by the ffprobe tool
// (length) and by FFmpeg's decoder (first picture).
#include "RecordingTest.h"

#include "Ffprobe.h"
#include "MpegFileProbe.h"
#include "edit_project/CompressorChoice.h"
#include "edit_project/CutvalonLibrary.h"

#include "core/data/CChannelList.h"

#include <dshow/dshow.h>
#include <robot/Robot.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

using edtest::CutvalonLibrary;
using edtest::ScruboltLibrary;

constexpr std::int64_t kSecond = 10000000;

struct Cut {
  std::int64_t start;
  std::int64_t stop;
};

// How far sound runs ahead of pictures in the file's order, in seconds: the most a sound
// packet's time exceeds that of the last picture packet before it (or of the first sound
// packet, before any picture).
double SoundLead(const std::string& path) {
  const std::string command =
      "ffprobe -v error -show_entries packet=codec_type,dts_time -of csv=p=0 '" + path + "' 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return -1;
  double lead = 0;
  double picture = -1;
  double firstSound = -1;
  char kind[16];
  double time = 0;
  int packets = 0;
  while (std::fscanf(pipe.get(), " %15[a-z],%lf", kind, &time) == 2) {
    ++packets;
    if (std::strcmp(kind, "video") == 0) {
      picture = time;
    } else {
      if (firstSound < 0) firstSound = time;
      lead = std::max(lead, time - (picture < 0 ? firstSound : picture));
    }
  }
  return packets > 0 ? lead : -1;
}

struct Yuv {
  double y, u, v;
};

// A pixel of a bitmap capture at a point given as fractions of its size, in BT.601
// studio-range YUV.
Yuv BitmapPixel(const std::vector<std::uint8_t>& bmp, double fx, double fy) {
  auto u32 = [&](size_t at) { return bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | bmp[at + 3] << 24; };
  const int offset = static_cast<int>(u32(10));
  const int width = static_cast<int>(u32(18));
  const int height = static_cast<int>(u32(22));
  const int bytes = (bmp[28] | bmp[29] << 8) / 8;
  const int x = static_cast<int>(fx * width);
  const int row = height - 1 - static_cast<int>(fy * height);  // bottom-up
  const size_t at = static_cast<size_t>(offset) + (static_cast<size_t>(row) * width + x) * bytes;
  const double r = bmp[at + 2], g = bmp[at + 1], b = bmp[at];
  return {16 + (65.481 * r + 128.553 * g + 24.966 * b) / 255, 128 + (-37.797 * r - 74.203 * g + 112.0 * b) / 255,
          128 + (112.0 * r - 93.786 * g - 18.214 * b) / 255};
}

double Distance(const Yuv& a, const Yuv& b) { return std::abs(a.y - b.y) + std::abs(a.u - b.u) + std::abs(a.v - b.v); }

// Points away from the channel number (top left) and the station name.
constexpr double kPoints[][2] = {{0.9, 0.5}, {0.75, 0.75}, {0.9, 0.9}, {0.6, 0.9}, {0.5, 0.6}};

class EditingRoadTest : public test::RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "EditorPane";
    RegisterClassA(&wc);
    clipPane = CreateWindowExA(0, "EditorPane", "Clip", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 420, 0, 320, 240, nullptr,
                               nullptr, nullptr, nullptr);
    projectPane = CreateWindowExA(0, "EditorPane", "Project", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 420, 300, 320, 240,
                                  nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    if (project.mpeg_Project_Close) project.mpeg_Project_Close();
    if (clips.mpeg_Close) clips.mpeg_Close();
    DestroyWindow(clipPane);
    DestroyWindow(projectPane);
  }
  // The next channel of the active list, tuned while the recording runs.
  void nextChannel() {
    const int list = GetActiveChannelListIndex();
    ASSERT_NE(g_pTunedChannelRecord, nullptr);
    ASSERT_TRUE(g_pChannelList->NextChannel(g_pTunedChannelRecord->ChannelNumber, list, g_pTunedChannelRecord));
    ASSERT_EQ(g_pChannelList->TuneChannel(g_pTunedChannelRecord->ChannelNumber, list), 1);
  }
  std::string recordThirtySeconds() {
    EXPECT_NE(preview(), 0);
    controller->RequestManualRecording();
    EXPECT_TRUE(controller->IsRecording());
    run(10000);
    nextChannel();
    run(10000);
    nextChannel();
    run(10000);
    controller->StopRecordingRequest();
    return std::string(settings().VideoFolder) + "cap00.mpg";
  }
  // Moves the clock a frame on, the streaming threads settled at each time one waits for,
  // so the pictures keep up with the clock however slow the machine.
  void frameStep(bool handleMessages = true) {
    for (std::uint64_t left = 40; left > 0;) left -= robot.advanceStep(left);
    if (handleMessages) pump();
  }
  // Plays the clip from where it stands until `at` and pauses there, as the user does
  // before marking; gives the position reached.
  std::int64_t playTo(std::int64_t at, std::int64_t duration) {
    EXPECT_EQ(clips.mpeg_Preview(nullptr), 1);
    double ratio = 0;
    for (int step = 0; step < 2000 && clips.mpeg_get_current_progress(&ratio) == 1 && ratio * duration < at; ++step)
      frameStep();
    EXPECT_EQ(clips.mpeg_Pause(), 1);
    EXPECT_EQ(clips.mpeg_get_current_progress(&ratio), 1);
    return static_cast<std::int64_t>(ratio * static_cast<double>(duration));
  }
  // Marks a cut of `length` from where the clip is paused, as the editor does, and
  // captures the frame at its start.
  Cut markCut(std::int64_t start, std::int64_t length, std::string& frame) {
    const Cut cut{start, start + length};
    clips.mpeg_set_cut_start2(cut.start);
    clips.mpeg_set_cut_end2(-1);
    EXPECT_EQ(clips.mpeg_capture_and_add_to_mp_list(nullptr), 1);
    clips.mpeg_set_cut_end2(cut.stop);
    mpeg_persist_bitmap_s info{};
    EXPECT_EQ(clips.mpeg_get_capture_info(cut.start, -1, &info), 1);
    frame = info.path;
    return cut;
  }
  void addCut(const std::string& file, const Cut& cut, std::int64_t at) {
    for (int video = 1; video >= 0; --video) {
      mpeg_src_s src{};
      src.timeline_start = at;
      src.timeline_stop = at + cut.stop - cut.start;
      src.media_start = cut.start;
      src.media_stop = cut.stop;
      src.video_track = video;
      src.file_name = file.c_str();
      ASSERT_EQ(project.mpeg_Project_Addsrc(&src), 1);
    }
  }
  int pumpGraphEvents() {
    int events = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == UM_PROJECT_GRAPH_EVENT) ++events;
      DispatchMessageA(&msg);
    }
    return events;
  }
  std::vector<std::uint8_t> bytesOf(const std::string& windowsPath) {
    std::ifstream in(linuxPath(windowsPath), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  plat::Robot robot;
  ScruboltLibrary clips;
  CutvalonLibrary project;
  HWND clipPane = nullptr;
  HWND projectPane = nullptr;
};

TEST_F(EditingRoadTest, TwoCutsOfARecordingBecomeOneMpegAndAviFile) {
  const std::string recording = recordThirtySeconds();
  ASSERT_TRUE(exists(recording));

  // The editor opens the project, then the clip player (which brings COM up for both).
  ASSERT_EQ(project.mpeg_Project_Open(), 1);
  ASSERT_EQ(clips.mpeg_Init(), 1);
  project.mpeg_Project_SetNotifyWnd(launcher->m_hWnd);
  ASSERT_EQ(clips.mpeg_open(recording.c_str(), clipPane), 1);
  mp_pos_t duration = 0;
  ASSERT_EQ(clips.mpeg_percent_to_mp_pos_t(100, &duration), 1);
  EXPECT_NEAR(static_cast<double>(duration) / kSecond, 30.0, 0.5);

  std::string firstFrame;
  std::string secondFrame;
  const Cut first = markCut(playTo(12 * kSecond, duration), 4 * kSecond, firstFrame);
  const Cut second = markCut(playTo(22 * kSecond, duration), 5 * kSecond, secondFrame);
  const std::array<Cut, 2> cuts = {first, second};
  const auto firstBmp = bytesOf(firstFrame);
  const auto secondBmp = bytesOf(secondFrame);
  ASSERT_GT(firstBmp.size(), 54u);
  ASSERT_GT(secondBmp.size(), 54u);
  addCut(recording, cuts[0], 0);
  addCut(recording, cuts[1], cuts[0].stop - cuts[0].start);

  // The preview runs in the project pane to its end, reported by the graph event.
  ASSERT_EQ(project.mpeg_Project_Preview(projectPane), 1);
  double progress = 0;
  int events = 0;
  bool ended = false;
  for (int ms = 0; ms < 12000 && !ended; ms += 40) {
    frameStep(false);
    events += pumpGraphEvents();
    ended = events > 0 && project.mpeg_Project_HandleGraphEvent(1) == 1;
    if (ms == 4000) {
      ASSERT_EQ(project.mpeg_Project_get_preview_progress(&progress), 1);
      EXPECT_NEAR(progress, 4.0 / 9.0, 0.05);
    }
  }
  EXPECT_TRUE(ended) << "the preview reached its end";

  // Saved as MPEG-2: the two cuts' length, starting on the first cut's first picture.
  const double lengths = 9.0;
  save_option_s save{};
  save.output_type = 1;
  const std::string mpeg = std::string(settings().VideoFolder) + "joined.mpg";
  std::strcpy(save.output_file, mpeg.c_str());
  ASSERT_EQ(project.mpeg_Project_Save(&save), 1);
  EXPECT_NEAR(test::FfprobeVideoFrames(linuxPath(mpeg).string()), lengths * 25, 2);
  const rectest::MpegFileProbe probe(linuxPath(mpeg).string());
  ASSERT_TRUE(probe.ok());
  EXPECT_EQ(probe.video().codec, "mpeg2video");
  EXPECT_TRUE(probe.audio().found);
  double ownDistance = 0;
  double otherDistance = 0;
  double capturesApart = 0;
  for (const auto& point : kPoints) {
    const auto pixel = probe.firstPicturePixel(static_cast<int>(point[0] * 640), static_cast<int>(point[1] * 480));
    const Yuv shown{static_cast<double>(pixel.y), static_cast<double>(pixel.u), static_cast<double>(pixel.v)};
    ownDistance += Distance(shown, BitmapPixel(firstBmp, point[0], point[1]));
    otherDistance += Distance(shown, BitmapPixel(secondBmp, point[0], point[1]));
    capturesApart += Distance(BitmapPixel(firstBmp, point[0], point[1]), BitmapPixel(secondBmp, point[0], point[1]));
  }
  ASSERT_GT(capturesApart / std::size(kPoints), 30.0) << "the cuts show different channels";
  EXPECT_LT(ownDistance / std::size(kPoints), 15.0) << "the first picture is the first cut's start";
  EXPECT_LT(ownDistance, otherDistance) << "and not the second cut's";

  // Saved as AVI without a compressor: the same length, uncompressed.
  save.output_type = 5;
  const std::string avi = std::string(settings().VideoFolder) + "joined.avi";
  std::strcpy(save.output_file, avi.c_str());
  ASSERT_EQ(project.mpeg_Project_Save(&save), 1);
  EXPECT_NEAR(test::FfprobeVideoFrames(linuxPath(avi).string()), lengths * 25, 2);
  EXPECT_EQ(rectest::MpegFileProbe(linuxPath(avi).string()).video().codec, "rawvideo");

  // Saved as AVI with the compressors chosen from the platform's lists.
  save.video_compressor = edtest::FirstCompressor(CLSID_VideoCompressorCategory);
  save.audio_compressor = edtest::FirstCompressor(CLSID_AudioCompressorCategory);
  ASSERT_NE(save.video_compressor, nullptr);
  ASSERT_NE(save.audio_compressor, nullptr);
  const std::string compressed = std::string(settings().VideoFolder) + "compressed.avi";
  std::strcpy(save.output_file, compressed.c_str());
  ASSERT_EQ(project.mpeg_Project_Save(&save), 1);
  save.video_compressor->Release();
  save.audio_compressor->Release();
  EXPECT_NEAR(test::FfprobeVideoFrames(linuxPath(compressed).string()), lengths * 25, 2);
  const rectest::MpegFileProbe compressedProbe(linuxPath(compressed).string());
  EXPECT_EQ(compressedProbe.video().codec, "mjpeg");
  EXPECT_EQ(compressedProbe.audio().codec, "pcm_alaw");
}

// The editor's slider seeks a paused clip: the picture at the new position is shown and
// captured, however the recording's sound and pictures lie in the file.
TEST_F(EditingRoadTest, SeekingAPausedRecordingShowsThePictureThere) {
  const std::string recording = recordThirtySeconds();
  ASSERT_TRUE(exists(recording));
  // Muxed at the streams' nominal rates the sound ran 2.5 s and more ahead after 30 s; paced
  // above the encoder's real rate it stays within about a second (a little more in the
  // sanitizer build, whose encoder output differs).
  EXPECT_LT(SoundLead(linuxPath(recording).string()), 2.0) << "sound written beside its pictures";

  ASSERT_EQ(project.mpeg_Project_Open(), 1);
  ASSERT_EQ(clips.mpeg_Init(), 1);
  ASSERT_EQ(clips.mpeg_open(recording.c_str(), clipPane), 1);
  playTo(2 * kSecond, 30 * kSecond);
  for (const std::int64_t at : {24 * kSecond, 5 * kSecond, 15 * kSecond}) {
    ASSERT_EQ(clips.mpeg_MoveToFrame(at), 1);
    clips.mpeg_set_cut_start2(at);
    clips.mpeg_set_cut_end2(-1);
    // The capture waits on the machine clock for the picture that completes the pause,
    // which only the streaming threads bring; were the graph to stall, the wait would move
    // the clock on to its time-out once they had settled, and the test would fail, not hang.
    const std::uint64_t before = machine().clock().sharedTickMs();
    EXPECT_EQ(clips.mpeg_capture_and_add_to_mp_list(nullptr), 1);
    EXPECT_EQ(machine().clock().sharedTickMs(), before) << "the picture at " << at / kSecond << " s completes the pause";
    mpeg_persist_bitmap_s info{};
    ASSERT_EQ(clips.mpeg_get_capture_info(at, -1, &info), 1);
    EXPECT_GT(bytesOf(info.path).size(), 54u);
  }
}

}  // namespace
