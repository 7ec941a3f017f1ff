#include "TestFilters.h"

#include <gtest/gtest.h>

#include <cstring>

using dstest::videoType;

TEST(MediaTypeTest, CopyOwnsItsOwnFormatBlock) {
  CMediaType original = videoType(MEDIASUBTYPE_YUY2, 720, 576);
  AM_MEDIA_TYPE copy{};
  ASSERT_EQ(CopyMediaType(&copy, &original), S_OK);
  ASSERT_NE(copy.pbFormat, original.pbFormat);
  reinterpret_cast<VIDEOINFOHEADER*>(original.pbFormat)->bmiHeader.biWidth = 1;
  EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(copy.pbFormat)->bmiHeader.biWidth, 720);
  FreeMediaType(copy);
  EXPECT_EQ(copy.pbFormat, nullptr);
  EXPECT_EQ(copy.cbFormat, 0u);

  AM_MEDIA_TYPE* created = CreateMediaType(&original);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->cbFormat, sizeof(VIDEOINFOHEADER));
  DeleteMediaType(created);
  DeleteMediaType(nullptr);
}

TEST(MediaTypeTest, EqualityLooksAtTheFormatBytes) {
  const CMediaType a = videoType(MEDIASUBTYPE_YUY2, 720, 576);
  CMediaType b = a;
  EXPECT_TRUE(a == b);
  reinterpret_cast<VIDEOINFOHEADER*>(b.Format())->bmiHeader.biHeight = 480;
  EXPECT_TRUE(a != b);
  b = a;
  b.SetSubtype(&MEDIASUBTYPE_RGB24);
  EXPECT_FALSE(a == b);
}

TEST(MediaTypeTest, PartialTypesMatchOnTheirSpecifiedParts) {
  const CMediaType yuy2 = videoType(MEDIASUBTYPE_YUY2);
  CMediaType anyVideo(&MEDIATYPE_Video);
  EXPECT_TRUE(anyVideo.IsPartiallySpecified());
  EXPECT_TRUE(yuy2.MatchesPartial(&anyVideo));
  CMediaType rgb(&MEDIATYPE_Video);
  rgb.SetSubtype(&MEDIASUBTYPE_RGB24);
  EXPECT_FALSE(yuy2.MatchesPartial(&rgb));
  CMediaType audio(&MEDIATYPE_Audio);
  EXPECT_FALSE(yuy2.MatchesPartial(&audio));
  EXPECT_FALSE(yuy2.IsPartiallySpecified());
}

TEST(MediaTypeTest, FormatRecordsHaveTheirFixedLayouts) {
  EXPECT_EQ(sizeof(VIDEOINFOHEADER), 88u);
  EXPECT_EQ(sizeof(WAVEFORMATEX), 18u);
  EXPECT_EQ(sizeof(VIDEO_STREAM_CONFIG_CAPS), 128u);
}
