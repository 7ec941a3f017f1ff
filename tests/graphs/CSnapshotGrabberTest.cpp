// The snapshot grabber: the packed 4:2:2 to RGB conversion on its own, and on the
// registered image grabber module in the stick's live video path, the numbered bitmap
// files it writes, read back as bitmaps.
#include "FilterFolderGraphTest.h"

#include "graphs/CSnapshotGrabber.h"

#include <machine/TestPicture.h>
#include <win32/file.h>
#include <win32/gdi.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using plat::ComPtr;
using Bytes = std::vector<BYTE>;

Bytes rgbOf(const CSnapshotGrabber::Planes& planes, int width, int height) {
  const std::unique_ptr<BYTE[]> rgb =
      CSnapshotGrabber::PlanesToRgb(planes.y.data(), planes.u.data(), planes.v.data(), width, height);
  return rgb ? Bytes(rgb.get(), rgb.get() + width * height * 3) : Bytes();
}

TEST(CSnapshotGrabberConversionTest, ChromaComesFromTheFirstRowOfEachPair) {
  const Bytes packed = {10, 100, 11, 200, 12, 101, 13, 201,   // first row: Y0 U Y1 V
                        20, 50, 21, 60, 22, 51, 23, 61,       // second row: only its luma counts
                        30, 102, 31, 202, 32, 103, 33, 203,   // third row starts the next pair
                        40, 52, 41, 62, 42, 53, 43, 63};
  const CSnapshotGrabber::Planes planes = CSnapshotGrabber::SplitPlanes(packed.data(), 4, 4);
  EXPECT_EQ(planes.y, (Bytes{10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33, 40, 41, 42, 43}));
  EXPECT_EQ(planes.u, (Bytes{100, 101, 102, 103}));
  EXPECT_EQ(planes.v, (Bytes{200, 201, 202, 203}));
}

TEST(CSnapshotGrabberConversionTest, PixelsAreBgrTruncatedClampedAndBottomRowFirst) {
  CSnapshotGrabber::Planes planes;
  // Top row: studio white, then a grey of 97.8; bottom row: black, then a grey of 75.7.
  planes.y = {235, 100, 16, 81};
  planes.u = {128};
  planes.v = {128};
  EXPECT_EQ(rgbOf(planes, 2, 2), (Bytes{0, 0, 0, 75, 75, 75, 255, 255, 255, 97, 97, 97}));

  planes.y = {81, 81, 81, 81};
  planes.u = {90};
  planes.v = {240};
  // R = 254.4, G = -0.48 (truncated to 0, not rounded down to -1), B = -0.97.
  EXPECT_EQ(rgbOf(planes, 2, 2), (Bytes{0, 0, 254, 0, 0, 254, 0, 0, 254, 0, 0, 254}));

  planes.y = {255, 255, 255, 255};
  planes.u = {255};
  planes.v = {0};
  const Bytes clamped = rgbOf(planes, 2, 2);
  EXPECT_EQ(Bytes(clamped.begin(), clamped.begin() + 3), (Bytes{255, 255, 74}));
}

TEST(CSnapshotGrabberConversionTest, EachChromaSampleServesATwoByTwoBlock) {
  CSnapshotGrabber::Planes planes;
  planes.y.assign(16, 126);
  planes.u = {128, 128, 128, 255};  // only the bottom-right block is tinted blue
  planes.v = {128, 128, 128, 128};
  const Bytes rgb = rgbOf(planes, 4, 4);
  ASSERT_EQ(rgb.size(), 48u);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const BYTE blue = rgb[static_cast<size_t>((3 - y) * 12 + x * 3)];
      EXPECT_EQ(blue, x >= 2 && y >= 2 ? 255 : 128) << x << "," << y;
    }
}

class CSnapshotGrabberTest : public test::FilterFolderGraphTest {
 protected:
  void SetUp() override {
    FilterFolderGraphTest::SetUp();
    std::filesystem::create_directories(snapFolder());
  }

