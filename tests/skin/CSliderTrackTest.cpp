#include "skin/CSliderTrack.h"

#include <gtest/gtest.h>

namespace {

// A 200 x 10 channel with a 10 x 10 thumb: the centre travels from 5 to 195.
CSliderTrack MakeTrack(int nMin, int nMax) {
  CSliderTrack track;
  track.SetMin(nMin);
  track.SetMax(nMax);
  track.SetThumbSize(10, 10);
  track.SetChannelSize(200, 10);
  return track;
}

TEST(CSliderTrackTest, DefaultsAreTheControlsRange) {
  CSliderTrack track;
  EXPECT_EQ(track.GetMin(), 0);
  EXPECT_EQ(track.GetMax(), 100);
  EXPECT_EQ(track.GetPos(), 0);
  EXPECT_EQ(track.GetPageSize(), 20);
  EXPECT_EQ(track.SetPageSize(5), 20);
  EXPECT_EQ(track.GetPageSize(), 5);
}

TEST(CSliderTrackTest, PositionsClampToTheRangeMaximumFirst) {
  CSliderTrack track = MakeTrack(0, 100);
  track.SetPos(150);
  EXPECT_EQ(track.GetPos(), 100);
  track.SetPos(-3);
  EXPECT_EQ(track.GetPos(), 0);
  // Nothing checks that min < max; the minimum wins.
  track.SetMin(10);
  track.SetMax(5);
  track.SetPos(7);
  EXPECT_EQ(track.GetPos(), 10);
}

TEST(CSliderTrackTest, TheFineTuneRangeMapsOntoBothEnds) {
  const CSliderTrack track = MakeTrack(-16, 16);
  EXPECT_EQ(track.PosToPixel(-16), 5);
  EXPECT_EQ(track.PosToPixel(16), 195);
  EXPECT_EQ(track.PosToPixel(0), 100);
  EXPECT_EQ(track.PixelToPos(5), -16);
  EXPECT_EQ(track.PixelToPos(195), 16);
  EXPECT_EQ(track.PixelToPos(100), 0);
}

TEST(CSliderTrackTest, MappingTruncatesTowardZero) {
  const CSliderTrack track = MakeTrack(0, 100);
  // 33 / 100 * 190 = 62.7
  EXPECT_EQ(track.PosToPixel(33), 5 + 62);
  // (67 - 5) / 190 * 100 = 32.6
  EXPECT_EQ(track.PixelToPos(67), 32);
}

TEST(CSliderTrackTest, MarginsNarrowTheTravel) {
  CSliderTrack track = MakeTrack(0, 100);
  track.SetMargins(20, 0, 30, 0);
  EXPECT_EQ(track.PosToPixel(0), 25);
  EXPECT_EQ(track.PosToPixel(100), 165);
  EXPECT_EQ(track.PixelToPos(165), 100);
  EXPECT_EQ(track.DragPixel(POINT{0, 0}), 25);
  EXPECT_EQ(track.DragPixel(POINT{199, 0}), 165);
}

TEST(CSliderTrackTest, ATrackWithoutRoomMapsToItsStart) {
  CSliderTrack track = MakeTrack(0, 0);  // a zero-length file's seek bar
  EXPECT_EQ(track.PosToPixel(0), 5);
  EXPECT_EQ(track.PixelToPos(150), 0);

  track = MakeTrack(0, 100);
  track.SetChannelSize(8, 10);  // narrower than its thumb
  EXPECT_EQ(track.PosToPixel(50), 5);
  EXPECT_EQ(track.PixelToPos(7), 0);
  EXPECT_EQ(track.DragPixel(POINT{100, 0}), 5);
  EXPECT_EQ(track.DragPixel(POINT{-100, 0}), 5);
}

TEST(CSliderTrackTest, HugeRangesNeitherOverflowNorLoseTheirEnds) {
  CSliderTrack track = MakeTrack(INT_MIN, INT_MAX);
  EXPECT_EQ(track.PosToPixel(INT_MIN), 5);
  EXPECT_EQ(track.PosToPixel(INT_MAX), 195);
  EXPECT_EQ(track.PixelToPos(195), INT_MAX);
  EXPECT_EQ(track.PixelToPos(5), INT_MIN);
}

TEST(CSliderTrackTest, APressOnTheThumbKeepsItsDistanceElsewhereTheThumbJumps) {
  CSliderTrack track = MakeTrack(0, 100);
  track.SetPos(50);  // centre at 100
  track.BeginDrag(POINT{103, 5});
  EXPECT_EQ(track.DragPixel(POINT{103, 5}), 100);
  EXPECT_EQ(track.DragPixel(POINT{123, 5}), 120);

  track.BeginDrag(POINT{150, 5});
  EXPECT_EQ(track.DragPixel(POINT{150, 5}), 150);
}

TEST(CSliderTrackTest, APressExactlyHalfAThumbAwayStillHoldsTheThumb) {
  CSliderTrack track = MakeTrack(0, 100);
  track.SetPos(50);  // centre at 100, half the thumb is 5
  for (const int nEdge : {95, 105}) {
    track.BeginDrag(POINT{nEdge, 5});
    EXPECT_EQ(track.DragPixel(POINT{nEdge, 5}), 100) << nEdge << ": on the thumb's edge";
  }
  for (const int nOff : {94, 106}) {
    track.BeginDrag(POINT{nOff, 5});
    EXPECT_EQ(track.DragPixel(POINT{nOff, 5}), nOff) << nOff << ": one pixel off the thumb";
  }
}

TEST(CSliderTrackTest, VerticalTracksUseHeightsAndY) {
  CSliderTrack track;
  track.SetVertical(TRUE);
  track.SetThumbSize(10, 20);
  track.SetChannelSize(10, 120);
  track.SetMargins(0, 5, 0, 15);
  EXPECT_EQ(track.PosToPixel(0), 15);   // 20 / 2 + 5
  EXPECT_EQ(track.PosToPixel(100), 95);  // 120 - 15 - 10
  EXPECT_EQ(track.DragPixel(POINT{500, 50}), 50);
  EXPECT_EQ(track.DragPixel(POINT{500, 200}), 95);
}

}  // namespace

TEST(CSliderTrackTest, TheThumbSitsOnItsCentreAlongAndOnTheMarginAcross) {
  CSliderTrack track = MakeTrack(0, 190);
  track.SetMargins(0, 3, 0, 0);
  track.SetPos(100);
  EXPECT_EQ(track.ThumbOrigin().x, 100);
  EXPECT_EQ(track.ThumbOrigin().y, 3);

  CSliderTrack vertical;
  vertical.SetMax(190);
  vertical.SetVertical(TRUE);
  vertical.SetThumbSize(10, 10);
  vertical.SetChannelSize(10, 200);
  vertical.SetMargins(2, 0, 0, 0);
  vertical.SetPos(100);
  EXPECT_EQ(vertical.ThumbOrigin().x, 2);
  EXPECT_EQ(vertical.ThumbOrigin().y, 100);
}
