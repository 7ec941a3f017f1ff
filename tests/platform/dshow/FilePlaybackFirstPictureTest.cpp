// Short MPEG-2 recordings made the way the recorder makes them (a program stream of
// 2048-byte packs, pictures in groups of twelve with two B-pictures between anchors),
// read by the file source, the MPEG-2 splitter and the MPEG video decoder into a sink.
// Each picture is one flat grey of its own, so the sink's first byte tells which one
// arrived. Every picture must come out, the first one first, and a seek must give the
// picture at its position at once rather than wait for the next group.
#include "GraphTest.h"

#include <support/Settling.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

using plat::ComPtr;

namespace {

constexpr int kWidth = 352;
constexpr int kHeight = 288;
constexpr REFERENCE_TIME kFrame = 400'000;

int greyOf(int picture) { return 30 + 8 * picture % 200; }

// The top rows of picture n are the flat grey greyOf(n); below them a pattern moving
// one pixel a picture makes the pictures as large as a camera's, so the first
// I-picture spans several packs.
void paint(AVFrame& frame, int n) {
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const unsigned seed = static_cast<unsigned>((x + n) * 2654435761u) ^ static_cast<unsigned>(y * 40503u);
      frame.data[0][y * frame.linesize[0] + x] = static_cast<uint8_t>(y < 32 ? greyOf(n) : 16 + (seed >> 8) % 220);
    }
  for (int plane = 1; plane < 3; ++plane)
    for (int y = 0; y < kHeight / 2; ++y) std::memset(frame.data[plane] + y * frame.linesize[plane], 128, kWidth / 2);
}

// Picture n is the flat grey greyOf(n); false when FFmpeg could not write the file.
bool writeRecording(const std::filesystem::path& file, int pictures) {
  AVFormatContext* format = nullptr;
  if (avformat_alloc_output_context2(&format, nullptr, "vob", file.c_str()) < 0) return false;
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG2VIDEO);
  AVCodecContext* video = codec ? avcodec_alloc_context3(codec) : nullptr;
  AVStream* stream = avformat_new_stream(format, nullptr);
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  bool ok = video && stream && frame && packet;
  if (ok) {
    video->width = kWidth;
    video->height = kHeight;
    video->pix_fmt = AV_PIX_FMT_YUV420P;
    video->time_base = {1, 25};
    video->framerate = {25, 1};
    video->bit_rate = 6'000'000;
    video->gop_size = 12;
    video->max_b_frames = 2;
    ok = avcodec_open2(video, codec, nullptr) >= 0 && avcodec_parameters_from_context(stream->codecpar, video) >= 0;
  }
  if (ok) {
    stream->time_base = video->time_base;
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = kWidth;
    frame->height = kHeight;
    ok = av_frame_get_buffer(frame, 0) >= 0 && avio_open(&format->pb, file.c_str(), AVIO_FLAG_WRITE) >= 0 &&
         avformat_write_header(format, nullptr) >= 0;
  }
  auto encode = [&](const AVFrame* picture) {
    avcodec_send_frame(video, picture);
    while (avcodec_receive_packet(video, packet) == 0) {
      av_packet_rescale_ts(packet, video->time_base, stream->time_base);
      packet->stream_index = stream->index;
      av_interleaved_write_frame(format, packet);
    }
  };
  for (int n = 0; ok && n < pictures; ++n) {
    ok = av_frame_make_writable(frame) >= 0;
    if (ok) paint(*frame, n);
    frame->pts = n;
    if (ok) encode(frame);
  }
  if (ok) {
    encode(nullptr);
    ok = av_write_trailer(format) >= 0;
  }
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&video);
  if (format->pb) avio_closep(&format->pb);
  avformat_free_context(format);
  return ok;
}

class FilePlaybackFirstPictureTest : public dstest::GraphTest {
 protected:
  void TearDown() override {
    if (graph) graphAs<IMediaControl>(IID_IMediaControl)->Stop();
    if (sink) dstest::disconnectAll({source.get(), splitter.get(), decoder.get(), sink});
    GraphTest::TearDown();
  }

