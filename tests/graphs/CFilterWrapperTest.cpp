// The wrapper base on the real graph engine: creation and re-adding under the fixed name,
// pins by direction and name part, removal, and the error box beside it.
#include "GraphsTest.h"

#include "graphs/CDeinterlacerFilter.h"
#include "graphs/DeviceUtilities.h"

#include <win32/user/UserSystem.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

using plat::ComPtr;

const CLSID kUnregistered = {0x0BADF00D, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};

// A wrapper of the platform's Smart Tee, or of a class nobody registered, following the
// family contract through the base's helper.
class CTestWrapper : public CFilterWrapper {
 public:
  CTestWrapper(IGraphBuilder* graph, REFCLSID clsid) : m_clsid(clsid) { SetGraph(graph); }
  ~CTestWrapper() override { RemoveFromGraph(); }
  BOOL AddToGraph() override { return AddFilterByClsid(m_clsid, L"Test Tee"); }

 private:
  CLSID m_clsid;
};

class CFilterWrapperTest : public test::GraphsTest {
 protected:
  ULONG graphRefs() {
    graph->AddRef();
    return graph->Release();
  }
  static std::wstring pinName(IPin* pin) {
    PIN_INFO info{};
    pin->QueryPinInfo(&info);
    if (info.pFilter) info.pFilter->Release();
    return info.achName;
  }
};

TEST_F(CFilterWrapperTest, AWrapperWithoutGraphCreatesNothing) {
  CTestWrapper wrapper(nullptr, CLSID_SmartTee);
  EXPECT_FALSE(wrapper.AddToGraph());
  EXPECT_EQ(wrapper.GetFilter(), nullptr);
  EXPECT_EQ(wrapper.FindPin(TRUE, nullptr), nullptr);
  ComPtr<IUnknown> unknown;
  EXPECT_FALSE(wrapper.QueryFilterInterface(IID_IUnknown, unknown.putVoid()));
  ComPtr<IPin> pin;
  EXPECT_EQ(wrapper.GetUnconnectedPin(PINDIR_INPUT, pin.put()), E_FAIL);
}

TEST_F(CFilterWrapperTest, AddingTwiceKeepsOneFilterUnderTheFixedName) {
  CTestWrapper wrapper(graph.get(), CLSID_SmartTee);
  ASSERT_TRUE(wrapper.AddToGraph());
  IBaseFilter* first = wrapper.GetFilter();
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(wrapper.AddToGraph());
  EXPECT_EQ(wrapper.GetFilter(), first) << "no second filter is created";
  EXPECT_EQ(names(), std::vector<std::wstring>{L"Test Tee"});
  // Taken out of the graph by someone else, the held filter goes back under the same name.
  ASSERT_EQ(graph->RemoveFilter(first), S_OK);
  EXPECT_TRUE(names().empty());
  ASSERT_TRUE(wrapper.AddToGraph());
  EXPECT_EQ(wrapper.GetFilter(), first);
  EXPECT_EQ(names(), std::vector<std::wstring>{L"Test Tee"});
}

TEST_F(CFilterWrapperTest, AClassThatCannotBeCreatedLeavesNoFilterAndCanBeTriedAgain) {
  CTestWrapper wrapper(graph.get(), kUnregistered);
  EXPECT_FALSE(wrapper.AddToGraph());
  EXPECT_EQ(wrapper.GetFilter(), nullptr);
  EXPECT_FALSE(wrapper.AddToGraph());
  EXPECT_TRUE(names().empty());
}

