// The image grabber passes the video unchanged and hands out a copy of the last picture.
#include "FilterModuleTest.h"

#include <vendor/image_grabber/QxmImageGrabber.h>

namespace vendortest {
namespace {

class ImageGrabberTest : public FilterModuleTest {
 protected:
  void SetUp() override {
    FilterModuleTest::SetUp();
    filter = addModuleFilter("QXM_ImageGrabber.ax", CLSID_QxmImageGrabber, L"Talvik_Image Grabber");
    ASSERT_TRUE(filter);
    ASSERT_EQ(filter->QueryInterface(IID_IQxmImageGrabber, grabber.putVoid()), S_OK);
  }
  void TearDown() override {
    grabber.reset();
    filter.reset();
    FilterModuleTest::TearDown();
  }

  ComPtr<IBaseFilter> filter;
  ComPtr<IQxmImageGrabber> grabber;
};

TEST_F(ImageGrabberTest, UnconnectedGrabberHasNothingToGive) {
  long value = 0;
  BYTE buffer[16];
  EXPECT_EQ(grabber->GetFrameBufferSize(&value), E_FAIL);
  EXPECT_EQ(grabber->CopyFrame(buffer, sizeof(buffer)), E_FAIL);
  EXPECT_EQ(grabber->GetFrameWidth(&value), E_FAIL);
  EXPECT_EQ(grabber->GetFrameHeight(&value), E_FAIL);
  EXPECT_EQ(grabber->GetFrameBufferSize(nullptr), E_POINTER);
  EXPECT_EQ(grabber->CopyFrame(nullptr, 16), E_POINTER);
  EXPECT_EQ(grabber->GetFrameWidth(nullptr), E_POINTER);
  EXPECT_EQ(grabber->GetFrameHeight(nullptr), E_POINTER);
}

TEST_F(ImageGrabberTest, ConnectedGrabberReportsTheFormatButNoFrameBeforeOnePassed) {
  connectThrough(filter.get(), videoType(MEDIASUBTYPE_YUY2, 8, -4), {});
  long size = 0, width = 0, height = 0;
  EXPECT_EQ(grabber->GetFrameBufferSize(&size), S_OK);
  EXPECT_EQ(size, 8 * 4 * 2);
  EXPECT_EQ(grabber->GetFrameWidth(&width), S_OK);
  EXPECT_EQ(width, 8);
  EXPECT_EQ(grabber->GetFrameHeight(&height), S_OK);
  EXPECT_EQ(height, 4);
  std::vector<BYTE> buffer(static_cast<size_t>(size));
  EXPECT_EQ(grabber->CopyFrame(buffer.data(), size), QXM_GRAB_NO_NEW_FRAME);
}

TEST_F(ImageGrabberTest, GrabbedFrameIsTheLastThatPassedUnchanged) {
  const CMediaType type = videoType(MEDIASUBTYPE_YUY2, 8, 4);
  std::vector<std::vector<BYTE>> pictures;
  for (int n = 0; n < 3; ++n) {
    std::vector<BYTE> picture(imageSize(type));
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<BYTE>(n * 50 + i);
    pictures.push_back(picture);
  }
  FrameSink* sink = connectThrough(filter.get(), type, pictures);
  runToEnd(sink);
  EXPECT_EQ(sink->frames(), pictures);

  long size = 0;
  ASSERT_EQ(grabber->GetFrameBufferSize(&size), S_OK);
  std::vector<BYTE> grabbed(static_cast<size_t>(size));
  EXPECT_EQ(grabber->CopyFrame(grabbed.data(), size - 1), E_INVALIDARG);
  ASSERT_EQ(grabber->CopyFrame(grabbed.data(), size), S_OK);
  EXPECT_EQ(grabbed, pictures[2]);
  // Asked again without a new picture, the same one comes back.
  std::vector<BYTE> again(static_cast<size_t>(size));
  ASSERT_EQ(grabber->CopyFrame(again.data(), size), S_OK);
  EXPECT_EQ(again, pictures[2]);
}

}  // namespace
}  // namespace vendortest
