// The file frame grabber without media files: its own graph and builder, every operation
// refused before the graph or the filters exist, and the filter building stopping at the
// private file source, which no test machine has registered on its own.
#include "GraphsTest.h"

#include "graphs/CFileFrameGrabber.h"
#include "graphs/CGraphBase.h"
#include "graphs/DeviceUtilities.h"

#include <support/FilterNames.h>
#include <vendor/mpeg_video_decoder/QnMpegVideoDecoder.h>

#include <filesystem>
#include <memory>

namespace {

using plat::ComPtr;

class CFileFrameGrabberTest : public test::GraphsTest {
 protected:
  void TearDown() override {
    // Its filters go before COM does.
    owned.reset();
    GraphsTest::TearDown();
  }

  std::vector<std::wstring> grabberFilters() { return test::FilterNames(grabber.GetGraph()->GetGraph()); }

  std::unique_ptr<CFileFrameGrabber> owned = std::make_unique<CFileFrameGrabber>();
  CFileFrameGrabber& grabber = *owned;
};

TEST_F(CFileFrameGrabberTest, WithoutAGraphEveryOperationIsRefused) {
  EXPECT_EQ(grabber.GetGraph(), nullptr);
  EXPECT_FALSE(grabber.AddFilters());
  EXPECT_FALSE(grabber.SetSourceFile("C:\\Videos\\cap00.mpg"));
  EXPECT_FALSE(grabber.SetStillFileName("C:\\Pictures\\cap00.bmp"));
  EXPECT_FALSE(grabber.IsSourceLoaded());
  EXPECT_FALSE(grabber.ConnectFilters());
  EXPECT_FALSE(grabber.Run());
  EXPECT_FALSE(grabber.Stop());
  EXPECT_FALSE(grabber.RenderFile("C:\\Videos\\cap00.mpg"));
  EXPECT_FALSE(grabber.AddDecoder());
  EXPECT_FALSE(grabber.AddSource());
  EXPECT_FALSE(grabber.ConnectSplitter());
  grabber.RemoveStillCapture();
  EXPECT_TRUE(grabber.ClearGraph()) << "nothing to clear";
}

TEST_F(CFileFrameGrabberTest, TheGraphIsMadeOnceAndStartsEmpty) {
  ASSERT_TRUE(grabber.CreateGraph());
  CGraphBase* graphObject = grabber.GetGraph();
  ASSERT_NE(graphObject, nullptr);
  ASSERT_NE(graphObject->GetGraph(), nullptr);
  EXPECT_NE(graphObject->GetGraph(), graph.get()) << "a graph of its own";
  EXPECT_FALSE(grabber.CreateGraph());
  EXPECT_EQ(grabber.GetGraph(), graphObject);
  EXPECT_TRUE(grabberFilters().empty());
  EXPECT_TRUE(grabber.Run()) << "an empty graph runs";
  EXPECT_TRUE(grabber.Stop());
}

TEST_F(CFileFrameGrabberTest, BuildingStopsAtTheUnregisteredFileSource) {
  // The decoder's module is where the grabber looks for it, yet it is never reached.
  const auto built = test::TestMachine::builtProgramFolder() / "Filter" / "QNMpegVD.ax";
  if (std::filesystem::exists(built)) {
    std::filesystem::create_directories(testMachine.programFolder() / "Filter");
    std::filesystem::create_symlink(built, testMachine.programFolder() / "Filter" / "QNMpegVD.ax");
  }
  ASSERT_TRUE(grabber.CreateGraph());
  EXPECT_FALSE(grabber.AddFilters());
  EXPECT_TRUE(grabberFilters().empty());
  EXPECT_FALSE(IsFilterRegistered(CLSID_QnMpegVideoDecoder));
  // Without a source or a still capture the per-file steps are refused.
  EXPECT_FALSE(grabber.SetSourceFile("C:\\Videos\\cap00.mpg"));
  EXPECT_FALSE(grabber.SetStillFileName("C:\\Pictures\\cap00.bmp"));
  EXPECT_FALSE(grabber.ConnectFilters());
  EXPECT_FALSE(grabber.AddSource());
  EXPECT_FALSE(grabber.AddDecoder());
  EXPECT_FALSE(grabber.ConnectSplitter()) << "no decoder";
  EXPECT_TRUE(grabber.ClearGraph()) << "no splitter";
  EXPECT_TRUE(grabberFilters().empty());
}

TEST_F(CFileFrameGrabberTest, RenderingNeedsAPathAndAMediaFile) {
  ASSERT_TRUE(grabber.CreateGraph());
  EXPECT_FALSE(grabber.RenderFile(""));
  EXPECT_FALSE(grabber.RenderFile(nullptr));
  EXPECT_FALSE(grabber.RenderFile("C:\\Videos\\missing.mpg"));
  EXPECT_TRUE(grabberFilters().empty());
}

}  // namespace
