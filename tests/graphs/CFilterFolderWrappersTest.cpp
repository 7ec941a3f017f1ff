// Wrappers of filters that are not the platform's: the modules of the program's Filter
// folder, made creatable by registering the module, and the MPEG playback filters and
// private file source, whose modules no test machine has. Without registration every one
// of them fails cleanly and is left without a filter.
#include "GraphsTest.h"

#include "graphs/CFileSourceFilter.h"
#include "graphs/CMpeg2SplitterFilter.h"
#include "graphs/CMpegRecorderFilter.h"
#include "graphs/CMpegVideoDecoderFilter.h"
#include "graphs/COverlayFilter.h"
#include "graphs/CStillCaptureFilter.h"
#include "graphs/CVideoInvertFilter.h"
#include "graphs/DeviceUtilities.h"

#include <com/objbase.h>

#include <cwchar>
#include <filesystem>
#include <string>

namespace {

using plat::ComPtr;

class CFilterFolderWrappersTest : public test::GraphsTest {
 protected:
  // Registers "Filter\<module>" when the build put it in the program folder.
  static bool registerModule(const char* module) {
    if (!std::filesystem::exists(test::TestMachine::builtProgramFolder() / "Filter" / module)) return false;
    RegisterFilterModule((std::string("Filter\\") + module).c_str());
    return true;
  }

  template <class Wrapper>
  void expectNotCreated() {
    Wrapper wrapper(graph.get());
    EXPECT_FALSE(wrapper.AddToGraph());
    EXPECT_EQ(wrapper.GetFilter(), nullptr);
    Wrapper without(nullptr);
    EXPECT_FALSE(without.AddToGraph());
  }

  template <class Wrapper>
  void expectJoins(const char* module, const wchar_t* name) {
    SCOPED_TRACE(module);
    Wrapper wrapper(graph.get());
    ASSERT_TRUE(wrapper.AddToGraph());
    EXPECT_NE(wrapper.GetFilter(), nullptr);
    const auto list = names();
    EXPECT_EQ(list, std::vector<std::wstring>{name});
  }
};

TEST_F(CFilterFolderWrappersTest, UnregisteredModulesLeaveEveryWrapperWithoutFilter) {
  expectNotCreated<CVideoInvertFilter>();
  expectNotCreated<COverlayFilter>();
  expectNotCreated<CStillCaptureFilter>();
  expectNotCreated<CMpegRecorderFilter>();
  expectNotCreated<CFileSourceFilter>();
  EXPECT_TRUE(names().empty());
}

TEST_F(CFilterFolderWrappersTest, TheMpegSplitterComesWithThePlatform) {
  expectJoins<CMpeg2SplitterFilter>("platform", L"MPEG-2 Splitter");
}

TEST_F(CFilterFolderWrappersTest, TheDecoderIsOnlyAddedThroughCreate) {
  CMpegVideoDecoderFilter decoder(graph.get());
  EXPECT_FALSE(decoder.AddToGraph()) << "the base's AddToGraph";
  EXPECT_FALSE(decoder.Create(TRUE)) << "not registered";
  EXPECT_EQ(decoder.GetFilter(), nullptr);
  EXPECT_FALSE(decoder.SetOption(TRUE));
  CMpegVideoDecoderFilter without(nullptr);
  EXPECT_FALSE(without.Create(FALSE));
  EXPECT_TRUE(names().empty());
}

TEST_F(CFilterFolderWrappersTest, WithoutTheirFiltersTheExtraOperationsFail) {
  CMpeg2SplitterFilter splitter(graph.get());
  EXPECT_EQ(splitter.GetVideoOutputPin(), nullptr);
  CFileSourceFilter source(graph.get());
  EXPECT_FALSE(source.Load("C:\\Videos\\cap00.mpg"));
  EXPECT_FALSE(source.Load(""));
  EXPECT_FALSE(source.Load(nullptr));
  CStillCaptureFilter still(graph.get());
  EXPECT_FALSE(still.SetFileName("C:\\Pictures\\cap00.bmp"));
}

TEST_F(CFilterFolderWrappersTest, TheInverterJoinsOnceItsModuleIsRegistered) {
  if (!registerModule("qn_invert.ax")) GTEST_SKIP() << "qn_invert.ax is not built into the program folder";
  expectJoins<CVideoInvertFilter>("qn_invert.ax", L"Quarnelix Video Invert Filter");
}

TEST_F(CFilterFolderWrappersTest, TheOverlayJoinsOnceItsModuleIsRegistered) {
  if (!registerModule("QXM_OverlayFilter.ax"))
    GTEST_SKIP() << "QXM_OverlayFilter.ax is not built into the program folder";
  expectJoins<COverlayFilter>("QXM_OverlayFilter.ax", L"QXM_OverlayFilter");
}

TEST_F(CFilterFolderWrappersTest, TheRecorderJoinsOnceItsModuleIsRegistered) {
  if (!registerModule("qnmpeg2enc.ax")) GTEST_SKIP() << "qnmpeg2enc.ax is not built into the program folder";
  expectJoins<CMpegRecorderFilter>("qnmpeg2enc.ax", L"Quarnelix Mpeg 1/2 Recorder Filter");
}

TEST_F(CFilterFolderWrappersTest, TheStillCaptureTakesTheFileNameWidened) {
  if (!registerModule("QNStillCap.ax")) GTEST_SKIP() << "QNStillCap.ax is not built into the program folder";
  expectJoins<CStillCaptureFilter>("QNStillCap.ax", L"Quarnelix StillCapture");
  CStillCaptureFilter still(graph.get());
  ASSERT_TRUE(still.AddToGraph());
  ASSERT_TRUE(still.SetFileName("C:\\Pictures\\cap00.bmp"));
  ComPtr<IFileSinkFilter> sink;
  ASSERT_TRUE(still.QueryFilterInterface(IID_IFileSinkFilter, sink.putVoid()));
  LPOLESTR name = nullptr;
  ASSERT_EQ(sink->GetCurFile(&name, nullptr), S_OK);
  EXPECT_STREQ(name, L"C:\\Pictures\\cap00.bmp");
  CoTaskMemFree(name);
}

}  // namespace
