// The control called by name through IDispatch in a container, as outside programs use it.
#include "MovieCtlTest.h"

#include <com/ComPtr.h>
#include <com/objbase.h>
#include <win32/user.h>
#include <winmm/mmsystem.h>
#include <com/oleauto.h>
#include <movie_control/QXMovie.h>
#include <support/FrameStepping.h>

#include <algorithm>

using Lines = std::vector<std::string>;

namespace test {
namespace {

class MovieCtlCallsTest : public MovieCtlTest {};

// The speakers' control of that type on the sound card's mixer; its id is 0 when there
// is none.
MIXERCONTROLA speakerControl(HMIXER mixer, DWORD type) {
  MIXERLINEA line{};
  line.cbStruct = sizeof line;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE);
  MIXERCONTROLA control{};
  MIXERLINECONTROLSA controls{};
  controls.cbStruct = sizeof controls;
  controls.dwLineID = line.dwLineID;
  controls.dwControlType = type;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof control;
  controls.pamxctrl = &control;
  if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer), &controls,
                            MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) != MMSYSERR_NOERROR)
    control.dwControlID = 0;
  return control;
}

// The details of one control of the speakers, one value per item (one for a switch).
MIXERCONTROLDETAILS speakerDetails(const MIXERCONTROLA& control, std::vector<MIXERCONTROLDETAILS_BOOLEAN>& values) {
  values.resize(std::max<DWORD>(control.cMultipleItems, 1));
  MIXERCONTROLDETAILS details{};
  details.cbStruct = sizeof details;
  details.dwControlID = control.dwControlID;
  details.cChannels = 1;
  details.cMultipleItems = control.cMultipleItems;
  details.cbDetails = sizeof(MIXERCONTROLDETAILS_BOOLEAN);
  details.paDetails = values.data();
  return details;
}

