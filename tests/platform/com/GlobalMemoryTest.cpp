#include <com/globalmem.h>
#include <win32/error.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(GlobalMemory, FixedBlockHandleIsItsAddress) {
  HGLOBAL block = GlobalAlloc(GPTR, 16);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalLock(block), block);
  EXPECT_EQ(GlobalSize(block), 16u);
  EXPECT_EQ(static_cast<const char*>(block)[15], 0);  // zero-initialised
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, MoveableBlockLocksAndCountsLocks) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
  ASSERT_NE(block, nullptr);
  void* first = GlobalLock(block);
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, block);
  std::memcpy(first, "picture", 8);
  EXPECT_EQ(GlobalLock(block), first);
  EXPECT_TRUE(GlobalUnlock(block));  // still locked once
  SetLastError(ERROR_INVALID_DATA);
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(block)), "picture");
  GlobalUnlock(block);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, GrowingKeepsContentsAndZeroesTheRest) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(GlobalLock(block), "abc", 4);
  GlobalUnlock(block);
  HGLOBAL grown = GlobalReAlloc(block, 4096, GMEM_MOVEABLE);
  ASSERT_EQ(grown, block);  // a moveable block keeps its handle
  EXPECT_EQ(GlobalSize(block), 4096u);
  auto* bytes = static_cast<const char*>(GlobalLock(block));
  EXPECT_STREQ(bytes, "abc");
  EXPECT_EQ(bytes[4095], 0);
  GlobalUnlock(block);
  GlobalFree(block);
}

TEST(GlobalMemory, LockedOrFixedBlocksMoveOnlyWhenAllowed) {
  HGLOBAL moveable = GlobalAlloc(GMEM_MOVEABLE, 4);
  void* locked = GlobalLock(moveable);
  EXPECT_EQ(GlobalReAlloc(moveable, 1 << 20, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_EQ(GlobalReAlloc(moveable, 2, 0), moveable);  // shrinking moves nothing
  EXPECT_EQ(GlobalLock(moveable), locked);
  GlobalUnlock(moveable);
  GlobalUnlock(moveable);
  GlobalFree(moveable);

  HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 4);
  std::memcpy(fixed, "xyz", 4);
  EXPECT_EQ(GlobalReAlloc(fixed, 1 << 20, 0), nullptr);
  HGLOBAL moved = GlobalReAlloc(fixed, 1 << 20, GMEM_MOVEABLE);
  ASSERT_NE(moved, nullptr);
  EXPECT_STREQ(static_cast<const char*>(moved), "xyz");
  EXPECT_EQ(GlobalLock(moved), moved);
  if (moved != fixed) {
    EXPECT_EQ(GlobalSize(fixed), 0u);  // the old handle is gone
  }
  GlobalFree(moved);
}

TEST(GlobalMemory, EmptyMoveableBlockHasNothingToLock) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 0u);
  EXPECT_EQ(GlobalLock(block), nullptr);
  GlobalFree(block);
}

TEST(GlobalMemory, BadHandlesFailWithInvalidHandle) {
  int notABlock = 0;
  SetLastError(0);
  EXPECT_EQ(GlobalSize(&notABlock), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GlobalLock(&notABlock), nullptr);
  EXPECT_EQ(GlobalFree(&notABlock), &notABlock);  // the handle back means failure
  EXPECT_EQ(GlobalReAlloc(&notABlock, 4, GMEM_MOVEABLE), nullptr);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);

  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 1);
  GlobalFree(block);
  EXPECT_EQ(GlobalFree(block), block);  // freed twice
}

}  // namespace
