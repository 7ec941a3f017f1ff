// The editing road as the video editor drives it: a 30-second recording of the simulated
// stick with two channel changes, made by the program's own recorder; the recording opened
// in the clip player, two cuts marked with a frame captured at each cut start; both cuts
// joined in an editing project, previewed in a window to its end and saved as MPEG-2 and
// as AVI with and without a compressor. The saved files are read back by the ffprobe tool
// (length) and by FFmpeg's decoder (first picture).
#include "RecordingTest.h"

#include "MpegFileProbe.h"
#include "edit_project/CompressorChoice.h"
#include "edit_project/CutvalonLibrary.h"

#include "core/CChannelList.h"

#include <dshow/dshow.h>

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

// What the ffprobe tool says of a file: the number of video frames it decodes.
int ProbedVideoFrames(const std::string& path) {
  const std::string command = "ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames "
                              "-of default=nokey=1:noprint_wrappers=1 '" + path + "' 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return -1;
  int frames = -1;
  return std::fscanf(pipe.get(), "%d", &frames) == 1 ? frames : -1;
}

// The luma of a bitmap capture at a point given as fractions of its size.
double BitmapLuma(const std::vector<std::uint8_t>& bmp, double fx, double fy) {
  auto u32 = [&](size_t at) { return bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | bmp[at + 3] << 24; };
  const int offset = static_cast<int>(u32(10));
  const int width = static_cast<int>(u32(18));
  const int height = static_cast<int>(u32(22));
  const int bytes = (bmp[28] | bmp[29] << 8) / 8;
  const int x = static_cast<int>(fx * width);
  const int row = height - 1 - static_cast<int>(fy * height);  // bottom-up
  const size_t at = static_cast<size_t>(offset) + (static_cast<size_t>(row) * width + x) * bytes;
  return 0.257 * bmp[at + 2] + 0.504 * bmp[at + 1] + 0.098 * bmp[at] + 16;
}

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
  // Plays the clip from where it stands until `at` and pauses there, as the user does
  // before marking; gives the position reached.
  std::int64_t playTo(std::int64_t at, std::int64_t duration) {
    EXPECT_EQ(clips.mpeg_Preview(nullptr), 1);
    double ratio = 0;
    for (int step = 0; step < 2000 && clips.mpeg_get_current_progress(&ratio) == 1 && ratio * duration < at; ++step) {
      machine().clock().advance(40);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      pump();
    }
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
    machine().clock().advance(40);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
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
  EXPECT_NEAR(ProbedVideoFrames(linuxPath(mpeg).string()), lengths * 25, 2);
  const rectest::MpegFileProbe probe(linuxPath(mpeg).string());
  ASSERT_TRUE(probe.ok());
  EXPECT_EQ(probe.video().codec, "mpeg2video");
  EXPECT_TRUE(probe.audio().found);
  double ownDistance = 0;
  double otherDistance = 0;
  for (double fy : {0.2, 0.5, 0.8}) {
    for (double fx : {0.2, 0.5, 0.8}) {
      const double luma = probe.firstPicturePixel(static_cast<int>(fx * 640), static_cast<int>(fy * 480)).y;
      ownDistance += std::abs(luma - BitmapLuma(firstBmp, fx, fy));
      otherDistance += std::abs(luma - BitmapLuma(secondBmp, fx, fy));
    }
  }
  EXPECT_LT(ownDistance / 9, 20.0) << "the first picture is the first cut's start";
  EXPECT_LT(ownDistance, otherDistance) << "and not the second cut's";

  // Saved as AVI without a compressor: the same length, uncompressed.
  save.output_type = 5;
  const std::string avi = std::string(settings().VideoFolder) + "joined.avi";
  std::strcpy(save.output_file, avi.c_str());
  ASSERT_EQ(project.mpeg_Project_Save(&save), 1);
  EXPECT_NEAR(ProbedVideoFrames(linuxPath(avi).string()), lengths * 25, 2);
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
  EXPECT_NEAR(ProbedVideoFrames(linuxPath(compressed).string()), lengths * 25, 2);
  const rectest::MpegFileProbe compressedProbe(linuxPath(compressed).string());
  EXPECT_EQ(compressedProbe.video().codec, "mjpeg");
  EXPECT_EQ(compressedProbe.audio().codec, "pcm_alaw");
}

}  // namespace
