#include "KinovarTest.h"

#include <movie_control/CCountryTable.h>
#include <movie_control/CCustomTunerCore.h>
#include <movie_control/CStandardTunerCore.h>
#include <movie_control/CTunerObject.h>

#include <com/ComPtr.h>
#include <com/objbase.h>
#include <dshow/dshow.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <win32/registry.h>

#include <memory>

using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr const char* kCableKey = "SOFTWARE\\Microsoft\\TV System Services\\TVAutoTune\\TS86-1";

class TunerTest : public test::KinovarTest {
 protected:
  std::unique_ptr<CTunerObject> customTuner(int cardKind = 1) {
    return std::make_unique<CTunerObject>(std::make_unique<CCustomTunerCore>(cardKind));
  }
  // A capture filter previewed: the TV stick's pulls in its crossbar and tuner filter.
  void buildPreview(REFCLSID captureFilter = CLSID_TvStickCapture) {
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()),
              S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                               builder.putVoid()),
              S_OK);
    builder->SetFiltergraph(graph.get());
    ASSERT_EQ(CoCreateInstance(captureFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, capture.putVoid()), S_OK);
    graph->AddFilter(capture.get(), L"Video Capture");
    ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, capture.get(), nullptr, nullptr), S_OK);
  }
  Bytes lastWrite() {
    const auto data = i2cData();
    return data.empty() ? Bytes{} : data.back();
  }

  plat::ComPtr<IGraphBuilder> graph;
  plat::ComPtr<ICaptureGraphBuilder2> builder;
  plat::ComPtr<IBaseFilter> capture;
};

}  // namespace

TEST_F(TunerTest, TheChipGetsDividerControlAndBandBytesAtTheTunerAddress) {
  CCustomTunerCore core(1);
  ASSERT_EQ(core.put_VideoFrequency(471'250'000), S_OK);
  ASSERT_EQ(card().i2cWrites().size(), 1u);
  EXPECT_EQ(card().i2cWrites()[0].address, 0xC0);
  EXPECT_EQ(lastWrite(), (Bytes{0x1F, 0xE2, 0xCE, 0x08}));
  long hz = 0;
  core.get_VideoFrequency(&hz);
  EXPECT_EQ(hz, 471'250'000);

  // Band edges: 164.25 MHz is still the low band, a step above is the middle one.
  EXPECT_EQ(CCustomTunerCore::ProgrammingBytes(164'250'000)[3], 0x01);
  EXPECT_EQ(CCustomTunerCore::ProgrammingBytes(164'262'500)[3], 0x02);
  EXPECT_EQ(CCustomTunerCore::ProgrammingBytes(464'250'000)[3], 0x02);
  EXPECT_EQ(CCustomTunerCore::ProgrammingBytes(464'262'500)[3], 0x08);
  // (49.75 + 38.875) x 16 = 1418 = 0x058A
  EXPECT_EQ(CCustomTunerCore::ProgrammingBytes(49'750'000), (Bytes{0x05, 0x8A, 0xCE, 0x01}));
}

TEST_F(TunerTest, FrequenciesOutsideTheChipsRangeAreRefusedAndNothingIsWritten) {
  CCustomTunerCore core(1);
  EXPECT_EQ(core.put_VideoFrequency(48'000'000), S_OK);
  EXPECT_EQ(core.put_VideoFrequency(863'250'000), S_OK);
  EXPECT_EQ(card().i2cWrites().size(), 2u);
  EXPECT_EQ(core.put_VideoFrequency(47'999'999), E_INVALIDARG);
  EXPECT_EQ(core.put_VideoFrequency(863'250'001), E_INVALIDARG);
  EXPECT_EQ(card().i2cWrites().size(), 2u);
  long hz = 0;
  core.get_VideoFrequency(&hz);
  EXPECT_EQ(hz, 863'250'000);
}

