// The media detector: a file's video stream before its sound, their media types, and the
// video's first picture written as a 24-bit bitmap of the size asked; files it cannot read
// have no streams.
#include "GraphTest.h"
#include "MediaFileWriter.h"

#include <com/oleauto.h>
#include <dshow/amvideo.h>
#include <dshow/mtype.h>
#include <dshow/qedit.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

using dstest::MediaFileWriter;
using plat::ComPtr;

class MediaDetectorTest : public dstest::GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ASSERT_EQ(CoCreateInstance(CLSID_MediaDet, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaDet, detector.putVoid()), S_OK);
  }
  std::filesystem::path onC(const char* name) { return machine().paths().driveFolder('C') / name; }
  HRESULT open(const wchar_t* name) {
    BSTR file = SysAllocString(name);
    const HRESULT hr = detector->put_Filename(file);
    SysFreeString(file);
    return hr;
  }
  HRESULT write(double at, long w, long h, const wchar_t* name) {
    BSTR file = SysAllocString(name);
    const HRESULT hr = detector->WriteBitmapBits(at, w, h, file);
    SysFreeString(file);
    return hr;
  }
  ComPtr<IMediaDet> detector;
};

TEST_F(MediaDetectorTest, ListsTheVideoBeforeTheSoundWithTheirTypes) {
  ASSERT_TRUE(MediaFileWriter::write(onC("clip.mpg"), MediaFileWriter::Kind::MpegProgram, 1.0, 176, 144));
  ASSERT_EQ(open(L"C:\\clip.mpg"), S_OK);
  long streams = 0;
  ASSERT_EQ(detector->get_OutputStreams(&streams), S_OK);
  EXPECT_EQ(streams, 2);
  AM_MEDIA_TYPE type{};
  ASSERT_EQ(detector->get_StreamMediaType(&type), S_OK);
  EXPECT_EQ(type.majortype, MEDIATYPE_Video);
  EXPECT_EQ(type.formattype, FORMAT_VideoInfo);
  ASSERT_GE(type.cbFormat, 88u);
  EXPECT_EQ(HEADER(type.pbFormat)->biWidth, 176);
  EXPECT_EQ(HEADER(type.pbFormat)->biHeight, 144);
  FreeMediaType(type);
  ASSERT_EQ(detector->put_CurrentStream(1), S_OK);
  ASSERT_EQ(detector->get_StreamMediaType(&type), S_OK);
  EXPECT_EQ(type.majortype, MEDIATYPE_Audio);
  FreeMediaType(type);
  EXPECT_EQ(detector->put_CurrentStream(2), E_INVALIDARG);
  EXPECT_EQ(write(0.0, 176, 144, L"C:\\sound.bmp"), E_INVALIDARG) << "the sound has no picture";
}

TEST_F(MediaDetectorTest, WritesTheFirstPictureAsABitmapFile) {
  ASSERT_TRUE(MediaFileWriter::write(onC("clip.avi"), MediaFileWriter::Kind::Avi, 1.0, 160, 120));
  ASSERT_EQ(open(L"C:\\clip.avi"), S_OK);
  ASSERT_EQ(write(0.0, 160, 120, L"C:\\first.bmp"), S_OK);
  std::ifstream in(onC("first.bmp"), std::ios::binary);
  const std::vector<unsigned char> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_EQ(file.size(), 54u + 160 * 3 * 120);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[28], 24);
  // The clip is red all over.
  const unsigned char* middle = &file[54 + (60 * 160 + 80) * 3];
  EXPECT_GT(middle[2], 200);
  EXPECT_LT(middle[1], 60);
  EXPECT_LT(middle[0], 60);
  // An odd width is written as asked.
  ASSERT_EQ(write(0.0, 81, 61, L"C:\\odd.bmp"), S_OK);
  std::ifstream odd(onC("odd.bmp"), std::ios::binary);
  const std::vector<unsigned char> oddFile{std::istreambuf_iterator<char>(odd), std::istreambuf_iterator<char>()};
  EXPECT_EQ(oddFile.size(), 54u + 244 * 61);
  EXPECT_EQ(write(0.0, 0, 120, L"C:\\none.bmp"), E_INVALIDARG);
  EXPECT_EQ(write(0.0, 8193, 120, L"C:\\none.bmp"), E_INVALIDARG);
}

TEST_F(MediaDetectorTest, AFileThatIsNotMediaHasNoStreams) {
  std::ofstream(onC("notes.avi")) << "not a movie";
  EXPECT_NE(open(L"C:\\notes.avi"), S_OK);
  long streams = -1;
  detector->get_OutputStreams(&streams);
  EXPECT_EQ(streams, 0);
  EXPECT_NE(open(L"C:\\missing.mpg"), S_OK);
  EXPECT_EQ(write(0.0, 16, 16, L"C:\\none.bmp"), E_INVALIDARG);
}

}  // namespace
