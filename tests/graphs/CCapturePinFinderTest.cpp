// The tuner holder on the stick's capture filter: found only once the tuner is wired in,
// channels of two kinds within the tuner's range, the signal of the station tuned.
#include "GraphsTest.h"

#include "graphs/CCapturePinFinder.h"
#include "graphs/DeviceUtilities.h"

namespace {

class CapturePinFinderTest : public test::GraphsTest {
 protected:
  CCapturePinFinder finder;
};

TEST_F(CapturePinFinderTest, TheTunerIsFoundOnlyWhenWiredUpstreamOfTheDevice) {
  EXPECT_FALSE(finder.Attach(nullptr, nullptr));
  ASSERT_TRUE(FindVideoCaptureDevice("USB TV Device", device.put()));
  ASSERT_EQ(graph->AddFilter(device.get(), L"Video Capture"), S_OK);
  EXPECT_FALSE(finder.Attach(builder.get(), nullptr));
  EXPECT_FALSE(finder.Attach(builder.get(), device.get())) << "no tuner in the graph yet";
  EXPECT_FALSE(finder.IsSignalPresent());
  long low = -1;
  long high = -1;
  EXPECT_FALSE(finder.GetChannelRange(&low, &high));
  EXPECT_TRUE(finder.SetChannel(1, 7)) << "stored even without a tuner";
  EXPECT_EQ(finder.GetChannel(1), 7);
}

TEST_F(CapturePinFinderTest, ChannelsAreTunedThroughTheDevicesTuner) {
  buildCaptureChain();
  ASSERT_TRUE(finder.Attach(builder.get(), device.get()));
  long low = 0;
  long high = 0;
  ASSERT_TRUE(finder.GetChannelRange(&low, &high));
  EXPECT_LE(low, 14);
  EXPECT_GE(high, 14);

  // The default region's station "Harbor 14" is on air at 471.25 MHz.
  ASSERT_TRUE(finder.SetChannel(1, 14));
  long hertz = 0;
  ASSERT_TRUE(finder.GetVideoFrequency(&hertz));
  EXPECT_EQ(hertz, 471250000);
  EXPECT_TRUE(finder.IsSignalPresent());

  ASSERT_TRUE(finder.ChannelUp(1));
  EXPECT_EQ(finder.GetChannel(1), 15);
  EXPECT_FALSE(finder.IsSignalPresent()) << "nothing on channel 15";
  ASSERT_TRUE(finder.ChannelDown(1));
  EXPECT_TRUE(finder.IsSignalPresent());

  ASSERT_TRUE(finder.SetChannel(2, 7));
  EXPECT_EQ(finder.GetChannel(2), 7);
  EXPECT_EQ(finder.GetChannel(1), 14) << "each kind keeps its own channel";
  EXPECT_TRUE(finder.IsSignalPresent()) << "Coast 7";
}

TEST_F(CapturePinFinderTest, ChannelsOutsideTheRangeAndOtherKindsAreRefused) {
  buildCaptureChain();
  ASSERT_TRUE(finder.Attach(builder.get(), device.get()));
  long low = 0;
  long high = 0;
  ASSERT_TRUE(finder.GetChannelRange(&low, &high));
  ASSERT_TRUE(finder.SetChannel(2, high));
  EXPECT_FALSE(finder.ChannelUp(2));
  EXPECT_EQ(finder.GetChannel(2), high);
  ASSERT_TRUE(finder.SetChannel(1, low));
  EXPECT_FALSE(finder.ChannelDown(1));
  EXPECT_EQ(finder.GetChannel(1), low);
  EXPECT_FALSE(finder.SetChannel(3, 14));
  EXPECT_FALSE(finder.ChannelUp(0));
  EXPECT_FALSE(finder.ChannelDown(-1));
}

}  // namespace
