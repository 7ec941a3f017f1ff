// The AVIs the program's renders write, and those other programs write, played through
// RenderFile: Motion JPEG with A-law sound, uncompressed YUY2 with PCM, and RGB stored
// from the top or from the bottom; numbered pictures read back off the renderer tell
// which frame shows and that it stands the right way up, at the start and after a seek.
#include "GraphTest.h"

#include "MediaFileWriter.h"
#include "NumberedPicture.h"

#include <dshow/filters/AlawCompressor.h>
#include <dshow/filters/AlawDecompressor.h>
#include <machine/AudioPlayback.h>
#include <support/Settling.h>

#include <bit>
#include <cstdlib>
#include <string>
#include <vector>

using dstest::MediaFileWriter;
using dstest::NumberedPicture;
using plat::ComPtr;
using Coding = MediaFileWriter::Coding;

namespace {

struct Written {
  Coding coding;
  const char* name;
  bool storedFromTheTop;  // the sign of the stored height: negative
};

const Written kAvis[] = {{Coding::MjpegAvi, "mjpeg.avi", false},
                         {Coding::Yuy2Avi, "yuy2.avi", false},
                         {Coding::RgbTopDownAvi, "topdown.avi", true},
                         {Coding::RgbBottomUpAvi, "bottomup.avi", false}};

class WrittenAviPlaybackTest : public dstest::GraphTest {
 protected:
  std::wstring numbered(const Written& avi, int frames = 100) {
    const auto file = machine().paths().driveFolder('C') / avi.name;
    EXPECT_TRUE(MediaFileWriter::writeNumbered(file, avi.coding, frames));
    EXPECT_EQ(MediaFileWriter::storedHeight(file) < 0, avi.storedFromTheTop) << avi.name;
    const std::string name = avi.name;
    return L"C:\\" + std::wstring(name.begin(), name.end());
  }
  // Pauses the graph and waits for its picture.
  void pause() {
    ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
    control->Pause();
    OAFilterState state = 0;
    ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return control->GetState(0, &state) == S_OK; }));
  }
  void seek(LONGLONG position) {
    ASSERT_EQ(graphAs<IMediaSeeking>(IID_IMediaSeeking)
                  ->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
              S_OK);
    pause();
  }
  // The number the renderer's current picture shows; -1 for none or one upside down.
  int numberShown() { return NumberedPicture::read(*graphAs<IBasicVideo>(IID_IBasicVideo).get()); }
  plat::AudioPlayback::Levels sound() { return machine().service<plat::AudioPlayback>().levels(); }
};

TEST_F(WrittenAviPlaybackTest, EachStoredWayShowsItsFramesTheRightWayUpAndSeeks) {
  for (const Written& avi : kAvis) {
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()), S_OK);
    const std::wstring file = numbered(avi);
    const HRESULT rendered = graph->RenderFile(file.c_str(), nullptr);
    EXPECT_EQ(rendered, S_OK) << avi.name;
    if (rendered != S_OK) continue;
    pause();
    EXPECT_EQ(numberShown(), 0) << avi.name;
    // 2 s at 25 frames a second: frame 50 starts there; a hair before, 49 still shows.
    seek(20'000'000);
    EXPECT_EQ(numberShown(), 50) << avi.name;
    seek(19'999'999);
    EXPECT_EQ(numberShown(), 49) << avi.name;
    graphAs<IMediaControl>(IID_IMediaControl)->Stop();
  }
}

TEST_F(WrittenAviPlaybackTest, MotionJpegWithALawSoundPlaysPicturesAndToneToTheEnd) {
  const std::wstring file = numbered(kAvis[0], 50);
  ASSERT_EQ(graph->RenderFile(file.c_str(), nullptr), S_OK);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  ASSERT_TRUE(test::advanceUntil(machine().clock(), [&] { return completed(); }, 500, 60'000));
  EXPECT_EQ(numberShown(), 49) << "the last picture";
  EXPECT_GT(sound().frames, 80000u) << "two seconds of sound at 44.1 kHz";
  EXPECT_NEAR(sound().toneHz, 440.0, 20.0);
  control->Stop();
}

// G.711 A-law, read back: each code stands for the middle of the span it codes, so a
// sample comes back within half a step of its segment (steps of 16 in the two lowest
// segments of the 16-bit scale, doubling from there on), with its sign.
TEST(AlawDecompressor, ExpandsEveryCodeBackWithinHalfItsStep) {
  for (const int pcm : {0, 1, 15, 16, 255, 256, 257, 511, 512, 1000, 4095, 4096, 8191, 16384, 32767, -1, -16, -256,
                        -257, -4096, -32767, -32768}) {
    const int back = plat::AlawDecompressor::decode(plat::AlawCompressor::encode(static_cast<short>(pcm)));
    const int magnitude = std::abs(pcm);
    const int step = magnitude < 512 ? 16 : 16 << (std::bit_width(static_cast<unsigned>(magnitude) >> 9));
    EXPECT_LE(std::abs(back - pcm), step / 2 + 8) << pcm;
    if (magnitude >= 16) {
      EXPECT_EQ(back < 0, pcm < 0) << pcm;
    }
  }
  EXPECT_EQ(plat::AlawDecompressor::decode(0xD5), 8) << "the smallest positive code";
  EXPECT_EQ(plat::AlawDecompressor::decode(0x55), -8);
  EXPECT_EQ(plat::AlawDecompressor::decode(0xAA), 32256) << "the largest";
  EXPECT_EQ(plat::AlawDecompressor::decode(0x2A), -32256);
}

}  // namespace