TEST_F(TunerTest, OtherCardKindsAndAMissingDriverKeepTheFrequencyWithoutWriting) {
  CCustomTunerCore other(2);
  EXPECT_EQ(other.put_VideoFrequency(471'250'000), S_OK);
  EXPECT_TRUE(card().i2cWrites().empty());

  ASSERT_EQ(callExport("TalvikCard.dll", "DllUnregisterServer"), S_OK);
  CCustomTunerCore chip(1);
  EXPECT_EQ(chip.put_VideoFrequency(471'250'000), S_OK);
  long hz = 0;
  chip.get_VideoFrequency(&hz);
  EXPECT_EQ(hz, 471'250'000);
  EXPECT_TRUE(card().i2cWrites().empty());
}

TEST_F(TunerTest, TheCustomRecordAcceptsOnlyWhatItOffers) {
  CCustomTunerCore core(1);
  EXPECT_EQ(core.put_Mode(1), S_OK);
  EXPECT_EQ(core.put_Mode(16), E_NOTIMPL);
  EXPECT_EQ(core.put_TVFormat(0x20), S_OK);
  EXPECT_EQ(core.put_TVFormat(0x40), E_INVALIDARG);  // PAL_G is not offered
  EXPECT_EQ(core.put_ConnectInput(1), E_INVALIDARG);
  EXPECT_EQ(core.put_InputType(1, 0), E_INVALIDARG);
  long type = -1;
  EXPECT_EQ(core.get_InputType(1, &type), E_INVALIDARG);
  long signal = 0;
  EXPECT_EQ(core.SignalPresent(&signal), E_NOTIMPL);
}

TEST_F(TunerTest, ChannelsTuneThroughTheCountrysTableForTheInputType) {
  auto tuner = customTuner();
  long minimum = 0, maximum = 0;
  ASSERT_EQ(tuner->ChannelMinMax(&minimum, &maximum), S_OK);  // China, cable
  EXPECT_EQ(minimum, 1);
  EXPECT_EQ(maximum, 105);
  ASSERT_EQ(tuner->put_Channel(1, -1, -1), S_OK);
  EXPECT_EQ(card().scene().name, "Kestrel One");
  ASSERT_EQ(tuner->put_Channel(3, -1, -1), S_OK);
  EXPECT_EQ(card().scene().name, "Tussock Three");

  ASSERT_EQ(tuner->put_CountryCode(1), S_OK);
  ASSERT_EQ(tuner->put_InputType(0, 1), S_OK);  // antenna: North American air, 2-69
  ASSERT_EQ(tuner->ChannelMinMax(&minimum, &maximum), S_OK);
  EXPECT_EQ(minimum, 2);
  EXPECT_EQ(maximum, 69);
  EXPECT_EQ(tuner->put_Channel(69, -1, -1), S_OK);
  long hz = 0;
  tuner->Core().get_VideoFrequency(&hz);
  EXPECT_EQ(hz, 801'250'000);
  EXPECT_EQ(tuner->put_Channel(70, -1, -1), E_INVALIDARG);
  EXPECT_EQ(tuner->put_Channel(1, -1, -1), E_INVALIDARG);  // below the first: no read before the table
  EXPECT_EQ(tuner->put_Channel(-1000, -1, -1), E_INVALIDARG);
  tuner->Core().get_VideoFrequency(&hz);
  EXPECT_EQ(hz, 801'250'000);

  ASSERT_EQ(tuner->put_CountryCode(999), S_OK);
  EXPECT_EQ(tuner->put_Channel(2, -1, -1), E_NOTIMPL);
  EXPECT_EQ(tuner->ChannelMinMax(&minimum, &maximum), E_NOTIMPL);
}

