#include <dshow/baseclasses/FilterRegistration.h>
#include <dshow/baseclasses/streams.h>

#include <support/TestMachine.h>

#include <gtest/gtest.h>

using plat::FilterRegistration;
using plat::RegisteredFilter;

namespace {

// {7D3E8C50-1F0A-4C62-9A7B-2B1D55E0A001}
const GUID kTestFilter = {0x7D3E8C50, 0x1F0A, 0x4C62, {0x9A, 0x7B, 0x2B, 0x1D, 0x55, 0xE0, 0xA0, 0x01}};

const AMOVIESETUP_MEDIATYPE kInTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2}};
const AMOVIESETUP_MEDIATYPE kOutTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24}, {&MEDIATYPE_Video, &GUID_NULL}};
const AMOVIESETUP_PIN kPins[] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, L"Output", 1, kInTypes},
    {L"Output", FALSE, TRUE, FALSE, TRUE, &GUID_NULL, L"Input", 2, kOutTypes},
};
const AMOVIESETUP_FILTER kSetup = {&kTestFilter, L"Test Converter", MERIT_NORMAL, 2, kPins};

class RegistrationTest : public test::MachineTest {};

}  // namespace

TEST_F(RegistrationTest, AFilterWrittenToACategoryReadsBackTheSame) {
  ASSERT_EQ(FilterRegistration::registerFilter(RegisteredFilter::fromSetup(kSetup), CLSID_LegacyAmFilterCategory), S_OK);
  const auto filters = FilterRegistration::filtersIn(CLSID_LegacyAmFilterCategory);
  ASSERT_EQ(filters.size(), 1u);
  const RegisteredFilter& filter = filters[0];
  EXPECT_EQ(filter.clsid, kTestFilter);
  EXPECT_EQ(filter.name, L"Test Converter");
  EXPECT_EQ(filter.merit, static_cast<DWORD>(MERIT_NORMAL));
  ASSERT_EQ(filter.pins.size(), 2u);
  EXPECT_FALSE(filter.pins[0].output);
  EXPECT_TRUE(filter.pins[1].output);
  EXPECT_TRUE(filter.pins[1].many);
  ASSERT_EQ(filter.pins[1].types.size(), 2u);
  EXPECT_EQ(filter.pins[1].types[0].second, MEDIASUBTYPE_RGB24);
  EXPECT_TRUE(filter.acceptsInput(MEDIATYPE_Video, MEDIASUBTYPE_YUY2));
  EXPECT_FALSE(filter.acceptsInput(MEDIATYPE_Video, MEDIASUBTYPE_RGB24));
  EXPECT_TRUE(filter.hasOutputs());

  ASSERT_EQ(FilterRegistration::unregisterFilter(kTestFilter, CLSID_LegacyAmFilterCategory), S_OK);
  EXPECT_TRUE(FilterRegistration::filtersIn(CLSID_LegacyAmFilterCategory).empty());
  EXPECT_EQ(FilterRegistration::unregisterFilter(kTestFilter, CLSID_LegacyAmFilterCategory), S_OK);
}

TEST_F(RegistrationTest, DamagedFilterDataIsRefused) {
  const std::vector<BYTE> data = RegisteredFilter::fromSetup(kSetup).encode();
  for (size_t cut : {size_t{0}, size_t{8}, data.size() - 1}) {
    EXPECT_FALSE(RegisteredFilter::decode(kTestFilter, L"x", data.data(), cut).has_value()) << cut;
  }
  std::vector<BYTE> otherVersion = data;
  otherVersion[0] = 9;
  EXPECT_FALSE(RegisteredFilter::decode(kTestFilter, L"x", otherVersion.data(), otherVersion.size()).has_value());
  EXPECT_TRUE(RegisteredFilter::decode(kTestFilter, L"x", data.data(), data.size()).has_value());
}