  std::filesystem::path snapFolder() { return machine().paths().driveFolder('C') / "Snaps"; }
  std::vector<std::string> files() {
    std::vector<std::string> list;
    for (const auto& entry : std::filesystem::directory_iterator(snapFolder()))
      list.push_back(entry.path().filename().string());
    std::sort(list.begin(), list.end());
    return list;
  }
  // The grabber in the stick's capture path, in front of a null renderer.
  void buildLivePath(CSnapshotGrabber& grabber) {
    addStick();
    setCaptureFormat(MEDIASUBTYPE_YUY2, 720, 576);
    ASSERT_TRUE(grabber.AddToGraph());
    sink = add(CLSID_NullRenderer, L"Null");
    chain(pin(device.get(), L"Capture").get(), {grabber.GetFilter(), sink.get()});
  }
  // Runs the graph until the grabber has a picture.
  void runUntilGrabbed(CSnapshotGrabber& grabber) {
    ASSERT_TRUE(SUCCEEDED(control()->Run()));
    ASSERT_NO_FATAL_FAILURE(settle());
    ASSERT_NE(grabber.GrabFrame(), nullptr) << "the stick's first picture comes at once";
  }
  static std::uint32_t le32(const Bytes& data, size_t at) {
    return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<std::uint32_t>(data[at + 3]) << 24;
  }
  static unsigned le16(const Bytes& data, size_t at) { return data[at] | data[at + 1] << 8; }
  static Bytes read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static constexpr const char* kFolder = "C:\\Snaps\\";
  ComPtr<IBaseFilter> sink;
};

TEST_F(CSnapshotGrabberTest, ALiveFrameIsWrittenAsTheNextNumberedBitmap) {
  CSnapshotGrabber grabber(graph.get());
  buildLivePath(grabber);
  runUntilGrabbed(grabber);
  ASSERT_TRUE(grabber.SaveSnapshot(kFolder, 0));
  ASSERT_TRUE(grabber.SaveSnapshot(kFolder, 0));
  control()->Stop();
  EXPECT_EQ(files(), (std::vector<std::string>{"cap00.bmp", "cap01.bmp"}));

  const Bytes file = read(snapFolder() / "cap00.bmp");
  ASSERT_EQ(file.size(), 1'244'214u);
  EXPECT_EQ(le16(file, 0), 0x4D42u);
  EXPECT_EQ(le32(file, 2), 1'244'214u);
  EXPECT_EQ(le32(file, 6), 0u);
  EXPECT_EQ(le32(file, 10), 54u);
  EXPECT_EQ(le32(file, 14), 40u);
  EXPECT_EQ(le32(file, 18), 720u);
  EXPECT_EQ(le32(file, 22), 576u);
  EXPECT_EQ(le16(file, 26), 1u);
  EXPECT_EQ(le16(file, 28), 24u);
  EXPECT_EQ(le32(file, 30), 0u);
  EXPECT_EQ(le32(file, 34), 1'244'160u);
  for (size_t at = 38; at < 54; ++at) EXPECT_EQ(file[at], 0) << at;

  // Read back as a bitmap: the station's background at the picture's bottom right.
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, "C:\\Snaps\\cap01.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 720);
  EXPECT_EQ(info.bmHeight, 576);
  EXPECT_EQ(info.bmBitsPixel, 24);
  ASSERT_NE(info.bmBits, nullptr);
  const auto* corner = static_cast<const BYTE*>(info.bmBits) + 6 * info.bmWidthBytes + (720 - 6) * 3;
  const plat::Rgb wanted = plat::TestPicture::stationColour(channel);
  EXPECT_NEAR(corner[2], wanted.r, 16);
  EXPECT_NEAR(corner[1], wanted.g, 16);
  EXPECT_NEAR(corner[0], wanted.b, 16);
  DeleteObject(bitmap);
}

TEST_F(CSnapshotGrabberTest, TheGrabbedPictureIsTheBitmapsPixels) {
  CSnapshotGrabber grabber(graph.get());
  buildLivePath(grabber);
  runUntilGrabbed(grabber);
  long width = 0;
  long height = 0;
  const std::unique_ptr<BYTE[]> rgb = grabber.GrabFrame(&width, &height);
  ASSERT_TRUE(rgb);
  ASSERT_TRUE(grabber.SaveSnapshot(kFolder, 7));
  control()->Stop();
  ASSERT_EQ(width, 720);
  ASSERT_EQ(height, 576);
  const Bytes file = read(snapFolder() / "cap00.bmp");
  ASSERT_EQ(file.size(), 54u + 720 * 576 * 3);
  EXPECT_TRUE(std::equal(file.begin() + 54, file.end(), rgb.get())) << "the clock did not move: the same picture";
}

TEST_F(CSnapshotGrabberTest, NumbersTakenInTheFolderAreSkipped) {
  for (const char* name : {"cap00.bmp", "cap02.bmp", "cap01.mpg"}) std::ofstream(snapFolder() / name) << "x";
  std::filesystem::create_directory(snapFolder() / "cap01.bmp.old");
  CSnapshotGrabber grabber(graph.get());
  buildLivePath(grabber);
  runUntilGrabbed(grabber);
  ASSERT_TRUE(grabber.SaveSnapshot(kFolder, 0));
  ASSERT_TRUE(grabber.SaveSnapshot(kFolder, 0));
  control()->Stop();
  EXPECT_EQ(read(snapFolder() / "cap01.bmp").size(), 1'244'214u);
  EXPECT_EQ(read(snapFolder() / "cap03.bmp").size(), 1'244'214u);
}

