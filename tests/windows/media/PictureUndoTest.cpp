// The picture browser's undo files and its locked view of a picture: the five newest
// changes kept and the rest discarded, names reused without losing a state, and DIBs
// that are not what the effects can take refused before a pixel is touched.
#include "windows/media/CDibLock.h"
#include "windows/media/CPictureUndo.h"

#include <com/globalmem.h>
#include <win32/gdi/bitmap.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Entries(const CPictureUndo& undo) {
  std::vector<std::string> out;
  for (int i = 0; i < undo.GetCount(); ++i) out.emplace_back(undo.GetAt(i));
  return out;
}

std::vector<std::string> Discarded(const CPictureUndo& undo) {
  std::vector<std::string> out;
  for (int i = 0; i < undo.GetDiscarded().GetSize(); ++i) out.emplace_back(undo.GetDiscarded().GetAt(i));
  return out;
}

void Save(CPictureUndo& undo, int changes) {
  undo.SetFolder("P\\");
  for (int i = 0; i < changes; ++i) undo.Push(undo.NextFile());
}

TEST(PictureUndoTest, TheFiveNewestChangesStayAndOlderOnesAreDiscarded) {
  CPictureUndo five;
  Save(five, 5);
  EXPECT_EQ(Entries(five), (std::vector<std::string>{"P\\0.bmp", "P\\1.bmp", "P\\2.bmp", "P\\3.bmp", "P\\4.bmp"}));
  EXPECT_TRUE(Discarded(five).empty());
  CPictureUndo six;
  Save(six, 6);
  EXPECT_EQ(Entries(six).front(), "P\\1.bmp");
  EXPECT_EQ(Discarded(six), (std::vector<std::string>{"P\\0.bmp"}));
  // The seventh change reuses 0.bmp; 0 and 1 are discarded, each once.
  CPictureUndo seven;
  Save(seven, 7);
  EXPECT_EQ(Entries(seven), (std::vector<std::string>{"P\\2.bmp", "P\\3.bmp", "P\\4.bmp", "P\\5.bmp", "P\\0.bmp"}));
  EXPECT_EQ(Discarded(seven), (std::vector<std::string>{"P\\0.bmp", "P\\1.bmp"}));
}

TEST(PictureUndoTest, UndoTakesTheNewestOffAndAnEmptyStackGivesNothing) {
  CPictureUndo undo;
  Save(undo, 2);
  CString path;
  ASSERT_TRUE(undo.Pop(path));
  EXPECT_EQ(std::string(path), "P\\1.bmp");
  ASSERT_TRUE(undo.Pop(path));
  EXPECT_EQ(std::string(path), "P\\0.bmp");
  EXPECT_FALSE(undo.Pop(path));
  EXPECT_EQ(Discarded(undo), (std::vector<std::string>{"P\\1.bmp", "P\\0.bmp"}));
}

TEST(PictureUndoTest, ANameStillHoldingAStateIsNotWrittenOver) {
  // One change kept, then five changes undone one by one: the counter comes round to the
  // name of the kept one, which the next change must not overwrite.
  CPictureUndo undo;
  Save(undo, 1);
  CString path;
  for (int i = 0; i < 5; ++i) {
    undo.Push(undo.NextFile());
    undo.Pop(path);
  }
  EXPECT_EQ(undo.GetCounter(), 6);
  const CString next = undo.NextFile();
  EXPECT_EQ(std::string(next), "P\\1.bmp");
  undo.Push(next);
  EXPECT_EQ(Entries(undo), (std::vector<std::string>{"P\\0.bmp", "P\\1.bmp"}));
}

TEST(PictureUndoTest, OpeningAnotherPictureStartsAgainAndDiscardsEveryEntry) {
  CPictureUndo undo;
  Save(undo, 3);
  undo.Reset();
  EXPECT_TRUE(undo.IsEmpty());
  EXPECT_EQ(undo.GetCounter(), 0);
  EXPECT_EQ(Discarded(undo), (std::vector<std::string>{"P\\0.bmp", "P\\1.bmp", "P\\2.bmp"}));
  EXPECT_EQ(std::string(undo.NextFile()), "P\\0.bmp");
}

// A packed DIB of the given header fields and `pixelBytes` after the header.
HGLOBAL MakeDib(int width, int height, WORD bitCount, DWORD compression, std::size_t pixelBytes, DWORD colours = 0) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = bitCount;
  header.biCompression = compression;
  header.biClrUsed = colours;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof header + colours * 4 + pixelBytes);
  std::memcpy(GlobalLock(block), &header, sizeof header);
  GlobalUnlock(block);
  return block;
}

struct DibCase {
  const char* what;
  int width, height;
  WORD bits;
  DWORD compression;
  std::size_t pixelBytes;
  bool usable;
};

TEST(DibLockTest, OnlyWholeUncompressed24BitPicturesAreUsable) {
  const DibCase cases[] = {
      {"24-bit, rows padded to 4 bytes", 5, 3, 24, BI_RGB, 16 * 3, true},
      {"24-bit top-down", 5, -3, 24, BI_RGB, 16 * 3, true},
      {"one byte short of the last row", 5, 3, 24, BI_RGB, 16 * 3 - 1, false},
      {"8-bit rows are narrower than the effects read", 5, 3, 8, BI_RGB, 8 * 3, false},
      {"32-bit", 5, 3, 32, BI_RGB, 20 * 3, false},
      {"compressed", 5, 3, 24, 1, 16 * 3, false},
      {"no width", 0, 3, 24, BI_RGB, 16, false},
      {"no rows", 5, 0, 24, BI_RGB, 16, false},
  };
  for (const DibCase& c : cases) {
    HGLOBAL dib = MakeDib(c.width, c.height, c.bits, c.compression, c.pixelBytes);
    {
      const CDibLock lock(dib);
      EXPECT_EQ(bool(lock.IsUsable()), c.usable) << c.what;
      if (c.usable) {
        EXPECT_EQ(lock.GetStride(), 16) << c.what;
        EXPECT_EQ(lock.GetHeight(), 3) << c.what;
        EXPECT_EQ(lock.GetImageSize(), 48u) << c.what;
        EXPECT_EQ(lock.GetBytesPerPixel(), 3) << c.what;
      }
    }
    GlobalFree(dib);
  }
  const CDibLock none(nullptr);
  EXPECT_FALSE(none.IsUsable());
}

TEST(DibLockTest, AHeaderLongerThanTheBlockIsRefused) {
  // The pixels would start beyond the block's end.
  HGLOBAL dib = MakeDib(2, 2, 24, BI_RGB, 16, 0);
  void* header = GlobalLock(dib);
  reinterpret_cast<BITMAPINFOHEADER*>(header)->biSize = 124;
  GlobalUnlock(dib);
  {
    const CDibLock lock(dib);
    EXPECT_FALSE(lock.IsUsable());
  }
  GlobalFree(dib);
}

}  // namespace
