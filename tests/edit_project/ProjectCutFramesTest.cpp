// A cut's first frame is the source frame at its start mark, the one the clip pane shows
// there: numbered clips at 25 and at 29.97 frames a second, cut from a mark a hair after
// a frame's start and a hair before it, seen in the paused preview and as the first
// pictures of the rendered AVI and MPEG files.
#include "ProjectTest.h"

#include "CompressorChoice.h"
#include "NumberedPicture.h"

#include <machine/VideoSurfaces.h>
#include <support/Settling.h>

#include <string>
#include <vector>

namespace {

using Coding = dstest::MediaFileWriter::Coding;
using dstest::NumberedPicture;
using edtest::ProjectTest;

constexpr std::int64_t kHair = 1'000;  // 0.1 ms, far beyond any rounding of times

struct Source {
  Coding coding;
  int rateNum, rateDen;
  const char* name;
};

class ProjectCutFramesTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    // The project pane beside the clip pane, as in the editor.
    projectPane = CreateWindowExA(0, "ClipPlayerHost", "Project", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 0, 360, 300,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(projectPane, nullptr);
  }
  void TearDown() override {
    ProjectTest::TearDown();
    DestroyWindow(projectPane);
  }
  // The numbered clip, and where its frame `frame` starts on the clip's time line.
  void write(const Source& source, int frames = 150) {
    file = writeNumbered(source.name, source.coding, frames, source.rateNum, source.rateDen);
    firstPicture = NumberedPicture::firstPictureTime(linuxPath(file));
    rateNum = source.rateNum;
    rateDen = source.rateDen;
  }
  std::int64_t frameStart(int frame) const {
    return firstPicture + (frame * edtest::kSecond * rateDen + rateNum - 1) / rateNum;
  }
  // The frame the source shows at `mark`: the expected first frame of a cut from there.
  int frameAt(std::int64_t mark) const { return NumberedPicture::shownAt(mark - firstPicture, rateNum, rateDen); }
  // A project of one second cut from `mark`, put at the timeline's start.
  void cutFrom(std::int64_t mark) {
    ASSERT_EQ(project.mpeg_Project_Open(), 1);
    mpeg_src_s cut = clip(file, 0, 0, 1);
    cut.media_start = mark;
    cut.media_stop = mark + edtest::kSecond;
    ASSERT_EQ(project.mpeg_Project_Addsrc(&cut), 1);
  }
  // The first frame of the preview, paused at its start.
  int previewShows() {
    if (project.mpeg_Project_Preview(projectPane) != 1 || project.mpeg_Project_MovetoFrame(0) != 1) return -2;
    int number = -3;
    test::holdsWhenSettled(machine().clock(), [&] {
      for (const auto& surface : machine().service<plat::VideoSurfaces>().ownedBy(projectPane))
        if (surface->framesShown() > 0) {
          const plat::VideoSurface::Frame frame = surface->frame();
          number = NumberedPicture::read([&](double fx, double fy) {
            const std::uint32_t rgb = frame.pixels[static_cast<size_t>(fy * frame.height) * frame.width +
                                                   static_cast<size_t>(fx * frame.width)];
            return NumberedPicture::Rgb{static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
                                        static_cast<int>(rgb & 0xFF)};
          });
        }
      return true;
    });
    project.mpeg_Project_Stop();
    return number;
  }
  // The first picture of the project rendered as `type` (0 MPEG-1, 5 AVI).
  int renderedFirst(int type, const std::string& output) {
    const save_option_s save = options(type, output);
    if (project.mpeg_Project_Save(&save) != 1) return -2;
    const std::vector<int> numbers = NumberedPicture::numbersIn(linuxPath(output), 1);
    return numbers.empty() ? -3 : numbers[0];
  }

  HWND projectPane = nullptr;
  std::string file;
  std::int64_t firstPicture = 0;
  int rateNum = 25, rateDen = 1;
};