TEST_F(CFilterWrapperTest, CreateAndAddFilterChecksItsPointersAndHandsOverTheFilter) {
  IBaseFilter* filter = reinterpret_cast<IBaseFilter*>(this);
  EXPECT_EQ(CFilterWrapper::CreateAndAddFilter(nullptr, CLSID_SmartTee, L"Tee", &filter), E_POINTER);
  EXPECT_EQ(CFilterWrapper::CreateAndAddFilter(graph.get(), CLSID_SmartTee, L"Tee", nullptr), E_POINTER);
  EXPECT_EQ(CFilterWrapper::CreateAndAddFilter(graph.get(), kUnregistered, L"Tee", &filter), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(filter, nullptr);
  ASSERT_EQ(CFilterWrapper::CreateAndAddFilter(graph.get(), CLSID_SmartTee, L"Tee", &filter), S_OK);
  ComPtr<IBaseFilter> owned = ComPtr<IBaseFilter>::adopt(filter);
  EXPECT_EQ(names(), std::vector<std::wstring>{L"Tee"});
  ASSERT_EQ(graph->RemoveFilter(filter), S_OK);
  // The caller's reference is the only one left.
  EXPECT_EQ(owned.detach()->Release(), 0u);
}

TEST_F(CFilterWrapperTest, PinsAreFoundByDirectionAndCaseSensitiveNamePart) {
  CTestWrapper wrapper(graph.get(), CLSID_SmartTee);
  ASSERT_TRUE(wrapper.AddToGraph());
  IPin* input = wrapper.FindPin(TRUE, nullptr);
  ASSERT_NE(input, nullptr);
  EXPECT_EQ(pinName(input), L"Input");
  IPin* capture = wrapper.FindPin(FALSE, "Capture");
  ASSERT_NE(capture, nullptr);
  EXPECT_EQ(pinName(capture), L"Capture");
  IPin* preview = wrapper.FindPin(FALSE, "view");
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(pinName(preview), L"Preview");
  EXPECT_EQ(wrapper.FindPin(FALSE, "capture"), nullptr);
  EXPECT_EQ(wrapper.FindPin(TRUE, "Capture"), nullptr) << "an output pin's name on the input side";
  // No reference was handed out: the pin is the filter's own.
  EXPECT_EQ(input, pin(wrapper.GetFilter(), L"Input").get());
}

TEST_F(CFilterWrapperTest, ALongMultibytePinNameIsSearchedToItsEnd) {
  // Under a double-byte code page, 70 ideographs and "Line In" fill 147 bytes of text.
  machine().ini().setValue("Windows", "AnsiCodePage", "936");
  std::string line;
  for (int i = 0; i < 70; ++i) line += "\xD6\xD0";
  machine().ini().setValue("AudioCapture", "Lines", line + "Line In,Microphone");
  CTestWrapper wrapper(graph.get(), CLSID_AudioCapture);
  ASSERT_TRUE(wrapper.AddToGraph());
  IPin* found = wrapper.FindPin(TRUE, "Line In");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(pinName(found).size(), 77u);
  EXPECT_EQ(pinName(wrapper.FindPin(TRUE, nullptr)), pinName(found));
}

TEST_F(CFilterWrapperTest, UnconnectedPinsAreCountedForTheCallerAndConnectedOnesSkipped) {
  CTestWrapper wrapper(graph.get(), CLSID_SmartTee);
  ASSERT_TRUE(wrapper.AddToGraph());
  ComPtr<IPin> found;
  ASSERT_EQ(wrapper.GetUnconnectedPin(PINDIR_OUTPUT, found.put()), S_OK);
  EXPECT_EQ(pinName(found.get()), L"Capture");

  ComPtr<IBaseFilter> device;
  ASSERT_TRUE(FindVideoCaptureDevice("USB TV Device", device.put()));
  ASSERT_EQ(graph->AddFilter(device.get(), L"Device"), S_OK);
  ComPtr<IPin> input = pin(wrapper.GetFilter(), L"Input");
  ASSERT_EQ(graph->ConnectDirect(pin(device.get(), L"Capture").get(), input.get(), nullptr), S_OK);
  ASSERT_EQ(wrapper.GetUnconnectedPin(PINDIR_INPUT, found.put()), E_FAIL);
  EXPECT_EQ(found.get(), nullptr);
  ComPtr<IBaseFilter> renderer = add(CLSID_NullRenderer, L"Null");
  ASSERT_EQ(graph->Connect(pin(wrapper.GetFilter(), L"Capture").get(), pin(renderer.get(), L"In").get()), S_OK);
  ASSERT_EQ(wrapper.GetUnconnectedPin(PINDIR_OUTPUT, found.put()), S_OK);
  EXPECT_EQ(pinName(found.get()), L"Preview");
}

TEST_F(CFilterWrapperTest, RemovingTakesTheFilterOutButKeepsTheGraph) {
  const ULONG before = graphRefs();
  auto wrapper = std::make_unique<CTestWrapper>(graph.get(), CLSID_SmartTee);
  EXPECT_EQ(graphRefs(), before + 1);
  wrapper->RemoveFromGraph();
  EXPECT_EQ(graphRefs(), before + 1) << "nothing to remove, the graph stays held";
  ASSERT_TRUE(wrapper->AddToGraph());
  ComPtr<IBaseFilter> filter(wrapper->GetFilter());
  wrapper->RemoveFromGraph();
  EXPECT_EQ(wrapper->GetFilter(), nullptr);
  EXPECT_TRUE(names().empty());
  EXPECT_EQ(graphRefs(), before + 1);
  // Added again it is created anew.
  ASSERT_TRUE(wrapper->AddToGraph());
  EXPECT_NE(wrapper->GetFilter(), filter.get());
  wrapper.reset();
  EXPECT_TRUE(names().empty()) << "deleting the wrapper takes its filter out";
  EXPECT_EQ(graphRefs(), before);
}

TEST_F(CFilterWrapperTest, TheDeinterlacerIsNotThereUntilItsModuleIsRegistered) {
  CDeinterlacerFilter wrapper(graph.get());
  EXPECT_FALSE(wrapper.AddToGraph());
  EXPECT_EQ(wrapper.GetFilter(), nullptr);
  EXPECT_TRUE(names().empty());
  CDeinterlacerFilter without(nullptr);
  EXPECT_FALSE(without.AddToGraph());
}

TEST_F(CFilterWrapperTest, TheDeinterlacerOfTheFilterFolderJoinsUnderItsName) {
  if (!std::filesystem::exists(test::TestMachine::builtProgramFolder() / "Filter" / "qndeinterlacer.ax"))
    GTEST_SKIP() << "the deinterlacer module is not built into the program folder";
  RegisterFilterModule("Filter\\qndeinterlacer.ax");
  CDeinterlacerFilter wrapper(graph.get());
  ASSERT_TRUE(wrapper.AddToGraph());
  EXPECT_EQ(names(), std::vector<std::wstring>{L"Quarnelix Deinterlacer"});
  EXPECT_NE(wrapper.FindPin(TRUE, nullptr), nullptr);
  EXPECT_NE(wrapper.FindPin(FALSE, nullptr), nullptr);
}

TEST_F(CFilterWrapperTest, TheErrorBoxFormatsIntoAtMost2047Characters) {
  plat::MessageBoxLog& log = plat::UserSystem::current().messageBoxes();
  ShowErrorBox(nullptr, "Filter %s missing (%d)", "Smart Tee", 7);
  ShowErrorBox(nullptr, "%s", std::string(3000, 'x').c_str());
  const auto records = log.records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].text, "Filter Smart Tee missing (7)");
  EXPECT_EQ(records[0].type, 0x2030u);
  EXPECT_EQ(records[1].text, std::string(2047, 'x'));
}

}  // namespace
