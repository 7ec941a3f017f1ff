// The MPEG video decoder between a source of MPEG-2 packets and a sink: its YUY2 pictures
// carry each pixel's luma and the chroma of its pair and row pair, and every sample it
// took goes back to the source's allocator by the end of the stream, however many
// buffers that allocator has.
#include "GraphTest.h"

#include <support/Settling.h>

#include <dshow/baseclasses/CBaseAllocator.h>
#include <dshow/baseclasses/CTransInPlaceFilter.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

using plat::ComPtr;

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr int kPictures = 25;

// The painted picture: luma by column and row, U by chroma row, V by chroma column.
int lumaAt(int x, int y) { return 40 + 2 * x + y; }
int uAt(int chromaRow) { return 60 + 5 * chromaRow; }
int vAt(int chromaColumn) { return 200 - 3 * chromaColumn; }

// kPictures of the painted picture as MPEG-2 packets in decoding order, in groups of
// twelve with B-pictures between the anchors, at the finest quantiser.
std::vector<std::vector<std::uint8_t>> encodePictures() {
  std::vector<std::vector<std::uint8_t>> packets;
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG2VIDEO);
  AVCodecContext* encoder = codec ? avcodec_alloc_context3(codec) : nullptr;
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  if (!encoder || !frame || !packet) return packets;
  encoder->width = kWidth;
  encoder->height = kHeight;
  encoder->pix_fmt = AV_PIX_FMT_YUV420P;
  encoder->time_base = {1, 25};
  encoder->gop_size = 12;
  encoder->max_b_frames = 2;
  encoder->flags |= AV_CODEC_FLAG_QSCALE;
  encoder->global_quality = FF_QP2LAMBDA;
  frame->format = AV_PIX_FMT_YUV420P;
  frame->width = kWidth;
  frame->height = kHeight;
  bool ok = avcodec_open2(encoder, codec, nullptr) >= 0 && av_frame_get_buffer(frame, 0) >= 0;
  for (int y = 0; ok && y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) frame->data[0][y * frame->linesize[0] + x] = static_cast<uint8_t>(lumaAt(x, y));
  for (int y = 0; ok && y < kHeight / 2; ++y)
    for (int x = 0; x < kWidth / 2; ++x) {
      frame->data[1][y * frame->linesize[1] + x] = static_cast<uint8_t>(uAt(y));
      frame->data[2][y * frame->linesize[2] + x] = static_cast<uint8_t>(vAt(x));
    }
  for (int n = 0; ok && n <= kPictures; ++n) {
    if (n < kPictures) frame->pts = n;
    ok = avcodec_send_frame(encoder, n < kPictures ? frame : nullptr) >= 0;
    while (ok && avcodec_receive_packet(encoder, packet) == 0) {
      packets.emplace_back(packet->data, packet->data + packet->size);
      av_packet_unref(packet);
    }
  }
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&encoder);
  return ok ? packets : std::vector<std::vector<std::uint8_t>>{};
}

CMediaType mpegType() {
  CMediaType type(&MEDIATYPE_Video);
  type.SetSubtype(&MEDIASUBTYPE_MPEG2_VIDEO);
  type.SetFormatType(&FORMAT_VideoInfo);
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
  *info = VIDEOINFOHEADER{};
  info->AvgTimePerFrame = 400'000;
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = kWidth;
  info->bmiHeader.biHeight = kHeight;
  type.SetTemporalCompression(TRUE);
  type.SetVariableSize();
  return type;
}

// Pushes the packets, one a sample, through an allocator of `buffers` samples.
class PacketSource : public CSource {
 public:
  PacketSource(std::vector<std::vector<std::uint8_t>> packets, long buffers)
      : CSource("Packet source", nullptr, GUID_NULL), m_stream(new Stream(this, std::move(packets), buffers)) {}
  // Samples of the allocator not back in it.
  long outstanding() { return m_stream->outstanding(); }

 private:
  class Stream : public CSourceStream {
   public:
    Stream(PacketSource* filter, std::vector<std::vector<std::uint8_t>> packets, long buffers)
        : CSourceStream("Packet stream", &m_hr, filter, L"Out"), m_packets(std::move(packets)), m_buffers(buffers) {}
    long outstanding() { return dynamic_cast<CBaseAllocator*>(m_pAllocator)->OutstandingCount(); }
    HRESULT GetMediaType(CMediaType* type) override {
      *type = mpegType();
      return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* props) override {
      ALLOCATOR_PROPERTIES wanted = *props;
      wanted.cBuffers = m_buffers;
      wanted.cbBuffer = 64 * 1024;
      ALLOCATOR_PROPERTIES actual{};
      return alloc->SetProperties(&wanted, &actual);
    }
    HRESULT OnThreadStartPlay() override {
      m_next = 0;
      return S_OK;
    }
    HRESULT FillBuffer(IMediaSample* sample) override {
      if (m_next >= m_packets.size()) return S_FALSE;
      const auto& packet = m_packets[m_next++];
      BYTE* data = nullptr;
      sample->GetPointer(&data);
      std::memcpy(data, packet.data(), packet.size());
      sample->SetActualDataLength(static_cast<long>(packet.size()));
      return S_OK;
    }