TEST_F(CSnapshotGrabberTest, WithoutANewFrameNothingIsGrabbedOrWritten) {
  CSnapshotGrabber grabber(graph.get());
  buildLivePath(grabber);
  long size = 0;
  ASSERT_TRUE(grabber.GetFrameBufferSize(&size));
  EXPECT_EQ(size, 720 * 576 * 2);
  Bytes buffer(static_cast<size_t>(size));
  EXPECT_EQ(grabber.CopyFrame(buffer.data(), size), QXM_GRAB_NO_NEW_FRAME);
  EXPECT_EQ(grabber.GrabFrame(), nullptr);
  EXPECT_FALSE(grabber.SaveSnapshot(kFolder, 0));
  EXPECT_TRUE(files().empty());
}

TEST_F(CSnapshotGrabberTest, AGrabberThatCannotCopyGivesNothing) {
  CSnapshotGrabber unconnected(graph.get());
  ASSERT_TRUE(unconnected.AddToGraph());
  long value = 0;
  EXPECT_FALSE(unconnected.GetFrameBufferSize(&value));
  EXPECT_FALSE(unconnected.GetFrameWidth(&value));
  EXPECT_EQ(unconnected.GrabFrame(), nullptr);
  EXPECT_FALSE(unconnected.SaveSnapshot(kFolder, 0));

  CSnapshotGrabber empty(graph.get());
  EXPECT_FALSE(empty.GetFrameHeight(&value));
  BYTE byte = 0;
  EXPECT_EQ(empty.CopyFrame(&byte, 1), E_FAIL);
  EXPECT_EQ(empty.GrabFrame(), nullptr);
  EXPECT_FALSE(empty.SaveSnapshot(kFolder, 0));
  EXPECT_TRUE(files().empty());
}

TEST_F(CSnapshotGrabberTest, APictureWhoseSizeIsNotPacked422IsRefused) {
  addStick();
  setCaptureFormat(MEDIASUBTYPE_RGB24, 720, 576);

  CSnapshotGrabber grabber(graph.get());
  ASSERT_TRUE(grabber.AddToGraph());
  sink = add(CLSID_NullRenderer, L"Null");
  chain(pin(device.get(), L"Capture").get(), {grabber.GetFilter(), sink.get()});
  ASSERT_TRUE(SUCCEEDED(control()->Run()));
  long size = 0;
  ASSERT_TRUE(grabber.GetFrameBufferSize(&size));
  Bytes buffer(static_cast<size_t>(size));
  ASSERT_NO_FATAL_FAILURE(settle());
  ASSERT_EQ(grabber.CopyFrame(buffer.data(), size), S_OK);
  EXPECT_EQ(grabber.GrabFrame(), nullptr);
  EXPECT_FALSE(grabber.SaveSnapshot(kFolder, 0));
  control()->Stop();
  EXPECT_TRUE(files().empty());
}

TEST_F(CSnapshotGrabberTest, AFileThatCannotBeCreatedFails) {
  CSnapshotGrabber grabber(graph.get());
  buildLivePath(grabber);
  runUntilGrabbed(grabber);
  EXPECT_FALSE(grabber.SaveSnapshot("C:\\No Such Folder\\", 0));
  control()->Stop();
  EXPECT_FALSE(std::filesystem::exists(machine().paths().driveFolder('C') / "No Such Folder"));
}

TEST_F(CSnapshotGrabberTest, AHeldFilterIsAddedAgainAndRemoveTakesItOut) {
  CSnapshotGrabber grabber(graph.get());
  EXPECT_FALSE(CSnapshotGrabber(nullptr).AddToGraph());
  ASSERT_TRUE(grabber.AddToGraph());
  IBaseFilter* filter = grabber.GetFilter();
  ASSERT_EQ(graph->RemoveFilter(filter), S_OK);
  ASSERT_TRUE(grabber.AddToGraph());
  EXPECT_EQ(grabber.GetFilter(), filter) << "the held filter, not a new one";
  EXPECT_TRUE(grabber.AddToGraph()) << "still in the graph";
  EXPECT_EQ(names(), std::vector<std::wstring>{L"Talvik_Image Grabber"});
  grabber.Remove();
  EXPECT_EQ(grabber.GetFilter(), nullptr);
  EXPECT_TRUE(names().empty());
  long value = 0;
  EXPECT_FALSE(grabber.GetFrameWidth(&value));
}

}  // namespace
