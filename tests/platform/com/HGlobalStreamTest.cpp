#include <com/ComPtr.h>
#include <com/objbase.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

LARGE_INTEGER offset(LONGLONG value) {
  LARGE_INTEGER result;
  result.QuadPart = value;
  return result;
}

std::string readAll(IStream* stream) {
  char buffer[256] = {};
  ULONG read = 0;
  EXPECT_EQ(stream->Seek(offset(0), STREAM_SEEK_SET, nullptr), S_OK);
  EXPECT_EQ(stream->Read(buffer, sizeof buffer, &read), S_OK);
  return std::string(buffer, read);
}

TEST(HGlobalStream, ReadsTheBlockItWasGiven) {
  // The picture loader's way: read a file into a moveable block, then stream it.
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 10);
  std::memcpy(GlobalLock(block), "BM header!", 10);
  GlobalUnlock(block);
  plat::ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, stream.put()), S_OK);

  char buffer[4] = {};
  ULONG read = 0;
  ASSERT_EQ(stream->Read(buffer, 2, &read), S_OK);
  EXPECT_EQ(read, 2u);
  EXPECT_EQ(std::string(buffer, 2), "BM");
  ASSERT_EQ(stream->Read(buffer, 4, &read), S_OK);
  EXPECT_EQ(std::string(buffer, 4), " hea");

  ULARGE_INTEGER position{};
  ASSERT_EQ(stream->Seek(offset(-2), STREAM_SEEK_END, &position), S_OK);
  EXPECT_EQ(position.QuadPart, 8u);
  ASSERT_EQ(stream->Read(buffer, 4, &read), S_OK);  // a short read at the end is no error
  EXPECT_EQ(read, 2u);
  EXPECT_EQ(std::string(buffer, 2), "r!");
  ASSERT_EQ(stream->Read(buffer, 4, &read), S_OK);
  EXPECT_EQ(read, 0u);

  STATSTG stat{};
  ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STREAM));
  EXPECT_EQ(stat.cbSize.QuadPart, 10u);
  EXPECT_EQ(stat.pwcsName, nullptr);
}

TEST(HGlobalStream, WritingPastTheEndGrowsTheBlock) {
  plat::ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
  ULONG written = 0;
  ASSERT_EQ(stream->Write("channel", 7, &written), S_OK);
  EXPECT_EQ(written, 7u);
  ASSERT_EQ(stream->Seek(offset(2), STREAM_SEEK_CUR, nullptr), S_OK);  // leaves a gap
  ASSERT_EQ(stream->Write("42", 2, nullptr), S_OK);

  HGLOBAL block = nullptr;
  ASSERT_EQ(GetHGlobalFromStream(stream.get(), &block), S_OK);
  EXPECT_EQ(GlobalSize(block), 11u);
  auto* bytes = static_cast<const char*>(GlobalLock(block));
  EXPECT_EQ(std::string(bytes, 11), std::string("channel\0\0" "42", 11));
  GlobalUnlock(block);
}

TEST(HGlobalStream, SeekRulesAndSetSize) {
  plat::ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
  ASSERT_EQ(stream->Write("0123456789", 10, nullptr), S_OK);
  ULARGE_INTEGER position{};
  EXPECT_EQ(stream->Seek(offset(-11), STREAM_SEEK_END, &position), STG_E_INVALIDFUNCTION);
  ASSERT_EQ(stream->Seek(offset(0), STREAM_SEEK_CUR, &position), S_OK);
  EXPECT_EQ(position.QuadPart, 10u);  // a refused seek leaves the position
  EXPECT_EQ(stream->Seek(offset(0), 3, &position), STG_E_INVALIDFUNCTION);
  ASSERT_EQ(stream->Seek(offset(100), STREAM_SEEK_SET, &position), S_OK);  // past the end is allowed
  EXPECT_EQ(position.QuadPart, 100u);

  ULARGE_INTEGER size{};
  size.QuadPart = 4;
  ASSERT_EQ(stream->SetSize(size), S_OK);
  EXPECT_EQ(readAll(stream.get()), "0123");
  EXPECT_EQ(stream->LockRegion(ULARGE_INTEGER{}, size, 0), STG_E_INVALIDFUNCTION);
}

TEST(HGlobalStream, ClonesShareContentsButNotPosition) {
  plat::ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
  ASSERT_EQ(stream->Write("abcdef", 6, nullptr), S_OK);
  ASSERT_EQ(stream->Seek(offset(1), STREAM_SEEK_SET, nullptr), S_OK);
  plat::ComPtr<IStream> clone;
  ASSERT_EQ(stream->Clone(clone.put()), S_OK);
  char c = 0;
  ASSERT_EQ(clone->Read(&c, 1, nullptr), S_OK);
  EXPECT_EQ(c, 'b');
  ASSERT_EQ(clone->Write("XY", 2, nullptr), S_OK);
  stream.reset();  // the clone keeps the block alive
  EXPECT_EQ(readAll(clone.get()), "abXYef");
}

TEST(HGlobalStream, CopyToMovesBytesFromThePosition) {
  plat::ComPtr<IStream> source, target;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, source.put()), S_OK);
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, target.put()), S_OK);
  ASSERT_EQ(source->Write("skip-copy", 9, nullptr), S_OK);
  ASSERT_EQ(source->Seek(offset(5), STREAM_SEEK_SET, nullptr), S_OK);
  ULARGE_INTEGER limit{}, read{}, written{};
  limit.QuadPart = 100;
  ASSERT_EQ(source->CopyTo(target.get(), limit, &read, &written), S_OK);
  EXPECT_EQ(read.QuadPart, 4u);
  EXPECT_EQ(written.QuadPart, 4u);
  EXPECT_EQ(readAll(target.get()), "copy");
}

TEST(HGlobalStream, BlockOutlivesTheStreamUnlessGivenAway) {
  HGLOBAL kept = GlobalAlloc(GMEM_MOVEABLE, 3);
  {
    plat::ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(kept, FALSE, stream.put()), S_OK);
    ASSERT_EQ(stream->Write("12345", 5, nullptr), S_OK);
  }
  EXPECT_EQ(GlobalSize(kept), 5u);
  EXPECT_EQ(GlobalFree(kept), nullptr);

  HGLOBAL owned = GlobalAlloc(GMEM_MOVEABLE, 3);
  {
    plat::ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(owned, TRUE, stream.put()), S_OK);
  }
  EXPECT_EQ(GlobalFree(owned), owned);  // already freed with the stream
}

TEST(HGlobalStream, ForeignStreamsAndBadBlocksAreRefused) {
  int notABlock = 0;
  plat::ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(&notABlock, TRUE, stream.put()), E_INVALIDARG);
  EXPECT_EQ(stream.get(), nullptr);
  HGLOBAL block = reinterpret_cast<HGLOBAL>(1);
  EXPECT_EQ(GetHGlobalFromStream(nullptr, &block), E_INVALIDARG);
  EXPECT_EQ(block, nullptr);
}

}  // namespace