   private:
    HRESULT m_hr = S_OK;
    std::vector<std::vector<std::uint8_t>> m_packets;
    long m_buffers;
    size_t m_next = 0;
  };
  Stream* m_stream;
};

// Passes YUY2 pictures on, keeping the bytes of the first.
class FirstPicture : public CTransInPlaceFilter {
 public:
  FirstPicture() : CTransInPlaceFilter("First picture", nullptr, GUID_NULL, nullptr) {}
  HRESULT CheckInputType(const CMediaType* type) override {
    return *type->Subtype() == MEDIASUBTYPE_YUY2 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
  }
  HRESULT Transform(IMediaSample* sample) override {
    std::lock_guard guard(m_lock);
    if (!m_bytes.empty()) return S_OK;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    m_bytes.assign(data, data + sample->GetActualDataLength());
    return S_OK;
  }
  std::vector<std::uint8_t> bytes() {
    std::lock_guard guard(m_lock);
    return m_bytes;
  }

 private:
  std::mutex m_lock;
  std::vector<std::uint8_t> m_bytes;
};

class MpegVideoDecoderTest : public dstest::GraphTest {
 protected:
  // Source -> decoder -> first picture -> sink, run until the sink has the end of stream.
  void play(long sourceBuffers) {
    const auto packets = encodePictures();
    ASSERT_FALSE(packets.empty());
    source = add(new PacketSource(packets, sourceBuffers), L"Source");
    ASSERT_EQ(CoCreateInstance(CLSID_CMpegVideoCodec, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               decoder.putVoid()),
              S_OK);
    ASSERT_EQ(graph->AddFilter(decoder.get(), L"Decoder"), S_OK);
    first = add(new FirstPicture(), L"First picture");
    sink = add(new dstest::SinkFilter({MEDIASUBTYPE_YUY2}), L"Sink");
    ASSERT_EQ(graph->ConnectDirect(dstest::firstPin(source, PINDIR_OUTPUT), dstest::firstPin(decoder.get(), PINDIR_INPUT),
                                   nullptr),
              S_OK);
    ASSERT_EQ(graph->ConnectDirect(dstest::firstPin(decoder.get(), PINDIR_OUTPUT), dstest::firstPin(first, PINDIR_INPUT),
                                   nullptr),
              S_OK);
    ASSERT_EQ(graph->ConnectDirect(dstest::firstPin(first, PINDIR_OUTPUT), sink->input(), nullptr), S_OK);
    ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return sink->endOfStreams() == 1; }));
  }
  void TearDown() override {
    if (graph) graphAs<IMediaControl>(IID_IMediaControl)->Stop();
    if (sink) dstest::disconnectAll({source, decoder.get(), first, sink});
    GraphTest::TearDown();
  }

  PacketSource* source = nullptr;
  ComPtr<IBaseFilter> decoder;
  FirstPicture* first = nullptr;
  dstest::SinkFilter* sink = nullptr;
};

TEST_F(MpegVideoDecoderTest, EachPixelCarriesItsLumaAndTheChromaOfItsPairAndRowPair) {
  play(48);
  const std::vector<std::uint8_t> yuy2 = first->bytes();
  ASSERT_EQ(yuy2.size(), static_cast<size_t>(kWidth * kHeight * 2));
  // The finest quantiser keeps smooth ramps within a step or two.
  const auto near = [](int got, int painted) { return std::abs(got - painted) <= 3; };
  for (int y = 0; y < kHeight; ++y)
    for (int pair = 0; pair < kWidth / 2; ++pair) {
      const std::uint8_t* at = yuy2.data() + (y * kWidth + 2 * pair) * 2;
      ASSERT_PRED2(near, at[0], lumaAt(2 * pair, y)) << "row " << y << ", pair " << pair;
      ASSERT_PRED2(near, at[1], uAt(y / 2)) << "row " << y << ", pair " << pair;
      ASSERT_PRED2(near, at[2], lumaAt(2 * pair + 1, y)) << "row " << y << ", pair " << pair;
      ASSERT_PRED2(near, at[3], vAt(pair)) << "row " << y << ", pair " << pair;
    }
}

// 25 pictures are no whole number of a quarter of 48 buffers: the last few decoded must
// go back at the end of the stream.
TEST_F(MpegVideoDecoderTest, EverySampleIsBackUpstreamByTheEndOfTheStream) {
  play(48);
  EXPECT_EQ(sink->samples().size(), static_cast<size_t>(kPictures));
  EXPECT_EQ(source->outstanding(), 0);
}

// A source of two buffers, each one waited for, gets every one back as soon as it is
// decoded from.
TEST_F(MpegVideoDecoderTest, ASourceOfTwoBuffersGetsEachBackAtOnce) {
  play(2);
  EXPECT_EQ(sink->samples().size(), static_cast<size_t>(kPictures));
  EXPECT_EQ(source->outstanding(), 0);
}

}  // namespace
