// The capture graph's devices and audio line-in on the simulated PC, the notices when no
// capture device is listed, and the video standards read back from the decoder and the
// USB chip's register.
#include "CaptureGraphTest.h"

#include "core/CAppController.h"
#include "core/data/CAppSettings.h"
#include "graphs/CGraphBase.h"
#include "graphs/ICaptureNotices.h"

#include <machine/CaptureAudio.h>
#include <vendor/language/Language.h>
#include <vendor/qxmdll/QXUSBControl.h>
#include <win32/registry.h>
#include <win32/time.h>

#include <algorithm>
#include <string>

namespace test {
namespace {

using Input = plat::TvStickCapture::Input;

plat::Scene external(const char* standard) { return plat::Scene{plat::Scene::Kind::External, 0, "Camcorder", standard, 330.0}; }

// The program's notifier as the graphs see it: the texts it was asked to show.
class RecordedNotices : public ICaptureNotices {
 public:
  void Show(LPCTSTR text, DWORD toShow, DWORD toStay, DWORD toHide, int) override {
    shown.push_back(text);
    EXPECT_EQ(toShow, 500u);
    EXPECT_EQ(toStay, 3000u);
    EXPECT_EQ(toHide, 500u);
  }
  std::vector<std::string> shown;
};

class CCaptureGraphDevicesTest : public CaptureGraphTest {
 protected:
  void TearDown() override {
    g_pCaptureNotices = nullptr;
    CaptureGraphTest::TearDown();
  }
  // The graph object with the stick opened in it.
  CTestLiveGraph& openStick() {
    makeGraph();
    EXPECT_TRUE(graph->OpenDefaultVideoDevice(0));
    return *graph;
  }
  void makeNotifier() { g_pCaptureNotices = &notices; }
  static void setList(CStringArray& list, std::initializer_list<const char*> names) {
    list.RemoveAll();
    for (const char* name : names) list.Add(name);
  }
  plat::CaptureAudio& card() { return machine().service<plat::CaptureAudio>(); }
  RecordedNotices notices;
  int enabledLine() {
    for (int i = 0; i < static_cast<int>(card().lines().size()); ++i)
      if (card().lineEnabled(i)) return i;
    return -1;
  }
  int graphFilterCount(const wchar_t* name) {
    const auto names = filterNames();
    return static_cast<int>(std::count(names.begin(), names.end(), name));
  }
};

TEST_F(CCaptureGraphDevicesTest, TheStickIsChosenByItsExactNameFromTheEndOfTheList) {
  setList(g_pAppSettings->CaptureDeviceNames, {"Webcam", "USB TV Device", "usb tv device"});
  openStick();
  EXPECT_EQ(graph->GetDeviceName(), "USB TV Device");
  EXPECT_STREQ(g_pAppSettings->CaptureDeviceName, "USB TV Device");
  ASSERT_NE(graph->GetCaptureFilter(), nullptr);
  EXPECT_EQ(graphFilterCount(L"Video Capture"), 1);

  // Without the exact name the first entry is taken; the device lookup ignores case.
  setList(g_pAppSettings->CaptureDeviceNames, {"usb tv device", "Webcam"});
  ASSERT_TRUE(graph->OpenDefaultVideoDevice(0));
  EXPECT_EQ(graph->GetDeviceName(), "usb tv device");
  EXPECT_EQ(graphFilterCount(L"Video Capture"), 1) << "the device opened before is replaced";

  setList(g_pAppSettings->CaptureDeviceNames, {"Webcam"});
  EXPECT_FALSE(graph->OpenDefaultVideoDevice(0));
  EXPECT_STREQ(g_pAppSettings->CaptureDeviceName, "Webcam");
  EXPECT_EQ(graph->GetCaptureFilter(), nullptr);
  EXPECT_FALSE(graph->OpenVideoDevice("", 0));
  EXPECT_FALSE(graph->OpenVideoDevice(nullptr, 0));
}

TEST_F(CCaptureGraphDevicesTest, NoListedCaptureDeviceIsANotice) {
  makeNotifier();
  makeGraph();
  g_pAppSettings->CaptureDeviceNames.RemoveAll();
  EXPECT_FALSE(graph->OpenDefaultVideoDevice(0));
  EXPECT_EQ(notices.shown, std::vector<std::string>{GetMessageInfo(14)});

  setList(g_pAppSettings->CaptureDeviceNames, {""});
  EXPECT_FALSE(graph->OpenDefaultVideoDevice(0));
  EXPECT_EQ(notices.shown, (std::vector<std::string>{GetMessageInfo(14), GetMessageInfo(16)}));

  // Without a notifier or settings it only fails.
  g_pCaptureNotices = nullptr;
  EXPECT_FALSE(graph->OpenDefaultVideoDevice(0));
  delete g_pAppSettings;
  g_pAppSettings = nullptr;
  EXPECT_FALSE(graph->OpenDefaultVideoDevice(0));
}

TEST_F(CCaptureGraphDevicesTest, TheAudioInputRecordsTheLineInAndTheStationsSound) {
  tune(67.25f);
  openStick();
  ASSERT_TRUE(graph->SelectAudioInput("Audio Volume Control", 0));
  CStringArray& lines = g_pAppSettings->CaptureAudioLineNames;
  ASSERT_EQ(lines.GetSize(), 3);
  EXPECT_EQ(lines.GetAt(0), "Line In");
  EXPECT_EQ(lines.GetAt(2), "CD Audio");
  EXPECT_STREQ(g_pAppSettings->CaptureAudioLine, "Line In");
  EXPECT_EQ(enabledLine(), 0);
  EXPECT_EQ(card().toneHz(stick()), 550.0) << "channel 4's tone";
  EXPECT_EQ(graphFilterCount(L"Audio Volume Control"), 1);

  // The line saved in the settings wins; opening again replaces the device.
  strcpy(g_pAppSettings->CaptureAudioLine, "CD Audio");
  card().setLineEnabled(0, false);
  ASSERT_TRUE(graph->SelectAudioInput("audio volume", 0));
  EXPECT_EQ(graphFilterCount(L"Audio Volume Control"), 1);
  EXPECT_TRUE(card().lineEnabled(2));
  EXPECT_STREQ(g_pAppSettings->CaptureAudioLine, "CD Audio");

  EXPECT_FALSE(graph->SelectAudioInput("", 0));
  EXPECT_FALSE(graph->SelectAudioInput("No Such Card", 0));
  EXPECT_EQ(graphFilterCount(L"Audio Volume Control"), 0) << "the old device was taken out first";
  EXPECT_FALSE(graph->FillCaptureLineNames(nullptr));
  graph->SelectLineIn();  // without a device: nothing
}

TEST_F(CCaptureGraphDevicesTest, AnUnknownSavedLineFallsBackToALineInByAnyOfItsNames) {
  machine().ini().setValue("AudioCapture", "Lines", "Microphone,Line,Aux,CD Audio");
  openStick();
  strcpy(g_pAppSettings->CaptureAudioLine, "Gone");
  ASSERT_TRUE(graph->SelectAudioInput("Audio Volume Control", 0));
  EXPECT_EQ(enabledLine(), 1);
  EXPECT_STREQ(g_pAppSettings->CaptureAudioLine, "Line");
}

TEST_F(CCaptureGraphDevicesTest, AChineseSystemsLineInIsFoundByItsOwnName) {
  const char lineIn[] = "\xCF\xDF\xC2\xB7\xCA\xE4\xC8\xEB";  // code page 936
  machine().ini().setValue("Windows", "AnsiCodePage", "936");
  machine().ini().setValue("AudioCapture", "Lines", std::string("Microphone,") + lineIn + ",CD Audio");
  openStick();
  ASSERT_TRUE(graph->SelectAudioInput("Audio Volume Control", 0));
  EXPECT_EQ(enabledLine(), 1);
  EXPECT_STREQ(g_pAppSettings->CaptureAudioLine, lineIn);
}

TEST_F(CCaptureGraphDevicesTest, WithoutAnyLineInTheFirstLineIsTaken) {
  machine().ini().setValue("AudioCapture", "Lines", "Microphone,Aux");
  openStick();
  ASSERT_TRUE(graph->SelectAudioInput("Audio Volume Control", 0));
  EXPECT_EQ(enabledLine(), 0);
  EXPECT_STREQ(g_pAppSettings->CaptureAudioLine, "Microphone");
}

TEST_F(CCaptureGraphDevicesTest, TheDefaultAudioInputOnVistaIsTheLastListedDevice) {
  setWindows(2, 6, 0, false, "Windows Vista (TM) Ultimate");
  setList(g_pAppSettings->AudioDeviceNames, {"Webcam Audio", "Audio Volume Control"});
  openStick();
  ASSERT_TRUE(graph->SelectDefaultAudioInput());
  EXPECT_STREQ(g_pAppSettings->AudioDeviceName, "Audio Volume Control");
  EXPECT_EQ(graphFilterCount(L"Audio Volume Control"), 1);

  setList(g_pAppSettings->AudioDeviceNames, {"Audio Volume Control", "Webcam Audio"});
  EXPECT_FALSE(graph->SelectDefaultAudioInput());
  g_pAppSettings->AudioDeviceNames.RemoveAll();
  EXPECT_FALSE(graph->SelectDefaultAudioInput());
}

TEST_F(CCaptureGraphDevicesTest, TheProductNameTellsVista) {
  EXPECT_FALSE(IsVistaProductName()) << "the default PC runs XP";
  setWindows(2, 6, 0, false, "windows vista business");
  EXPECT_TRUE(IsVistaProductName());
  // A name that does not fit the 40-byte buffer cannot be read.
  setWindows(2, 6, 0, false, "Microsoft Windows Vista Home Premium Edition N");
  EXPECT_FALSE(IsVistaProductName());
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_WRITE, &key),
            ERROR_SUCCESS);
  RegDeleteValueA(key, "ProductName");
  RegCloseKey(key);
  EXPECT_FALSE(IsVistaProductName());
}