  // Source, splitter, decoder and sink connected for a recording of `pictures`.
  void build(int pictures) {
    const std::string name = "rec" + std::to_string(pictures) + ".mpg";
    ASSERT_TRUE(writeRecording(machine().paths().driveFolder('C') / name, pictures));
    const std::wstring path = L"C:\\" + std::wstring(name.begin(), name.end());
    for (auto [clsid, filter, label] : {std::tuple{&CLSID_AsyncReader, &source, L"Source"},
                                        std::tuple{&CLSID_MPEG2Splitter, &splitter, L"Splitter"},
                                        std::tuple{&CLSID_CMpegVideoCodec, &decoder, L"Decoder"}}) {
      ASSERT_EQ(CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter->putVoid()), S_OK);
      ASSERT_EQ(graph->AddFilter(filter->get(), label), S_OK);
    }
    sink = add(new dstest::SinkFilter({MEDIASUBTYPE_YUY2}), L"Sink");
    ComPtr<IFileSourceFilter> loader;
    ASSERT_EQ(source->QueryInterface(IID_IFileSourceFilter, loader.putVoid()), S_OK);
    ASSERT_EQ(loader->Load(path.c_str(), nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(pin(source.get(), L"Output"), pin(splitter.get(), L"Input"), nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(pin(splitter.get(), L"Video"), dstest::firstPin(decoder.get(), PINDIR_INPUT), nullptr),
              S_OK);
    ASSERT_EQ(graph->ConnectDirect(dstest::firstPin(decoder.get(), PINDIR_OUTPUT), sink->input(), nullptr), S_OK);
  }
  IPin* pin(IBaseFilter* filter, const wchar_t* name) {
    ComPtr<IPin> found;
    EXPECT_EQ(filter->FindPin(name, found.put()), S_OK) << name;
    return found.get();  // the filter holds it
  }
  // Plays from `position` to the end; the pictures that arrived, in their order.
  std::vector<dstest::ReceivedSample> playFrom(REFERENCE_TIME position) {
    ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
    control->Stop();
    LONGLONG at = position;
    EXPECT_EQ(graphAs<IMediaSeeking>(IID_IMediaSeeking)
                  ->SetPositions(&at, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
              S_OK);
    const size_t before = sink->samples().size();
    const int ends = sink->endOfStreams();
    EXPECT_EQ(control->Run(), S_OK);
    EXPECT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return sink->endOfStreams() > ends; }));
    const auto all = sink->samples();
    return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
  }
  // The pictures from `first` to the last of `pictures`, each once, timed from `start`.
  static void expectPictures(const std::vector<dstest::ReceivedSample>& got, int first, int pictures,
                             REFERENCE_TIME start) {
    ASSERT_EQ(got.size(), static_cast<size_t>(pictures - first));
    for (size_t i = 0; i < got.size(); ++i) {
      SCOPED_TRACE("picture " + std::to_string(first + static_cast<int>(i)));
      EXPECT_LE(std::abs(got[i].frame - greyOf(first + static_cast<int>(i))), 2);
      EXPECT_TRUE(got[i].timed);
      EXPECT_EQ(got[i].start, (first + static_cast<int>(i)) * kFrame - start);
    }
  }

  ComPtr<IBaseFilter> source, splitter, decoder;
  dstest::SinkFilter* sink = nullptr;
};

TEST_F(FilePlaybackFirstPictureTest, ARecordingOfFourPicturesGivesAllFourFromTheFirst) {
  build(4);
  expectPictures(playFrom(0), 0, 4, 0);
}

TEST_F(FilePlaybackFirstPictureTest, ARecordingOfTwentyFivePicturesGivesAllFromTheFirst) {
  build(25);
  expectPictures(playFrom(0), 0, 25, 0);
}

TEST_F(FilePlaybackFirstPictureTest, ASeekGivesThePictureAtItsPositionFirst) {
  build(25);
  playFrom(0);
  // Mid-group: the decoder starts from the group's I-picture, which is not shown.
  expectPictures(playFrom(13 * kFrame), 13, 25, 13 * kFrame);
  expectPictures(playFrom(5 * kFrame), 5, 25, 5 * kFrame);
  expectPictures(playFrom(0), 0, 25, 0);
}

TEST_F(FilePlaybackFirstPictureTest, ASeekSecondsIntoALongerRecordingStartsFromTheGroupBeforeIt) {
  build(75);
  // 2 s is the first picture of a group; 2.44 s is mid-group, 2.84 s late in one.
  for (const int picture : {50, 61, 71, 48}) {
    SCOPED_TRACE("seek to picture " + std::to_string(picture));
    expectPictures(playFrom(picture * kFrame), picture, 75, picture * kFrame);
  }
}

}  // namespace