TEST_F(TunerTest, AnOverrideWinsForItsChannelOnlyAndGoesAgain) {
  auto tuner = customTuner();
  ASSERT_EQ(tuner->put_InputType(0, 0), S_OK);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCableKey, 0, KEY_READ, &key), ERROR_SUCCESS);  // made by the input put
  RegCloseKey(key);

  ASSERT_EQ(tuner->OverrideChannel(2, 65'750'000, 0), S_OK);
  long hz = 0;
  EXPECT_TRUE(tuner->ReadOverride(2, &hz));
  EXPECT_EQ(hz, 65'750'000);
  EXPECT_FALSE(tuner->ReadOverride(3, &hz));
  ASSERT_EQ(tuner->put_Channel(2, -1, -1), S_OK);
  EXPECT_EQ(card().scene().name, "Tussock Three");
  ASSERT_EQ(tuner->put_Channel(1, -1, -1), S_OK);
  EXPECT_EQ(card().scene().name, "Kestrel One");

  EXPECT_EQ(tuner->UnoverrideChannel(2), S_OK);
  EXPECT_EQ(tuner->UnoverrideChannel(2), S_FALSE);
  ASSERT_EQ(tuner->put_Channel(2, -1, -1), S_OK);
  EXPECT_EQ(card().scene().name, "Marram Two");

  // The antenna's overrides are kept apart from the cable's.
  setOverride("SOFTWARE\\Microsoft\\TV System Services\\TVAutoTune\\TS86-0", "2", 49'750'000);
  EXPECT_FALSE(tuner->ReadOverride(2, &hz));
  ASSERT_EQ(tuner->put_InputType(0, 1), S_OK);
  EXPECT_TRUE(tuner->ReadOverride(2, &hz));
}

TEST_F(TunerTest, SetUpOnTheCardMakesACustomTunerOnCableWithTheDecoderOnPalD) {
  plat::ComPtr<IBaseFilter> capture;
  ASSERT_EQ(CoCreateInstance(CLSID_CaptureCardCapture, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, capture.putVoid()),
            S_OK);
  card().setDecoderStandard(0x1);
  auto tuner = CTunerObject::Setup(nullptr, capture.get(), 1);
  ASSERT_TRUE(tuner);
  EXPECT_EQ(tuner->Core().DeviceTuner(), nullptr);
  long mode = 0, type = -1, country = 0, space = 0;
  tuner->Core().get_Mode(&mode);
  tuner->Core().get_InputType(0, &type);
  tuner->get_CountryCode(&country);
  tuner->get_TuningSpace(&space);
  EXPECT_EQ(mode, 1);
  EXPECT_EQ(type, 0);
  EXPECT_EQ(country, 86);
  EXPECT_EQ(space, 86);
  EXPECT_EQ(card().decoderStandard(), 0x20);
}

TEST_F(TunerTest, AStandardTunerForwardsToTheDevicesTunerFilter) {
  ASSERT_NO_FATAL_FAILURE(buildPreview());

  auto tuner = CTunerObject::Setup(builder.get(), capture.get(), 0);
  ASSERT_TRUE(tuner);
  IAMTVTuner* device = tuner->Core().DeviceTuner();
  ASSERT_NE(device, nullptr);
  long country = 0;
  device->get_CountryCode(&country);
  EXPECT_EQ(country, 86);
  const auto writesBefore = machine().service<plat::TvStickControl>().writes().size();
  ASSERT_EQ(tuner->put_Channel(2, -1, -1), S_OK);
  const auto writes = machine().service<plat::TvStickControl>().writes();
  ASSERT_GT(writes.size(), writesBefore);
  // The device's tuner programs its own chip: four bytes to the tuner's address.
  EXPECT_EQ(writes.back().kind, plat::TvStickControl::Write::Kind::I2C);
  EXPECT_EQ(writes.back().address, 0xC0);
  EXPECT_EQ(writes.back().data.size(), 4u);
  long channel = 0, video = 0, audio = 0;
  device->get_Channel(&channel, &video, &audio);
  EXPECT_EQ(channel, 2);
  EXPECT_TRUE(card().i2cWrites().empty());
}

TEST_F(TunerTest, AStandardTunerTakesAnOverriddenChannelsFrequencyThroughItsProperties) {
  ASSERT_NO_FATAL_FAILURE(buildPreview());
  auto tuner = CTunerObject::Setup(builder.get(), capture.get(), 0);
  ASSERT_TRUE(tuner);
  ASSERT_NE(tuner->Core().DeviceTuner(), nullptr);

  auto& stick = machine().service<plat::TvStickCapture>();
  const auto& stations = stick.control().broadcast().stations();
  ASSERT_GE(stations.size(), 2u);
  const long elsewhere = static_cast<long>(stations[1].carrierHz);
  ASSERT_EQ(tuner->OverrideChannel(stations[0].scene.number, elsewhere, 0), S_OK);
  ASSERT_EQ(tuner->put_Channel(stations[0].scene.number, -1, -1), S_OK);
  EXPECT_EQ(stick.scene().name, stations[1].scene.name);
  EXPECT_EQ(tuner->Core().put_VideoFrequency(900'000'000), E_FAIL);  // beyond what the chip reports
}