// The values of the speakers' control of that type; none without the control.
std::vector<long> speakerValues(DWORD type) {
  HMIXER mixer = nullptr;
  if (mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return {};
  const MIXERCONTROLA control = speakerControl(mixer, type);
  std::vector<MIXERCONTROLDETAILS_BOOLEAN> values;
  MIXERCONTROLDETAILS details = speakerDetails(control, values);
  if (!control.dwControlID || mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                                                      MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR)
    values.clear();
  mixerClose(mixer);
  std::vector<long> out;
  for (const auto& value : values) out.push_back(value.fValue);
  return out;
}

// Sets every item of the speakers' control of that type, as a user would in the mixer.
bool setSpeakerItems(DWORD type, long value) {
  HMIXER mixer = nullptr;
  if (mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return false;
  const MIXERCONTROLA control = speakerControl(mixer, type);
  std::vector<MIXERCONTROLDETAILS_BOOLEAN> values;
  MIXERCONTROLDETAILS details = speakerDetails(control, values);
  for (auto& item : values) item.fValue = value;
  const bool set = control.dwControlID && mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                                                                 MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR;
  mixerClose(mixer);
  return set;
}

bool speakersMuted() { return speakerValues(MIXERCONTROL_CONTROLTYPE_MUTE) == std::vector<long>{1}; }

}  // namespace

TEST_F(MovieCtlCallsTest, TheTypeLibraryNamesTheControlItsEventsAndItsDispatchIds) {
  EXPECT_EQ(host->ClassName(), "Kinovar Class");
  EXPECT_EQ(host->EventInterfaceName(), "_IMovieCtlEvents");
  plat::ComPtr<ITypeLib> library;
  ASSERT_EQ(LoadRegTypeLib(LIBID_QXMOVIELib, 1, 0, 0, library.put()), S_OK);
  BSTR name = nullptr, doc = nullptr;
  library->GetDocumentation(-1, &name, &doc, nullptr, nullptr);
  EXPECT_EQ(std::wstring(name), L"QXMOVIELib");
  EXPECT_EQ(std::wstring(doc), L"Kinovar 1.0 Type Library");
  SysFreeString(name);
  SysFreeString(doc);

  plat::ComPtr<ITypeInfo> info;
  ASSERT_EQ(library->GetTypeInfoOfGuid(IID_IMovieCtl, info.put()), S_OK);
  const struct {
    const wchar_t* name;
    MEMBERID id;
  } members[] = {{L"Init", 1}, {L"channel", 16}, {L"MinContrast", 40}, {L"SharpnessFlags", 62}, {L"Mute", 74},
                 {L"ShowSetupDialog", 67}, {L"DefaultHue", 48}};
  for (const auto& member : members) {
    std::wstring text = member.name;
    LPOLESTR names[] = {text.data()};
    MEMBERID id = 0;
    ASSERT_EQ(info->GetIDsOfNames(names, 1, &id), S_OK);
    EXPECT_EQ(id, member.id);
  }
  EXPECT_EQ(run("get Nothing"), "get Nothing -> unknown name 0x80020006");
}

TEST_F(MovieCtlCallsTest, ChannelChangesFireTheirEventsAndChangeThePicture) {
  EXPECT_EQ(run("get CanCapture"), "get CanCapture -> 0 (0x00000000)");
  EXPECT_EQ(run("get Channel"), "get Channel -> - (0x80004005)");
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  EXPECT_EQ(run("call Init"), "call Init -> 0x00000001");  // once per control
  EXPECT_EQ(run("get CanCapture"), "get CanCapture -> 1 (0x00000000)");
  EXPECT_EQ(run("get CanTune"), "get CanTune -> 1 (0x00000000)");
  ASSERT_EQ(run("call Play"), "call Play -> 0x00000000");
  EXPECT_EQ(run("get MinChannel"), "get MinChannel -> 1 (0x00000000)");
  EXPECT_EQ(run("get MaxChannel"), "get MaxChannel -> 105 (0x00000000)");

  EXPECT_EQ(run("put Channel 2"), "put Channel 2 -> 0x00000000");
  EXPECT_EQ(takeEvents(), (Lines{"event OnChannelChanging(1, 2)", "event OnChannelChanged(2)"}));
  ASSERT_TRUE(ShowFrames(machine(), surface(), 2));
  EXPECT_TRUE(near(backgroundPixel(), 2));
  EXPECT_EQ(run("put Channel 3"), "put Channel 3 -> 0x00000000");
  ASSERT_TRUE(ShowFrames(machine(), surface(), 2));
  EXPECT_TRUE(near(backgroundPixel(), 3));
  takeEvents();

  // The same channel again tunes again, with both events.
  EXPECT_EQ(run("put Channel 3"), "put Channel 3 -> 0x00000000");
  EXPECT_EQ(takeEvents(), (Lines{"event OnChannelChanging(3, 3)", "event OnChannelChanged(3)"}));
  // Outside the table's range: refused before anything is fired or tuned.
  EXPECT_EQ(run("put Channel 106"), "put Channel 106 -> 0x80070057");
  EXPECT_EQ(run("put Channel 0"), "put Channel 0 -> 0x80070057");
  EXPECT_EQ(run("put Channel -5"), "put Channel -5 -> 0x80070057");
  EXPECT_TRUE(takeEvents().empty());
  EXPECT_EQ(run("get Channel"), "get Channel -> 3 (0x00000000)");

  // Back to the previous channel, and back again.
  EXPECT_EQ(run("call SetPrevChannel"), "call SetPrevChannel -> 0x00000000");
  EXPECT_EQ(run("get Channel"), "get Channel -> 3 (0x00000000)");  // the previous of 3 was 3
  run("put Channel 1");
  takeEvents();
  EXPECT_EQ(run("call SetPrevChannel"), "call SetPrevChannel -> 0x00000000");
  EXPECT_EQ(takeEvents(), (Lines{"event OnChannelChanging(1, 3)", "event OnChannelChanged(3)"}));
  EXPECT_EQ(run("call SetPrevChannel"), "call SetPrevChannel -> 0x00000000");
  EXPECT_EQ(run("get Channel"), "get Channel -> 1 (0x00000000)");
}

TEST_F(MovieCtlCallsTest, TheInputTypeChoosesThePlanAndAScanComesBackToTheChannel) {
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  EXPECT_EQ(run("get InputType"), "get InputType -> 0 (0x00000000)");
  EXPECT_EQ(run("put InputType 1"), "put InputType 1 -> 0x00000000");
  EXPECT_EQ(run("get MaxChannel"), "get MaxChannel -> 68 (0x00000000)");
  EXPECT_EQ(run("get TuningSpace"), "get TuningSpace -> 86 (0x00000000)");
  EXPECT_EQ(run("put InputType 0"), "put InputType 0 -> 0x00000000");
  EXPECT_EQ(run("get TunerMode"), "get TunerMode -> 1 (0x00000000)");
  EXPECT_EQ(run("put TunerMode 16"), "put TunerMode 16 -> 0x80004001");

  run("put Channel 3");
  const auto writesBefore = card().i2cWrites().size();
  EXPECT_EQ(run("call ScanAndStoreTune"), "call ScanAndStoreTune -> 0x00000000");
  // Every channel of the cable plan the chip reaches (94 of 105: DS58 and up lie above
  // 863.25 MHz), then back to channel 3.
  EXPECT_EQ(card().i2cWrites().size() - writesBefore, 95u);
  EXPECT_EQ(run("get Channel"), "get Channel -> 3 (0x00000000)");
  EXPECT_EQ(card().scene().name, "Tussock Three");
  EXPECT_EQ(run("call AutoTune 3 &"), "call AutoTune 3 & -> 0 0x00000000");
}

TEST_F(MovieCtlCallsTest, ARegistryOverrideOfAChannelIsHonoured) {
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  run("call Play");
  setOverride("SOFTWARE\\Microsoft\\TV System Services\\TVAutoTune\\TS86-1", "2", 65'750'000);
  EXPECT_EQ(run("put Channel 2"), "put Channel 2 -> 0x00000000");
  EXPECT_EQ(run("get IsOverrideChannel"), "get IsOverrideChannel -> 1 (0x00000000)");
  EXPECT_EQ(run("get VideoFrequency"), "get VideoFrequency -> 65750000 (0x00000000)");
  ASSERT_TRUE(ShowFrames(machine(), surface(), 2));
  EXPECT_TRUE(near(backgroundPixel(), 3));
  EXPECT_EQ(run("call UnoverrideChannel 2"), "call UnoverrideChannel 2 -> 0x00000000");
  EXPECT_EQ(run("call UnoverrideChannel 2"), "call UnoverrideChannel 2 -> 0x00000001");
  EXPECT_EQ(run("call OverrideChannel 1 57750000 0"), "call OverrideChannel 1 57750000 0 -> 0x00000000");
  run("put Channel 1");
  EXPECT_EQ(run("get VideoFrequency"), "get VideoFrequency -> 57750000 (0x00000000)");
}

TEST_F(MovieCtlCallsTest, PicturePropertiesFollowTheirDispatchIdsAndChangeThePicture) {
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  const auto range = card().procAmpRange(0);
  EXPECT_EQ(run("get MaxBrightness"), "get MaxBrightness -> " + std::to_string(range.max) + " (0x00000000)");
  EXPECT_EQ(run("get DefaultBrightness"), "get DefaultBrightness -> " + std::to_string(range.def) + " (0x00000000)");
  EXPECT_EQ(run("get MinHue"), "get MinHue -> " + std::to_string(card().procAmpRange(2).min) + " (0x00000000)");
  EXPECT_EQ(run("call GetVideoRange 1 & & & & &"),
            "call GetVideoRange 1 & & & & & -> 0 127 1 64 2 0x00000000");

  run("call Play");
  run("put Channel 2");
  ASSERT_TRUE(ShowFrames(machine(), surface(), 2));
  const std::uint32_t before = backgroundPixel();
  EXPECT_EQ(run("put Brightness " + std::to_string(range.max)), "put Brightness 255 -> 0x00000000");
  EXPECT_EQ(card().procAmp(0), range.max);
  ASSERT_TRUE(ShowFrames(machine(), surface(), 2));
  EXPECT_NE(backgroundPixel(), before);
  EXPECT_EQ(run("get Brightness"), "get Brightness -> 255 (0x00000000)");
  EXPECT_EQ(run("put Brightness 256"), "put Brightness 256 -> 0x80070057");
  EXPECT_EQ(run("put ContrastFlags 2"), "put ContrastFlags 2 -> 0x00000000");
  EXPECT_EQ(run("call SetVideoProperty 7 0 2"), "call SetVideoProperty 7 0 2 -> 0x80070490");
}

TEST_F(MovieCtlCallsTest, FrameSizesAndStandardsGoThroughTheGraph) {
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  run("call Play");
  EXPECT_EQ(run("call SetVideoFrameSize 700 5000"), "call SetVideoFrameSize 700 5000 -> 0x00000000");
  EXPECT_EQ(run("get FrameWidth"), "get FrameWidth -> 704 (0x00000000)");
  EXPECT_EQ(run("get FrameHeight"), "get FrameHeight -> 576 (0x00000000)");
  EXPECT_EQ(run("put FrameWidth 320"), "put FrameWidth 320 -> 0x00000000");
  EXPECT_EQ(run("get FrameWidth"), "get FrameWidth -> 320 (0x00000000)");
  ASSERT_TRUE(ShowFrames(machine(), surface(), 1));  // running again after the change

  EXPECT_EQ(run("get AnalogVideoFormat"), "get AnalogVideoFormat -> \"None\" (0x00000000)");
  EXPECT_EQ(run("put AnalogVideoFormat \"pal_i\""), "put AnalogVideoFormat \"pal_i\" -> 0x00000000");
  EXPECT_EQ(card().decoderStandard(), 0x100);
  EXPECT_EQ(run("get AnalogVideoFormat"), "get AnalogVideoFormat -> \"PAL_I\" (0x00000000)");
  EXPECT_EQ(run("put AnalogVideoFormat \"PAL\""), "put AnalogVideoFormat \"PAL\" -> 0x80004005");
}

TEST_F(MovieCtlCallsTest, ADesigningContainerGetsSFalseAndNothingChanges) {
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  run("put Channel 2");
  takeEvents();
  run("design on");
  for (const char* command : {"put Channel 3", "put Volume 100", "put FrameWidth 320", "put Mute 1",
                              "put AnalogVideoFormat \"PAL_I\"", "put CountryCode 1", "put FullScreenMode -1"}) {
    const std::string result = run(command);
    EXPECT_EQ(result.substr(result.size() - 10), "0x00000001") << command;
  }
  EXPECT_EQ(run("get Channel"), "get Channel -> 0 (0x00000001)");
  EXPECT_EQ(run("get Volume"), "get Volume -> 0 (0x00000001)");
  EXPECT_TRUE(takeEvents().empty());
  // Entries without the design rule still answer.
  EXPECT_EQ(run("get CanCapture"), "get CanCapture -> 1 (0x00000000)");
  run("design off");
  EXPECT_EQ(run("get Channel"), "get Channel -> 2 (0x00000000)");
  EXPECT_EQ(run("get CountryCode"), "get CountryCode -> 86 (0x00000000)");
}

TEST_F(MovieCtlCallsTest, VolumeIsClampedAndItsEventsCarryTheValueSet) {
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  EXPECT_EQ(run("get MaxVolume"), "get MaxVolume -> 65535 (0x00000000)");
  EXPECT_EQ(run("get MinVolume"), "get MinVolume -> 0 (0x00000000)");
  EXPECT_EQ(run("get VolumeMetric"), "get VolumeMetric -> 1310 (0x00000000)");
  EXPECT_EQ(run("put VolumeMetric 5"), "put VolumeMetric 5 -> 0x00000001");
  run("put Volume 30000");
  takeEvents();
  EXPECT_EQ(run("put Volume 70000"), "put Volume 70000 -> 0x00000000");
  EXPECT_EQ(takeEvents(), (Lines{"event OnVolumeChanging(30000, 65535)", "event OnVolumeChanged(65535)"}));
  EXPECT_EQ(run("get Volume"), "get Volume -> 65535 (0x00000000)");
  EXPECT_EQ(run("put Volume -3"), "put Volume -3 -> 0x00000000");
  EXPECT_EQ(run("get Volume"), "get Volume -> 0 (0x00000000)");
  takeEvents();
  EXPECT_FALSE(speakersMuted());
  EXPECT_EQ(run("put Mute 1"), "put Mute 1 -> 0x00000000");
  EXPECT_EQ(run("get Mute"), "get Mute -> 1 (0x00000000)");
  EXPECT_TRUE(speakersMuted());
  EXPECT_EQ(run("put Mute 0"), "put Mute 0 -> 0x00000000");
  EXPECT_EQ(run("get Mute"), "get Mute -> 0 (0x00000000)");
  EXPECT_FALSE(speakersMuted());
  SendMessageA(host->ControlWindow(), 0x8002, 1234, 0);
  EXPECT_EQ(takeEvents(), (Lines{"event OnVolumeChanged(1234)"}));
}

TEST_F(MovieCtlCallsTest, BadCallsAreRefusedWithTheirErrors) {
  EXPECT_EQ(run("call Play"), "call Play -> 0x80004005");
  EXPECT_EQ(run("put Channel 2"), "put Channel 2 -> 0x80004005");
  EXPECT_EQ(run("get FullScreenMode"), "get FullScreenMode -> - (0x80004005)");
  EXPECT_EQ(run("call GetVideoRange 0 & & & & &"), "call GetVideoRange 0 & & & & & -> 0 0 0 0 0 0x80004005");
  EXPECT_EQ(run("call Init"), "call Init -> 0x00000000");
  EXPECT_EQ(run("put Channel \"two\""), "put Channel \"two\" -> 0x80020005");
  EXPECT_EQ(run("call AutoTune"), "call AutoTune -> 0x8002000E");
  EXPECT_EQ(run("call SignalPresent"), "call SignalPresent -> 0x80004001");
  EXPECT_EQ(run("put CountryCode 999"), "put CountryCode 999 -> 0x00000000");
  EXPECT_EQ(run("put Channel 2"), "put Channel 2 -> 0x80004001");  // no table for the country
  EXPECT_EQ(run("call SetPrevChannel"), "call SetPrevChannel -> 0x00000001");
}

TEST(MovieCtlWithoutCardTest, TheControlStaysUsableWithAClearError) {
  TestMachine machine;
  CoInitialize(nullptr);
  {
    ASSERT_EQ(KinovarTest::callExport("Kinovar.ocx", "DllRegisterServer"), S_OK);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "KinovarBareContainer";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "KinovarBareContainer", "Container", WS_OVERLAPPEDWINDOW, 0, 0, 360, 300, nullptr,
                                  nullptr, nullptr, nullptr);
    CControlHost host(window, [](const std::string&) {});
    ASSERT_EQ(host.Create(CLSID_MovieCtl, RECT{0, 0, 320, 240}), S_OK);
    EXPECT_EQ(host.Execute("call Init"), "call Init -> 0x80004005");
    EXPECT_EQ(host.Execute("get CanCapture"), "get CanCapture -> 0 (0x00000000)");
    EXPECT_EQ(host.Execute("get CanTune"), "get CanTune -> 0 (0x00000000)");
    EXPECT_EQ(host.Execute("put Channel 2"), "put Channel 2 -> 0x80004005");
    EXPECT_EQ(host.Execute("get Volume"), "get Volume -> 0 (0x00000001)");
    host.Close();
    DestroyWindow(window);
  }
  CoUninitialize();
}

}  // namespace test

