#include <dshow/dshow.h>
#include <dshow/filters/FileStreamType.h>

#include <gtest/gtest.h>

#include <string>

namespace {

GUID typeOf(const std::string& bytes) {
  return plat::FileStreamType::of(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(FileStreamTypeTest, TheFirstBytesTellTheStreamType) {
  EXPECT_EQ(typeOf(std::string("RIFF\x24\0\0\0AVI LIST", 16)), MEDIASUBTYPE_Avi);
  EXPECT_EQ(typeOf(std::string("RIFF\x24\0\0\0WAVEfmt ", 16)), MEDIASUBTYPE_WAVE);
  // Pack headers: MPEG-2 marks the clock field with 01, MPEG-1 with 0010.
  EXPECT_EQ(typeOf(std::string("\0\0\1\xBA\x44\0\4\0", 8)), MEDIASUBTYPE_MPEG2_PROGRAM);
  EXPECT_EQ(typeOf(std::string("\0\0\1\xBA\x21\0\1\0", 8)), MEDIASUBTYPE_MPEG1System);
  EXPECT_EQ(typeOf(std::string("\0\0\1\xB3\x16\0\xF0\x13", 8)), MEDIASUBTYPE_MPEG1Video);
  EXPECT_EQ(typeOf(std::string("ID3\3\0\0\0\0\0\0", 10)), MEDIASUBTYPE_MPEG1Audio);
  EXPECT_EQ(typeOf(std::string("\xFF\xFB\x90\x64", 4)), MEDIASUBTYPE_MPEG1Audio);  // a layer III frame
}

TEST(FileStreamTypeTest, OtherOrTooFewBytesAreOfNoKnownType) {
  EXPECT_EQ(typeOf(""), GUID_NULL);
  EXPECT_EQ(typeOf("RIFF"), GUID_NULL);
  EXPECT_EQ(typeOf(std::string("RIFF\x24\0\0\0RMID", 12)), GUID_NULL);
  EXPECT_EQ(typeOf(std::string("\0\0\1\xBA", 4)), GUID_NULL);            // a pack start code and nothing more
  EXPECT_EQ(typeOf(std::string("\xFF\xF9\x90\x64", 4)), GUID_NULL);      // layer bits 00 are reserved
  EXPECT_EQ(typeOf(std::string("\xFF\xFB\xF0\x64", 4)), GUID_NULL);      // bit-rate index 15 is invalid
  EXPECT_EQ(typeOf("Dear viewer"), GUID_NULL);
  EXPECT_EQ(plat::FileStreamType::of(nullptr, 10), GUID_NULL);
}

}  // namespace
