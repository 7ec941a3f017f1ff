#include "TestFilters.h"

#include <gtest/gtest.h>

#include <future>
#include <vector>

using plat::ComPtr;

namespace {

ComPtr<IMemAllocator> makeAllocator(long buffers, long size, long align = 1, long prefix = 0) {
  ComPtr<IMemAllocator> allocator;
  EXPECT_EQ(CreateMemoryAllocator(allocator.put()), S_OK);
  ALLOCATOR_PROPERTIES wanted{buffers, size, align, prefix};
  ALLOCATOR_PROPERTIES actual{};
  EXPECT_EQ(allocator->SetProperties(&wanted, &actual), S_OK);
  return allocator;
}

}  // namespace

TEST(AllocatorTest, PropertiesAreRoundedToTheAlignment) {
  ComPtr<IMemAllocator> allocator;
  ASSERT_EQ(CreateMemoryAllocator(allocator.put()), S_OK);
  ALLOCATOR_PROPERTIES wanted{2, 100, 16, 4};
  ALLOCATOR_PROPERTIES actual{};
  ASSERT_EQ(allocator->SetProperties(&wanted, &actual), S_OK);
  EXPECT_EQ((actual.cbBuffer + actual.cbPrefix) % 16, 0);
  EXPECT_GE(actual.cbBuffer, 100);

  ALLOCATOR_PROPERTIES odd{2, 100, 3, 0};
  EXPECT_EQ(allocator->SetProperties(&odd, &actual), VFW_E_BADALIGN);

  ASSERT_EQ(allocator->Commit(), S_OK);
  ComPtr<IMediaSample> sample;
  ASSERT_EQ(allocator->GetBuffer(sample.put(), nullptr, nullptr, 0), S_OK);
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % 16, 0u);
  EXPECT_EQ(allocator->SetProperties(&wanted, &actual), VFW_E_ALREADY_COMMITTED);
}

