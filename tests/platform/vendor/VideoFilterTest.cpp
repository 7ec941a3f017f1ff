// The deinterlacer changes the pictures passing through it; the invert filter passes them on.
#include "FilterModuleTest.h"

#include <vendor/deinterlacer/QnDeinterlacer.h>
#include <vendor/video_invert/QnInvert.h>

namespace vendortest {
namespace {

class VideoFilterTest : public FilterModuleTest {};

TEST_F(VideoFilterTest, InvertLeavesTheDevicesPicturesAsTheyCame) {
  ComPtr<IBaseFilter> invert = addModuleFilter("qn_invert.ax", CLSID_QnVideoInvert, L"Quarnelix Video Invert Filter");
  ASSERT_TRUE(invert);
  const CMediaType type = videoType(MEDIASUBTYPE_YUY2, 4, 2);
  std::vector<BYTE> picture(imageSize(type));
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<BYTE>(i * 16);
  const auto frames = passThrough(invert.get(), type, {picture, picture});
  ASSERT_EQ(frames.size(), 2u);
  for (size_t i = 0; i < picture.size(); ++i) EXPECT_EQ(frames[1][i], picture[i]) << i;
}

TEST_F(VideoFilterTest, InvertRefusesPicturesItCannotInvert) {
  ComPtr<IBaseFilter> invert = addModuleFilter("qn_invert.ax", CLSID_QnVideoInvert, L"Invert");
  ASSERT_TRUE(invert);
  CMediaType sound(&MEDIATYPE_Audio);
  auto* source = add(new FrameSource(sound, {}), L"Source");
  EXPECT_TRUE(FAILED(graph->ConnectDirect(source->output(), firstPin(invert.get(), PINDIR_INPUT), nullptr)));
}

// Each line becomes the average of itself and the line below; the last line stays.
TEST_F(VideoFilterTest, DeinterlacerBlendsEachLineWithTheNext) {
  ComPtr<IBaseFilter> deinterlacer =
      addModuleFilter("qndeinterlacer.ax", CLSID_QnDeinterlacer, L"Quarnelix Deinterlacer");
  ASSERT_TRUE(deinterlacer);
  const CMediaType type = videoType(MEDIASUBTYPE_RGB24, 4, 4);  // 12 bytes a line
  std::vector<BYTE> picture;
  for (BYTE line : {0, 100, 0, 200}) picture.insert(picture.end(), 12, line);
  const auto frames = passThrough(deinterlacer.get(), type, {picture});
  ASSERT_EQ(frames.size(), 1u);
  const std::vector<BYTE> expected = {50, 50, 100, 200};
  for (size_t line = 0; line < 4; ++line)
    for (size_t i = 0; i < 12; ++i) EXPECT_EQ(frames[0][line * 12 + i], expected[line]) << line;
}

// Rows wider than the blend's vector width, in place and from a read-only buffer (as
// behind a tee), where the blend writes a buffer of its own: the same lines either way,
// rounded up, and bytes past the whole rows as they came.
TEST_F(VideoFilterTest, DeinterlacerBlendsWideRowsAlikeInPlaceAndFromReadOnlyBuffers) {
  const CMediaType type = videoType(MEDIASUBTYPE_RGB32, 21, 5);  // 84 bytes a line: vectors and a tail
  std::vector<BYTE> picture(imageSize(type) + 3);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<BYTE>(i * 2654435761u >> 13);
  std::vector<BYTE> expected = picture;
  const size_t stride = 84;
  for (size_t line = 0; line + 1 < 5; ++line)
    for (size_t i = 0; i < stride; ++i)
      expected[line * stride + i] = static_cast<BYTE>((picture[line * stride + i] + picture[(line + 1) * stride + i] + 1) / 2);
  for (const bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly ? "read-only" : "in place");
    graph.reset();
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()), S_OK);
    ComPtr<IBaseFilter> deinterlacer = addModuleFilter("qndeinterlacer.ax", CLSID_QnDeinterlacer, L"Deinterlacer");
    ASSERT_TRUE(deinterlacer);
    const auto frames = passThrough(deinterlacer.get(), type, {picture, picture}, readOnly);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1], expected);
  }
}

TEST_F(VideoFilterTest, DeinterlacerTakesYuy2AndRgbButNotOtherPictures) {
  ComPtr<IBaseFilter> deinterlacer = addModuleFilter("qndeinterlacer.ax", CLSID_QnDeinterlacer, L"Deinterlacer");
  ASSERT_TRUE(deinterlacer);
  IPin* input = firstPin(deinterlacer.get(), PINDIR_INPUT);
  const CMediaType yuy2 = videoType(MEDIASUBTYPE_YUY2, 8, 2);
  const CMediaType rgb32 = videoType(MEDIASUBTYPE_RGB32, 8, 2);
  EXPECT_EQ(input->QueryAccept(&yuy2), S_OK);
  EXPECT_EQ(input->QueryAccept(&rgb32), S_OK);
  CMediaType odd = videoType(MEDIASUBTYPE_RGB24, 8, 2);
  odd.SetSubtype(&MEDIASUBTYPE_YUY2);  // 24 bits a pixel do not make YUY2
  EXPECT_NE(input->QueryAccept(&odd), S_OK);
}

}  // namespace
}  // namespace vendortest
