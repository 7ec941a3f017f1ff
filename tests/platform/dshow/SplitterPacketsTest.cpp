// The splitter's samples carry the demuxer's packets themselves where the input takes
// them as they are, and copies where it asks for aligned buffers: either way the bytes
// reaching the input are the file's packets, and stay so while the input holds them.
#include "GraphTest.h"

#include "MediaFileWriter.h"

#include <dshow/filters/PacketAllocator.h>
#include <dshow/filters/PacketSample.h>
#include <support/Settling.h>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/buffer.h>
}

#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string_view>

using dstest::MediaFileWriter;
using plat::ComPtr;

namespace {

std::size_t digest(const BYTE* data, long length) {
  return std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(data), static_cast<size_t>(length)));
}

// The digests of the file's video packets, read with libavformat alone.
std::vector<std::size_t> videoPackets(const std::filesystem::path& file) {
  std::vector<std::size_t> found;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, file.c_str(), nullptr, nullptr) < 0) return found;
  AVPacket* packet = av_packet_alloc();
  if (avformat_find_stream_info(format, nullptr) >= 0) {
    const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    while (av_read_frame(format, packet) >= 0) {
      if (packet->stream_index == video) found.push_back(digest(packet->data, packet->size));
      av_packet_unref(packet);
    }
  }
  av_packet_free(&packet);
  avformat_close_input(&format);
  return found;
}

// Takes any video, asking for buffers aligned to `align` bytes (1: no need), and records
// each sample's digest. It keeps the last few samples to look at their bytes again at
// the end of the stream, when the splitter has long moved on.
class DigestSink : public CBaseFilter {
 public:
  static constexpr size_t kKept = 4;

  explicit DigestSink(long align) : CBaseFilter("Digest sink", nullptr, &m_lock, GUID_NULL), m_pin(this, align) {}
  ~DigestSink() override { releaseKept(); }

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
  IPin* input() { return &m_pin; }

  std::vector<std::size_t> digests() {
    std::lock_guard guard(m_dataLock);
    return m_digests;
  }
  bool ended() {
    std::lock_guard guard(m_dataLock);
    return m_ended;
  }
  bool allAligned() {
    std::lock_guard guard(m_dataLock);
    return m_allAligned;
  }
  // Whether the kept samples still hold the bytes they came with.
  bool keptUnchanged() {
    std::lock_guard guard(m_dataLock);
    for (const Kept& kept : m_kept) {
      BYTE* data = nullptr;
      kept.sample->GetPointer(&data);
      if (digest(data, kept.sample->GetActualDataLength()) != kept.digest) return false;
    }
    return m_kept.size() == kKept;
  }
  void releaseKept() {
    std::lock_guard guard(m_dataLock);
    for (const Kept& kept : m_kept) kept.sample->Release();
    m_kept.clear();
  }

 private:
  struct Kept {
    IMediaSample* sample;
    std::size_t digest;
  };

  class Pin : public CBaseInputPin {
   public:
    Pin(DigestSink* sink, long align)
        : CBaseInputPin("Digest pin", sink, &sink->m_lock, &m_hr, L"In"), m_sink(sink), m_align(align) {}
    HRESULT CheckMediaType(const CMediaType* pmt) override { return *pmt->Type() == MEDIATYPE_Video ? S_OK : S_FALSE; }
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override {
      if (m_align <= 1) return E_NOTIMPL;
      *props = {};
      props->cbAlign = m_align;
      return S_OK;
    }
    STDMETHODIMP Receive(IMediaSample* sample) override {
      const HRESULT hr = CBaseInputPin::Receive(sample);
      if (hr != S_OK) return hr;
      BYTE* data = nullptr;
      sample->GetPointer(&data);
      const std::size_t got = digest(data, sample->GetActualDataLength());
      std::lock_guard guard(m_sink->m_dataLock);
      m_sink->m_digests.push_back(got);
      if (reinterpret_cast<std::uintptr_t>(data) % static_cast<std::uintptr_t>(m_align) != 0) m_sink->m_allAligned = false;
      sample->AddRef();
      m_sink->m_kept.push_back({sample, got});
      if (m_sink->m_kept.size() > kKept) {
        m_sink->m_kept.front().sample->Release();
        m_sink->m_kept.pop_front();
      }
      return S_OK;
    }
    STDMETHODIMP EndOfStream() override {
      std::lock_guard guard(m_sink->m_dataLock);
      m_sink->m_ended = true;
      return S_OK;
    }

   private:
    HRESULT m_hr = S_OK;
    DigestSink* m_sink;
    long m_align;
  };

  CCritSec m_lock;
  Pin m_pin;
  std::mutex m_dataLock;
  std::vector<std::size_t> m_digests;
  std::deque<Kept> m_kept;
  bool m_ended = false;
  bool m_allAligned = true;
};