TEST_F(CCaptureGraphDevicesTest, EveryStandardNameSetsTheDecoderAndTheChip) {
  openStick();
  struct Case {
    const char* name;
    long decoder;
    int chip;
  };
  const Case cases[] = {{"PAL_D", AnalogVideo_PAL_D, 0},     {"PAL_B", AnalogVideo_PAL_D, 0},
                        {"PAL_H", AnalogVideo_PAL_D, 0},     {"PAL_I", AnalogVideo_PAL_D, 0},
                        {"PAL_60", AnalogVideo_PAL_D, 0},    {"PAL_N_COMBO", AnalogVideo_PAL_D, 0},
                        {"PAL_M", AnalogVideo_PAL_M, 0},     {"PAL_N", AnalogVideo_PAL_N, 0},
                        {"NTSC_M", AnalogVideo_NTSC_M, 0},   {"NTSC_M_J", AnalogVideo_NTSC_M_J, 0},
                        {"NTSC_433", AnalogVideo_NTSC_433, 0}, {"SECAM_B", AnalogVideo_SECAM_B, 0xFF},
                        {"SECAM_D", AnalogVideo_SECAM_B, 0xFF}, {"SECAM_G", AnalogVideo_SECAM_B, 0xFF},
                        {"SECAM_H", AnalogVideo_SECAM_B, 0xFF}, {"SECAM_K", AnalogVideo_SECAM_B, 0xFF},
                        {"SECAM_K1", AnalogVideo_SECAM_B, 0xFF}, {"SECAM_L", AnalogVideo_SECAM_B, 0xFF},
                        {"SECAM_L1", AnalogVideo_SECAM_B, 0xFF}, {"SECAM_MASK", AnalogVideo_SECAM_B, 0xFF}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    stick().setDecoderStandard(0x800);
    graph->SetVideoStandard(c.name);
    EXPECT_EQ(stick().decoderStandard(), c.decoder);
    EXPECT_EQ(standardRegister(), c.chip);
  }
  // Names are exact: nothing else changes anything.
  const size_t writes = control().writes().size();
  for (const char* name : {"pal_d", "PAL", "SECAM", "", "PAL_G"}) graph->SetVideoStandard(name);
  graph->SetVideoStandard(nullptr);
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_SECAM_B);
  EXPECT_EQ(control().writes().size(), writes);
}