TEST_F(ProjectCutFramesTest, TheFirstFrameOfACutIsTheSourceFrameAtItsStartMark) {
  const Source sources[] = {{Coding::Mpeg2, 25, 1, "pal.mpg"},
                            {Coding::Mpeg2, 30000, 1001, "ntsc.mpg"},
                            {Coding::MjpegAvi, 30000, 1001, "ntsc.avi"}};
  for (const Source& source : sources) {
    write(source);
    // Frame 50 starts about 2 s in at 25 frames a second, frame 60 at 29.97.
    const int frame = source.rateNum == 25 ? 50 : 60;
    for (const std::int64_t mark : {frameStart(frame) + kHair, frameStart(frame) - kHair}) {
      SCOPED_TRACE(std::string(source.name) + " from " + std::to_string(mark));
      const int expected = frameAt(mark);
      ASSERT_EQ(lib.mpeg_open(file.c_str(), host), 1);
      ASSERT_EQ(lib.mpeg_MoveToFrame(mark), 1);
      ASSERT_TRUE(pictureShown());
      ASSERT_EQ(lib.mpeg_Capture("C:\\mark.bmp"), 1);
      EXPECT_EQ(numberInBitmap("C:\\mark.bmp"), expected) << "the clip pane at the mark";
      cutFrom(mark);
      EXPECT_EQ(previewShows(), expected) << "the preview's first frame";
      EXPECT_EQ(renderedFirst(5, "C:\\cut.avi"), expected) << "the rendered AVI's first frame";
      EXPECT_EQ(renderedFirst(0, "C:\\cut.mpg"), expected) << "the rendered MPEG's first frame";
    }
  }
}

// Two cuts one after another: each starts with its own mark's frame in the rendered film.
TEST_F(ProjectCutFramesTest, EachCutOfARenderedFilmStartsWithItsMarksFrame) {
  write({Coding::Mpeg2, 25, 1, "pal.mpg"});
  const std::int64_t first = frameStart(20) - kHair, second = frameStart(90) + kHair;
  mpeg_src_s cuts[] = {clip(file, 0, 0, 1), clip(file, 1, 0, 1)};
  cuts[0].media_start = first;
  cuts[1].media_start = second;
  for (mpeg_src_s& cut : cuts) {
    cut.media_stop = cut.media_start + edtest::kSecond;
    ASSERT_EQ(project.mpeg_Project_Addsrc(&cut), 1);
  }
  const save_option_s save = options(5, "C:\\film.avi");
  ASSERT_EQ(project.mpeg_Project_Save(&save), 1);
  const std::vector<int> numbers = NumberedPicture::numbersIn(linuxPath("C:\\film.avi"), 50);
  ASSERT_EQ(numbers.size(), 50u);
  EXPECT_EQ(numbers[0], frameAt(first));
  EXPECT_EQ(numbers[24], frameAt(first) + 24) << "the first cut's last frame";
  EXPECT_EQ(numbers[25], frameAt(second)) << "25 frames a second: the second cut starts at frame 25";
  EXPECT_EQ(numbers[49], frameAt(second) + 24);
}

// A cut from a frame's very start at 29.97 frames a second, whose frame time has no
// whole number of 100-ns units: ten seconds on, the film's pictures are still the
// source's own, one each, none shown twice.
TEST_F(ProjectCutFramesTest, ALongCutAtAnNtscRateKeepsToTheSourcesFrames) {
  write({Coding::MjpegAvi, 30000, 1001, "long.avi"}, 330);
  mpeg_src_s cut = clip(file, 0, 0, 0);
  cut.timeline_stop = cut.media_stop = 300 * edtest::kSecond * 1001 / 30000;  // 300 frames exactly
  ASSERT_EQ(project.mpeg_Project_Addsrc(&cut), 1);
  save_option_s save = options(5, "C:\\long cut.avi");
  save.video_compressor = edtest::FirstCompressor(CLSID_VideoCompressorCategory);
  ASSERT_EQ(project.mpeg_Project_Save(&save), 1);
  save.video_compressor->Release();
  const std::vector<int> numbers = NumberedPicture::numbersIn(linuxPath("C:\\long cut.avi"), 300);
  ASSERT_EQ(numbers.size(), 300u);
  for (int i = 0; i < 300; ++i) ASSERT_EQ(numbers[static_cast<size_t>(i)], i % 256) << "picture " << i;
}

}  // namespace