class SplitterPacketsTest : public dstest::GraphTest {
 protected:
  // Plays the file's video through the MPEG-2 splitter into `sink` to its end.
  void play(const std::wstring& path, DigestSink* sink) {
    ComPtr<IBaseFilter> source, splitter;
    ASSERT_EQ(CoCreateInstance(CLSID_AsyncReader, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, source.putVoid()),
              S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_MPEG2Splitter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, splitter.putVoid()),
              S_OK);
    ASSERT_EQ(graph->AddFilter(source.get(), L"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(splitter.get(), L"Splitter"), S_OK);
    add(sink, L"Sink");
    ComPtr<IFileSourceFilter> loader;
    ASSERT_EQ(source->QueryInterface(IID_IFileSourceFilter, loader.putVoid()), S_OK);
    ASSERT_EQ(loader->Load(path.c_str(), nullptr), S_OK);
    ComPtr<IPin> input, video;
    ASSERT_EQ(splitter->FindPin(L"Input", input.put()), S_OK);
    ASSERT_EQ(graph->ConnectDirect(dstest::firstPin(source.get(), PINDIR_OUTPUT), input.get(), nullptr), S_OK);
    ASSERT_EQ(splitter->FindPin(L"Video", video.put()), S_OK);
    ASSERT_EQ(graph->ConnectDirect(video.get(), sink->input(), nullptr), S_OK);
    ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
    control->Run();
    EXPECT_TRUE(test::advanceUntil(machine().clock(), [&] { return sink->ended(); }, 100, 60'000));
    control->Stop();
    m_filters = {source, splitter};
  }
  void TearDown() override {
    if (m_filters.size() == 2) dstest::disconnectAll({m_filters[0].get(), m_filters[1].get()});
    m_filters.clear();
    dstest::GraphTest::TearDown();
  }

  std::vector<ComPtr<IBaseFilter>> m_filters;
};

TEST_F(SplitterPacketsTest, AnInputTakingAnyBufferGetsTheFilesPacketsAndKeepsThemWhileItHoldsThem) {
  const auto file = machine().paths().driveFolder('C') / "clip.mpg";
  ASSERT_TRUE(MediaFileWriter::write(file, MediaFileWriter::Kind::MpegProgram, 4.0));
  const std::vector<std::size_t> expected = videoPackets(file);
  ASSERT_GT(expected.size(), 60u);  // more than the splitter's buffers: each carries several packets in turn
  auto* sink = new DigestSink(1);
  ComPtr<IBaseFilter> held(sink);
  ASSERT_NO_FATAL_FAILURE(play(L"C:\\clip.mpg", sink));
  EXPECT_EQ(sink->digests(), expected);
  EXPECT_TRUE(sink->keptUnchanged());
  sink->releaseKept();
}

TEST_F(SplitterPacketsTest, AnInputAskingForAlignedBuffersGetsThePacketsCopiedIntoThem) {
  const auto file = machine().paths().driveFolder('C') / "clip.mpg";
  ASSERT_TRUE(MediaFileWriter::write(file, MediaFileWriter::Kind::MpegProgram, 4.0));
  const std::vector<std::size_t> expected = videoPackets(file);
  auto* sink = new DigestSink(64);
  ComPtr<IBaseFilter> held(sink);
  ASSERT_NO_FATAL_FAILURE(play(L"C:\\clip.mpg", sink));
  EXPECT_EQ(sink->digests(), expected);
  EXPECT_TRUE(sink->allAligned());
  EXPECT_TRUE(sink->keptUnchanged());
  sink->releaseKept();
}

// ---- the allocator on its own

AVBufferRef* bytesOf(std::string_view text) {
  AVBufferRef* buffer = av_buffer_alloc(text.size());
  std::copy(text.begin(), text.end(), buffer->data);
  return buffer;
}

class PacketAllocatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HRESULT hr = S_OK;
    ASSERT_EQ((new plat::PacketAllocator(&hr))->NonDelegatingQueryInterface(IID_IMemAllocator, allocator.putVoid()),
              S_OK);
    ALLOCATOR_PROPERTIES wanted{2, 100, 1, 0}, actual{};
    ASSERT_EQ(allocator->SetProperties(&wanted, &actual), S_OK);
    ASSERT_EQ(allocator->Commit(), S_OK);
  }
  IMediaSample* take() {
    IMediaSample* sample = nullptr;
    EXPECT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, AM_GBF_NOWAIT), S_OK);
    return sample;
  }

  ComPtr<IMemAllocator> allocator;
};

TEST_F(PacketAllocatorTest, AFreeSampleIsEmptyAndAsLargeAsThePacketsItMayCarry) {
  IMediaSample* sample = take();
  BYTE* data = reinterpret_cast<BYTE*>(1);
  sample->GetPointer(&data);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(sample->GetSize(), 100);
  sample->Release();
}

TEST_F(PacketAllocatorTest, ALentPacketIsTheSamplesUntilItComesBackAndThenLetGo) {
  AVBufferRef* kept = bytesOf("packet bytes");
  IMediaSample* sample = take();
  static_cast<plat::PacketSample*>(sample)->lend(plat::PacketBytes(av_buffer_ref(kept)), kept->data + 7, 5);
  EXPECT_EQ(av_buffer_get_ref_count(kept), 2);
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  EXPECT_EQ(std::string_view(reinterpret_cast<char*>(data), static_cast<size_t>(sample->GetActualDataLength())),
            "bytes");
  EXPECT_EQ(sample->GetSize(), 5);

  sample->Release();
  EXPECT_EQ(av_buffer_get_ref_count(kept), 1);
  // The same sample out again is empty and full size.
  IMediaSample* again = take();
  EXPECT_EQ(again, sample);
  EXPECT_EQ(again->GetSize(), 100);
  again->Release();
  av_buffer_unref(&kept);
}

TEST_F(PacketAllocatorTest, DecommittedWithAPacketOutTheSamplesGoWhenItComesBack) {
  AVBufferRef* kept = bytesOf("late");
  IMediaSample* sample = take();
  static_cast<plat::PacketSample*>(sample)->lend(plat::PacketBytes(av_buffer_ref(kept)), kept->data, 4);
  ASSERT_EQ(allocator->Decommit(), S_OK);
  IMediaSample* none = nullptr;
  EXPECT_EQ(allocator->GetBuffer(&none, nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
  EXPECT_EQ(av_buffer_get_ref_count(kept), 2);  // still the sample's
  sample->Release();
  EXPECT_EQ(av_buffer_get_ref_count(kept), 1);
  av_buffer_unref(&kept);
}

}  // namespace