TEST_F(CCaptureGraphDevicesTest, AStandardTheSignalDoesNotShowIsSetTwice) {
  openStick();
  DWORD before = GetTickCount();
  graph->SetVideoStandard("PAL_D");
  EXPECT_EQ(GetTickCount() - before, 30u) << "read back as set on the tuner";
  // On Composite the decoder reads back the source's standard: set again.
  ASSERT_TRUE(graph->CreateCaptureBuilder());
  ASSERT_TRUE(graph->SelectCrossbarInput(1));
  before = GetTickCount();
  graph->SetVideoStandard("PAL_D");
  EXPECT_EQ(GetTickCount() - before, 60u);
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_PAL_D);
}

TEST_F(CCaptureGraphDevicesTest, ExternalInputStandardsByCode) {
  openStick();
  const long decoders[] = {AnalogVideo_NTSC_M, AnalogVideo_NTSC_433, AnalogVideo_PAL_D, AnalogVideo_SECAM_B,
                           AnalogVideo_NTSC_M, AnalogVideo_NTSC_M};
  const int codes[] = {0, 1, 2, 3, 4, -1};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(codes[i]);
    const DWORD before = GetTickCount();
    graph->SetAvInputStandard(codes[i]);
    EXPECT_EQ(GetTickCount() - before, 80u);
    EXPECT_EQ(stick().decoderStandard(), decoders[i]);
    EXPECT_EQ(standardRegister(), codes[i] == 3 ? 0xFF : 0);
  }
  // Without the device control the decoder is still set; the chip is left alone.
  delete g_pDeviceControl;
  g_pDeviceControl = nullptr;
  const size_t writes = control().writes().size();
  graph->SetAvInputStandard(3);
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_SECAM_B);
  EXPECT_EQ(control().writes().size(), writes);
}

