// Items handed from one thread to one other without a lock: the putting side appends to a
// chain of fixed blocks and the taking side takes from its head, each keeping its place on
// a cache line of its own. They share only the items and the counts of items put and taken,
// each count on a line of its own too: the taker watching the put count never takes the
// line the putter finds its place on. A hand-off costs the taker the lines the putter
// wrote, and neither side a lock.
//
// One thread puts at a time and one takes at a time (the caller's locks see to that when
// the thread changes); size() and putCount() may be read from anywhere. The chain is
// unbounded: a full block is followed by a new one, or by the last block the taker emptied.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>

namespace plat {

template <class T>
class HandOffChain {
 public:
  HandOffChain() : m_put{new Block}, m_taken{m_put.block} {}
  ~HandOffChain() {
    for (Block* block = m_taken.block; block;) {
      Block* next = block->next.load(std::memory_order_relaxed);
      delete block;
      block = next;
    }
    delete m_spare.load(std::memory_order_relaxed);
  }
  HandOffChain(const HandOffChain&) = delete;
  HandOffChain& operator=(const HandOffChain&) = delete;

  // The putting side.
  void put(const T& item) {
    if (m_put.index == kBlockItems) {
      Block* block = m_spare.exchange(nullptr, std::memory_order_acquire);
      if (!block) block = new Block;
      block->next.store(nullptr, std::memory_order_relaxed);
      // Linked before the item is counted: a taker that sees the count finds the block.
      m_put.block->next.store(block, std::memory_order_release);
      m_put.block = block;
      m_put.index = 0;
    }
    m_put.block->items[m_put.index++] = item;
    m_putCount.value.store(++m_put.count, std::memory_order_release);
  }

  // The taking side: the oldest item, or null when none is there.
  T* front() {
    if (m_taken.count == m_putCount.value.load(std::memory_order_acquire)) return nullptr;
    if (m_taken.index == kBlockItems) {
      Block* emptied = m_taken.block;
      m_taken.block = emptied->next.load(std::memory_order_acquire);
      m_taken.index = 0;
      delete m_spare.exchange(emptied, std::memory_order_release);
    }
    return &m_taken.block->items[m_taken.index];
  }
  // The taking side, after front() returned an item: it is taken.
  void pop() {
    ++m_taken.index;
    m_takenCount.value.store(++m_taken.count, std::memory_order_release);
  }

  // Items put and not yet taken.
  std::size_t size() const {
    const unsigned taken = m_takenCount.value.load(std::memory_order_acquire);
    return m_putCount.value.load(std::memory_order_acquire) - taken;
  }
  bool empty() const { return size() == 0; }
  // Counts every item put: the taking side watches it for the next one.
  const std::atomic<unsigned>& putCount() const { return m_putCount.value; }

 private:
  static constexpr std::size_t kBlockItems = 64;
  static constexpr std::size_t kLine = 64;

  struct Block {
    std::array<T, kBlockItems> items{};
    std::atomic<Block*> next{nullptr};
  };
  // Where one side is, and its own count of the items it handled: read and written by that
  // side only, so it never waits for a line the other side took to read the shared count.
  struct alignas(kLine) Place {
    explicit Place(Block* first) : block(first) {}
    Block* block;
    std::size_t index = 0;
    unsigned count = 0;
  };
  // The count of items one side has handled: written by that side, read by both.
  struct alignas(kLine) Count {
    std::atomic<unsigned> value{0};
  };

  Place m_put;
  Count m_putCount;
  Place m_taken;
  Count m_takenCount;
  std::atomic<Block*> m_spare{nullptr};  // the last block emptied, for the putter's next
};

}  // namespace plat
