#include "TestFilters.h"

#include <support/TestMachine.h>

#include <gtest/gtest.h>

using dstest::firstPin;
using dstest::PushSource;
using dstest::SinkFilter;
using dstest::videoType;
using plat::ComPtr;

namespace {

class PinConnectionTest : public test::MachineTest {
 protected:
  ComPtr<IBaseFilter> adopt(CBaseFilter* filter) { return ComPtr<IBaseFilter>(filter); }
};

// How many references the filter holds now (AddRef then Release reports it).
ULONG refs(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

}  // namespace

TEST_F(PinConnectionTest, TypesBothSidesAcceptConnect) {
  auto* source = new PushSource(videoType(MEDIASUBTYPE_YUY2), 1);
  auto* sink = new SinkFilter({MEDIASUBTYPE_YUY2});
  ComPtr<IBaseFilter> a = adopt(source), b = adopt(sink);
  IPin* out = firstPin(source, PINDIR_OUTPUT);
  IPin* in = firstPin(sink, PINDIR_INPUT);
  ASSERT_EQ(out->Connect(in, nullptr), S_OK);

  ComPtr<IPin> peer;
  ASSERT_EQ(out->ConnectedTo(peer.put()), S_OK);
  EXPECT_EQ(peer.get(), in);
  ASSERT_EQ(in->ConnectedTo(peer.put()), S_OK);
  EXPECT_EQ(peer.get(), out);
  AM_MEDIA_TYPE type{};
  ASSERT_EQ(in->ConnectionMediaType(&type), S_OK);
  EXPECT_EQ(type.subtype, MEDIASUBTYPE_YUY2);
  FreeMediaType(type);
  EXPECT_EQ(out->Connect(in, nullptr), VFW_E_ALREADY_CONNECTED);

  EXPECT_EQ(out->Disconnect(), S_OK);
  EXPECT_EQ(in->Disconnect(), S_OK);
  EXPECT_EQ(in->Disconnect(), S_FALSE);
  EXPECT_EQ(in->ConnectedTo(peer.put()), VFW_E_NOT_CONNECTED);
}

TEST_F(PinConnectionTest, RefusedTypesLeaveBothPinsUnconnected) {
  auto* source = new PushSource(videoType(MEDIASUBTYPE_YUY2), 1);
  auto* sink = new SinkFilter({MEDIASUBTYPE_RGB24});
  ComPtr<IBaseFilter> a = adopt(source), b = adopt(sink);
  IPin* out = firstPin(source, PINDIR_OUTPUT);
  IPin* in = firstPin(sink, PINDIR_INPUT);

  EXPECT_EQ(out->Connect(in, nullptr), VFW_E_NO_ACCEPTABLE_TYPES);
  const CMediaType yuy2 = videoType(MEDIASUBTYPE_YUY2);
  EXPECT_EQ(out->Connect(in, &yuy2), VFW_E_TYPE_NOT_ACCEPTED);
  EXPECT_FALSE(source->GetPin(0)->IsConnected());
  EXPECT_FALSE(sink->GetPin(0)->IsConnected());
  EXPECT_EQ(in->QueryAccept(&yuy2), S_FALSE);
  const CMediaType rgb = videoType(MEDIASUBTYPE_RGB24);
  EXPECT_EQ(in->QueryAccept(&rgb), S_OK);
}

TEST_F(PinConnectionTest, DirectionsAndStatesAreChecked) {
  auto* source = new PushSource(videoType(MEDIASUBTYPE_YUY2), 1);
  auto* other = new PushSource(videoType(MEDIASUBTYPE_YUY2), 1);
  auto* sink = new SinkFilter();
  ComPtr<IBaseFilter> a = adopt(source), b = adopt(other), c = adopt(sink);
  IPin* out = firstPin(source, PINDIR_OUTPUT);
  EXPECT_EQ(out->Connect(firstPin(other, PINDIR_OUTPUT), nullptr), VFW_E_INVALID_DIRECTION);

  IPin* in = firstPin(sink, PINDIR_INPUT);
  ASSERT_EQ(out->Connect(in, nullptr), S_OK);
  ASSERT_EQ(sink->Pause(), S_OK);
  EXPECT_EQ(in->Disconnect(), VFW_E_NOT_STOPPED);
  ASSERT_EQ(sink->Stop(), S_OK);
  EXPECT_EQ(in->Disconnect(), S_OK);
  EXPECT_EQ(out->Disconnect(), S_OK);
}

TEST_F(PinConnectionTest, PinsLiveThroughTheirFilterAndReportIt) {
  auto* sink = new SinkFilter();
  ComPtr<IBaseFilter> filter = adopt(sink);
  const ULONG before = refs(filter.get());
  ComPtr<IPin> pin;
  ASSERT_EQ(filter->FindPin(L"In", pin.put()), S_OK);
  EXPECT_EQ(refs(filter.get()), before + 1);
  PIN_INFO info{};
  ASSERT_EQ(pin->QueryPinInfo(&info), S_OK);
  EXPECT_EQ(info.pFilter, filter.get());
  EXPECT_STREQ(info.achName, L"In");
  EXPECT_EQ(info.dir, PINDIR_INPUT);
  info.pFilter->Release();
  EXPECT_EQ(filter->FindPin(L"Nothing", pin.put()), VFW_E_NOT_FOUND);
  EXPECT_EQ(refs(filter.get()), before);
}

TEST_F(PinConnectionTest, PinEnumerationGoesOutOfSyncWhenPinsChange) {
  class Growing : public CSource {
   public:
    Growing() : CSource("Growing", nullptr, GUID_NULL) {}
    using CSource::IncrementPinVersion;
  };
  auto* growing = new Growing();
  ComPtr<IBaseFilter> filter = adopt(growing);
  ComPtr<IEnumPins> pins;
  ASSERT_EQ(filter->EnumPins(pins.put()), S_OK);
  growing->IncrementPinVersion();
  IPin* pin = nullptr;
  ULONG fetched = 0;
  EXPECT_EQ(pins->Next(1, &pin, &fetched), VFW_E_ENUM_OUT_OF_SYNC);
  ASSERT_EQ(pins->Reset(), S_OK);
  EXPECT_EQ(pins->Next(1, &pin, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
}

TEST_F(PinConnectionTest, MediaTypesAreEnumeratedAsTaskMemory) {
  auto* sink = new SinkFilter({MEDIASUBTYPE_YUY2, MEDIASUBTYPE_RGB24});
  ComPtr<IBaseFilter> filter = adopt(sink);
  ComPtr<IEnumMediaTypes> types;
  ASSERT_EQ(firstPin(sink, PINDIR_INPUT)->EnumMediaTypes(types.put()), S_OK);
  AM_MEDIA_TYPE* got[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(types->Next(3, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(got[0]->subtype, MEDIASUBTYPE_YUY2);
  EXPECT_EQ(got[1]->subtype, MEDIASUBTYPE_RGB24);
  DeleteMediaType(got[0]);
  DeleteMediaType(got[1]);
  types->Reset();
  EXPECT_EQ(types->Skip(2), S_OK);
  EXPECT_EQ(types->Skip(1), S_FALSE);
}