TEST_F(CCaptureGraphDevicesTest, StandardsByNumberAndTheirFamilies) {
  openStick();
  CString name = "unchanged";
  ASSERT_TRUE(graph->SetVideoStandardByCode(12, name));
  EXPECT_EQ(name, "SECAM_D");
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_SECAM_B);
  EXPECT_EQ(standardRegister(), 0xFF);
  ASSERT_TRUE(graph->SetVideoStandardByCode(1, name));
  EXPECT_EQ(name, "NTSC_M_J");
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_NTSC_M_J);
  EXPECT_EQ(standardRegister(), 0);
  ASSERT_TRUE(graph->SetVideoStandardByCode(8, name));
  EXPECT_EQ(name, "PAL_N");
  ASSERT_TRUE(graph->SetVideoStandardByCode(10, name));
  EXPECT_EQ(name, "PAL_N_COMBO");
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_PAL_D);
  name = "unchanged";
  EXPECT_FALSE(graph->SetVideoStandardByCode(19, name));
  EXPECT_FALSE(graph->SetVideoStandardByCode(-1, name));
  EXPECT_EQ(name, "unchanged");
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_PAL_D);

  EXPECT_TRUE(CCaptureGraph::IsSameStandardFamily(0, 2));
  EXPECT_FALSE(CCaptureGraph::IsSameStandardFamily(2, 3));
  EXPECT_TRUE(CCaptureGraph::IsSameStandardFamily(3, 10));
  EXPECT_FALSE(CCaptureGraph::IsSameStandardFamily(10, 11));
  EXPECT_TRUE(CCaptureGraph::IsSameStandardFamily(18, 11));
  EXPECT_FALSE(CCaptureGraph::IsSameStandardFamily(19, 18));
  EXPECT_FALSE(CCaptureGraph::IsSameStandardFamily(-1, 0));
}

TEST_F(CCaptureGraphDevicesTest, TheExternalStandardIsDetectedByFamily) {
  openStick();
  ASSERT_TRUE(graph->CreateCaptureBuilder());
  ASSERT_TRUE(graph->SelectCrossbarInput(1));
  struct Case {
    const char* standard;
    int detected;
  };
  for (const Case& c : {Case{"NTSC_M", 0}, Case{"NTSC_433", 0}, Case{"PAL_B", 1}, Case{"PAL_I", 1}, Case{"PAL_M", 1},
                        Case{"PAL_N_COMBO", 1}, Case{"SECAM_L", 2}, Case{"SECAM_K1", 2}, Case{"PAL_G", 3}}) {
    stick().setExternalSource(Input::Composite, external(c.standard));
    EXPECT_EQ(graph->DetectInputStandard(), c.detected) << c.standard;
  }
  CCaptureGraph empty;
  EXPECT_EQ(empty.DetectInputStandard(), 3) << "no decoder";
  EXPECT_EQ(empty.GetAnalogVideoDecoder(), nullptr);
}

TEST_F(CCaptureGraphDevicesTest, TheDevicesSoundPinBringsAnAudioRenderer) {
  machine().ini().setValue("TVStick", "AudioOut", "1");
  openStick();
  EXPECT_TRUE(graph->HasAudio());
  ASSERT_TRUE(graph->BuildVideoChain());
  EXPECT_EQ(graphFilterCount(L"Audio Renderers"), 1);
  EXPECT_EQ(graph->NoOp(1, 2), 0);
}

}  // namespace
}  // namespace test