TEST(AllocatorTest, BuffersAreHandedOutOnlyWhileCommitted) {
  ComPtr<IMemAllocator> allocator = makeAllocator(1, 64);
  ComPtr<IMediaSample> sample;
  EXPECT_EQ(allocator->GetBuffer(sample.put(), nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
  ASSERT_EQ(allocator->Commit(), S_OK);
  ASSERT_EQ(allocator->GetBuffer(sample.put(), nullptr, nullptr, 0), S_OK);
  ComPtr<IMediaSample> second;
  EXPECT_EQ(allocator->GetBuffer(second.put(), nullptr, nullptr, AM_GBF_NOWAIT), VFW_E_TIMEOUT);
}

TEST(AllocatorTest, AWaitingGetBufferWakesWhenASampleReturns) {
  ComPtr<IMemAllocator> allocator = makeAllocator(1, 64);
  ASSERT_EQ(allocator->Commit(), S_OK);
  IMediaSample* held = nullptr;
  ASSERT_EQ(allocator->GetBuffer(&held, nullptr, nullptr, 0), S_OK);
  auto waiter = std::async(std::launch::async, [&] {
    IMediaSample* next = nullptr;
    const HRESULT hr = allocator->GetBuffer(&next, nullptr, nullptr, 0);
    if (next) next->Release();
    return hr;
  });
  EXPECT_EQ(waiter.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
  held->Release();
  EXPECT_EQ(waiter.get(), S_OK);
}

// A source holding packets back hears of each returning sample, told once the buffer is
// free to take, and no more once it clears the callback.
TEST(AllocatorTest, AReleaseCallbackIsToldOfEachReturnedBufferUntilCleared) {
  struct Listener : IMemAllocatorNotifyCallbackTemp {
    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP NotifyRelease() override {
      LONG free = -1;
      allocator->GetFreeCount(&free);
      freeWhenTold.push_back(free);
      return S_OK;
    }
    IMemAllocatorCallbackTemp* allocator = nullptr;
    ULONG refs = 0;
    std::vector<LONG> freeWhenTold;
  } listener;
  ComPtr<IMemAllocator> plain = makeAllocator(2, 64);
  ComPtr<IMemAllocatorCallbackTemp> allocator;
  ASSERT_EQ(plain->QueryInterface(IID_IMemAllocatorCallbackTemp, allocator.putVoid()), S_OK);
  listener.allocator = allocator.get();
  ASSERT_EQ(allocator->Commit(), S_OK);
  ASSERT_EQ(allocator->SetNotify(&listener), S_OK);
  IMediaSample* first = nullptr;
  IMediaSample* second = nullptr;
  ASSERT_EQ(allocator->GetBuffer(&first, nullptr, nullptr, 0), S_OK);
  ASSERT_EQ(allocator->GetBuffer(&second, nullptr, nullptr, 0), S_OK);
  first->Release();
  second->Release();
  EXPECT_EQ(listener.freeWhenTold, (std::vector<LONG>{1, 2}));
  ASSERT_EQ(allocator->SetNotify(nullptr), S_OK);
  EXPECT_EQ(listener.refs, 0u) << "the allocator holds no reference to a cleared callback";
  ASSERT_EQ(allocator->GetBuffer(&first, nullptr, nullptr, 0), S_OK);
  first->Release();
  EXPECT_EQ(listener.freeWhenTold.size(), 2u);
}

TEST(AllocatorTest, DecommitWakesWaitersAndFreesOnceSamplesReturn) {
  ComPtr<IMemAllocator> allocator = makeAllocator(1, 64);
  ASSERT_EQ(allocator->Commit(), S_OK);
  IMediaSample* held = nullptr;
  ASSERT_EQ(allocator->GetBuffer(&held, nullptr, nullptr, 0), S_OK);
  auto waiter = std::async(std::launch::async, [&] {
    IMediaSample* next = nullptr;
    return allocator->GetBuffer(&next, nullptr, nullptr, 0);
  });
  EXPECT_EQ(waiter.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
  ASSERT_EQ(allocator->Decommit(), S_OK);
  EXPECT_EQ(waiter.get(), VFW_E_NOT_COMMITTED);
  ALLOCATOR_PROPERTIES props{2, 32, 1, 0};
  ALLOCATOR_PROPERTIES actual{};
  EXPECT_EQ(allocator->SetProperties(&props, &actual), VFW_E_BUFFERS_OUTSTANDING);
  held->Release();
  EXPECT_EQ(allocator->SetProperties(&props, &actual), S_OK);
}

TEST(AllocatorTest, AnOutstandingSampleKeepsItsAllocatorAlive) {
  IMediaSample* sample = nullptr;
  {
    ComPtr<IMemAllocator> allocator = makeAllocator(2, 16);
    ASSERT_EQ(allocator->Commit(), S_OK);
    ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
    allocator->Decommit();
  }
  // The allocator is gone from the caller's view but still owns the sample's memory.
  BYTE* data = nullptr;
  ASSERT_EQ(sample->GetPointer(&data), S_OK);
  data[0] = 7;
  EXPECT_EQ(sample->Release(), 0u);
}

TEST(AllocatorTest, SampleTimesFlagsAndLengths) {
  ComPtr<IMemAllocator> allocator = makeAllocator(1, 64);
  ASSERT_EQ(allocator->Commit(), S_OK);
  IMediaSample* sample = nullptr;
  ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  EXPECT_EQ(sample->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
  REFERENCE_TIME t0 = 400000;
  ASSERT_EQ(sample->SetTime(&t0, nullptr), S_OK);
  EXPECT_EQ(sample->GetTime(&start, &stop), VFW_S_NO_STOP_TIME);
  EXPECT_EQ(start, 400000);
  EXPECT_EQ(stop, 400001);
  EXPECT_EQ(sample->SetActualDataLength(65), VFW_E_BUFFER_OVERFLOW);
  EXPECT_EQ(sample->SetActualDataLength(10), S_OK);
  EXPECT_EQ(sample->GetActualDataLength(), 10);
  sample->SetDiscontinuity(TRUE);
  CMediaType changed = dstest::videoType(MEDIASUBTYPE_RGB24);
  sample->SetMediaType(&changed);
  AM_MEDIA_TYPE* got = nullptr;
  ASSERT_EQ(sample->GetMediaType(&got), S_OK);
  EXPECT_EQ(got->subtype, MEDIASUBTYPE_RGB24);
  DeleteMediaType(got);
  sample->Release();

  // The same buffer comes back clean.
  ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(sample->IsDiscontinuity(), S_FALSE);
  EXPECT_EQ(sample->GetMediaType(&got), S_FALSE);
  EXPECT_EQ(sample->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
  EXPECT_EQ(sample->GetActualDataLength(), 64);
  sample->Release();
}
