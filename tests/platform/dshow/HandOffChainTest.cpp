// The lock-free chain an output queue's thread takes its items from: order and counts
// across its blocks, the emptied block taken up again, and one thread taking what another
// puts (also under ThreadSanitizer).
#include <dshow/baseclasses/HandOffChain.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

struct Numbered {
  int number = -1;
  const char* tag = nullptr;
};

TEST(HandOffChainTest, ItemsComeOutInTheOrderPutAcrossBlocksAndTheCountsFollow) {
  plat::HandOffChain<Numbered> chain;
  EXPECT_TRUE(chain.empty());
  EXPECT_EQ(chain.front(), nullptr);
  int put = 0;
  int taken = 0;
  // Runs of puts and takes of different lengths: the chain grows past a block, empties
  // blocks, and fills the one it takes up again over items put long before.
  for (const int run : {1, 63, 64, 65, 200, 7, 130, 1}) {
    for (int n = 0; n < run; ++n) chain.put({put++, "item"});
    EXPECT_EQ(chain.size(), static_cast<std::size_t>(put - taken));
    EXPECT_EQ(chain.putCount().load(), static_cast<unsigned>(put));
    for (int n = 0; n < run / 2 + 1 && taken < put; ++n) {
      Numbered* item = chain.front();
      ASSERT_NE(item, nullptr);
      EXPECT_EQ(item->number, taken);
      EXPECT_EQ(chain.front(), item) << "looking is not taking";
      chain.pop();
      ++taken;
    }
  }
  for (Numbered* item = chain.front(); item; item = chain.front()) {
    EXPECT_EQ(item->number, taken++);
    chain.pop();
  }
  EXPECT_EQ(taken, put);
  EXPECT_TRUE(chain.empty());
}

TEST(HandOffChainTest, AThreadTakesEveryItemAnotherPutsInTheOrderPut) {
  constexpr int kItems = 100000;
  plat::HandOffChain<Numbered> chain;
  std::thread putter([&] {
    for (int n = 0; n < kItems; ++n) chain.put({n, "item"});
  });
  int expected = 0;
  while (expected < kItems) {
    Numbered* item = chain.front();
    if (!item) {
      std::this_thread::yield();
      continue;
    }
    ASSERT_EQ(item->number, expected);
    ASSERT_NE(item->tag, nullptr);
    chain.pop();
    ++expected;
  }
  putter.join();
  EXPECT_TRUE(chain.empty());
}

}  // namespace
