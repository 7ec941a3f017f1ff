// Seeks made the way a user makes them in a clip player: at once after the file is opened
// and paused, before its first picture came, again before the last seek's picture came,
// and while playing. Once the streaming threads settle, with the clock standing still as
// it does for a paused graph, the renderer shows the picture at the newest position:
// numbered MPEG-2 (pictures in groups, a seek starting from the group's first, sound
// alongside) and Motion JPEG with A-law sound in an AVI.
#include "GraphTest.h"

#include "MediaFileWriter.h"
#include "NumberedPicture.h"

#include <support/Settling.h>

#include <cwchar>
#include <string>
#include <utility>

using dstest::MediaFileWriter;
using dstest::NumberedPicture;
using plat::ComPtr;
using Coding = MediaFileWriter::Coding;

namespace {

constexpr LONGLONG kFrame = 400'000;  // 25 pictures a second
constexpr LONGLONG kHair = 1'000;

struct Clip {
  Coding coding;
  const wchar_t* name;
};
const Clip kClips[] = {{Coding::Mpeg2, L"numbered.mpg"}, {Coding::MjpegAvi, L"numbered.avi"}};

class FilePlaybackSeekTest : public dstest::GraphTest {
 protected:
  void TearDown() override {
    if (control) control->Stop();
    control.reset();
    GraphTest::TearDown();
  }
  // A new graph playing 150 numbered pictures coded so.
  void render(const Clip& clip) {
    if (control) control->Stop();
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()), S_OK);
    const std::wstring name = clip.name;
    const auto file = machine().paths().driveFolder('C') / name;
    ASSERT_TRUE(MediaFileWriter::writeNumbered(file, clip.coding, 150));
    firstPicture = NumberedPicture::firstPictureTime(file);
    ASSERT_EQ(graph->RenderFile((L"C:\\" + name).c_str(), nullptr), S_OK);
    control = graphAs<IMediaControl>(IID_IMediaControl);
  }
  // A hair past the start of picture n on the file's time line, where n shows.
  LONGLONG startOf(int picture) const { return firstPicture + picture * kFrame + kHair; }
  void seek(LONGLONG position) {
    ASSERT_EQ(graphAs<IMediaSeeking>(IID_IMediaSeeking)
                  ->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
              S_OK);
  }
  // The number the paused renderer shows once the streaming threads settled; -3 when the
  // pause has not completed then.
  int shownWhenSettled() {
    OAFilterState state = State_Stopped;
    if (!test::holdsWhenSettled(machine().clock(), [&] { return control->GetState(0, &state) == S_OK; })) return -3;
    return NumberedPicture::read(*graphAs<IBasicVideo>(IID_IBasicVideo).get());
  }

  ComPtr<IMediaControl> control;
  LONGLONG firstPicture = 0;
};

TEST_F(FilePlaybackSeekTest, ASeekAsThePauseBeginsShowsThePictureAtItsPosition) {
  for (const Clip& clip : kClips) {
    SCOPED_TRACE(std::string(clip.name, clip.name + std::wcslen(clip.name)));
    render(clip);
    ASSERT_EQ(control->Pause(), S_OK);
    seek(startOf(60));
    EXPECT_EQ(shownWhenSettled(), 60);
  }
}

TEST_F(FilePlaybackSeekTest, ASeekBeforeTheLastSeeksPictureCameShowsItsOwn) {
  for (const Clip& clip : kClips) {
    SCOPED_TRACE(std::string(clip.name, clip.name + std::wcslen(clip.name)));
    render(clip);
    control->Pause();
    ASSERT_EQ(shownWhenSettled(), 0);
    for (const auto& [first, second] : {std::pair{100, 30}, std::pair{20, 120}, std::pair{140, 10}}) {
      seek(startOf(first));
      seek(startOf(second));
      EXPECT_EQ(shownWhenSettled(), second) << "after " << first;
    }
  }
}

// Seeking while playing and pausing before the clock moves on: the picture at the new
// position was shown as the graph ran, the next one waits for its time; the pause keeps
// the first, as the position says.
TEST_F(FilePlaybackSeekTest, PausedJustAfterASeekWhilePlayingThePictureAtThePositionStays) {
  for (const Clip& clip : kClips) {
    SCOPED_TRACE(std::string(clip.name, clip.name + std::wcslen(clip.name)));
    render(clip);
    ASSERT_EQ(control->Run(), S_OK);
    seek(startOf(60));
    ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [] { return true; }));
    ASSERT_EQ(control->Pause(), S_OK);
    EXPECT_EQ(shownWhenSettled(), 60);
  }
}

}  // namespace