namespace test {
namespace {

// A sound card whose speakers mix their sources through a mixer control and choose one
// of them with a multiplexer.
class SpeakerSelectsTest : public MovieCtlTest {
 protected:
  void SetUp() override {
    machine().ini().setValue("SoundCard", "Dst0", "Volume Control, Speakers, 2, Volume Mute Mixer Mux");
    MovieCtlTest::SetUp();
  }
};

// Switching the speakers' line off and on works every item of their mixer as well as their
// mute; the multiplexer, which always takes one source, keeps the one it has.
TEST_F(SpeakerSelectsTest, MuteSwitchesTheSpeakersMixerItemsWithTheirMute) {
  // Mixed sources the user had switched off come on with the control.
  ASSERT_EQ(speakerValues(MIXERCONTROL_CONTROLTYPE_MIXER), std::vector<long>(5, 1));
  ASSERT_TRUE(setSpeakerItems(MIXERCONTROL_CONTROLTYPE_MIXER, 0));
  const std::vector<long> mux = speakerValues(MIXERCONTROL_CONTROLTYPE_MUX);
  ASSERT_EQ(mux.size(), 5u);

  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  EXPECT_EQ(speakerValues(MIXERCONTROL_CONTROLTYPE_MIXER), std::vector<long>(5, 1));
  EXPECT_FALSE(speakersMuted());

  EXPECT_EQ(run("put Mute 1"), "put Mute 1 -> 0x00000000");
  EXPECT_TRUE(speakersMuted());
  EXPECT_EQ(speakerValues(MIXERCONTROL_CONTROLTYPE_MIXER), std::vector<long>(5, 0));
  EXPECT_EQ(speakerValues(MIXERCONTROL_CONTROLTYPE_MUX), mux);

  EXPECT_EQ(run("put Mute 0"), "put Mute 0 -> 0x00000000");
  EXPECT_FALSE(speakersMuted());
  EXPECT_EQ(speakerValues(MIXERCONTROL_CONTROLTYPE_MIXER), std::vector<long>(5, 1));
  EXPECT_EQ(speakerValues(MIXERCONTROL_CONTROLTYPE_MUX), mux);
}

}  // namespace
}  // namespace test

namespace test {
namespace {

class ChannelRangeFaults : public MovieCtlTest {};

// Past the top of the table the control refuses the channel before it fires an event or
// the tuner is asked for anything.
TEST_F(ChannelRangeFaults, AChannelPastTheTopIsRefusedBeforeTheTunerIsAsked) {
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  ASSERT_EQ(run("put Channel 3"), "put Channel 3 -> 0x00000000");
  takeEvents();
  ASSERT_EQ(run("get MaxChannel"), "get MaxChannel -> 105 (0x00000000)");
  const std::size_t writes = card().i2cWrites().size();
  for (const char* channel : {"106", "107", "1000000"})
    EXPECT_EQ(run(std::string("put Channel ") + channel), std::string("put Channel ") + channel + " -> 0x80070057");
  EXPECT_TRUE(takeEvents().empty());
  EXPECT_EQ(card().i2cWrites().size(), writes);
  EXPECT_EQ(run("get Channel"), "get Channel -> 3 (0x00000000)");
}

}  // namespace
}  // namespace test