// The custom core asks the card's video decoder whether it holds a picture: locked on a
// station, not between stations; without the capture filter there is nobody to ask.
TEST_F(TunerTest, TheCustomCoreReadsTheLockOfTheCardsVideoDecoder) {
  ASSERT_NO_FATAL_FAILURE(buildPreview(CLSID_CaptureCardCapture));
  auto tuner = CTunerObject::Setup(builder.get(), capture.get(), 1);
  ASSERT_TRUE(tuner);
  auto* core = dynamic_cast<CCustomTunerCore*>(&tuner->Core());
  ASSERT_NE(core, nullptr);

  long locked = -1;
  ASSERT_EQ(tuner->put_Channel(2, -1, -1), S_OK);
  ASSERT_EQ(core->get_HorizontalLocked(&locked), S_OK);
  EXPECT_EQ(locked, 1);
  ASSERT_EQ(core->put_VideoFrequency(300'250'000), S_OK);  // no station there
  ASSERT_EQ(core->get_HorizontalLocked(&locked), S_OK);
  EXPECT_EQ(locked, 0);
  EXPECT_EQ(core->get_HorizontalLocked(nullptr), E_POINTER);

  CCustomTunerCore alone(1);
  EXPECT_EQ(alone.get_HorizontalLocked(&locked), E_FAIL);
}

// At the top of each plan: its last channel tunes to the plan's last frequency; the next
// one is refused before anything reaches the chip, so nothing past the plan is read.
class ChannelTableFaults : public TunerTest {};

TEST_F(ChannelTableFaults, TheChannelAfterAPlansLastIsRefusedWithoutTuning) {
  auto tuner = customTuner();
  const struct {
    long country;
    long inputType;  // 0 cable, 1 antenna
  } plans[] = {{86, 0}, {86, 1}, {1, 0}, {1, 1}, {81, 0}, {81, 1}, {49, 0}, {852, 1}};
  for (const auto& plan : plans) {
    ASSERT_EQ(tuner->put_CountryCode(plan.country), S_OK);
    ASSERT_EQ(tuner->put_InputType(0, plan.inputType), S_OK);
    const auto record = CCountryTable::CountryRecord(plan.country);
    ASSERT_TRUE(record);
    const auto table = plan.inputType ? record->broadcastFrequencies : record->cableFrequencies;
    long first = 0, last = 0;
    ASSERT_EQ(tuner->ChannelMinMax(&first, &last), S_OK);
    ASSERT_EQ(static_cast<std::size_t>(last - first + 1), table.size());

    const std::size_t writes = card().i2cWrites().size();
    const HRESULT lastTuned = tuner->put_Channel(last, -1, -1);
    long hz = 0;
    tuner->Core().get_VideoFrequency(&hz);
    // A plan may leave its last numbers unused, or reach above what the chip tunes.
    if (table.back() >= CCustomTunerCore::kLowestFrequency && table.back() <= CCustomTunerCore::kHighestFrequency) {
      EXPECT_EQ(lastTuned, S_OK) << plan.country;
      EXPECT_EQ(hz, table.back()) << plan.country;
      EXPECT_EQ(card().i2cWrites().size(), writes + 1) << plan.country;
    }
    const std::size_t before = card().i2cWrites().size();
    EXPECT_EQ(tuner->put_Channel(last + 1, -1, -1), E_INVALIDARG) << plan.country;
    EXPECT_EQ(tuner->put_Channel(last + 1000, -1, -1), E_INVALIDARG) << plan.country;
    EXPECT_EQ(card().i2cWrites().size(), before) << plan.country << ": the chip was asked to tune";
    long after = 0;
    tuner->Core().get_VideoFrequency(&after);
    EXPECT_EQ(after, hz) << plan.country;
  }
}
