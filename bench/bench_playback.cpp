// MPEG-2 playback's decoding: eight seconds of 720 x 576 MPEG-2 pictures (a moving
// gradient, so no two are alike) in a program stream, read by the file source, split by
// the MPEG-2 Splitter, decoded by the platform's MPEG video decoder into YUY2 and
// discarded by the Null Renderer, without a clock; processor and wall time per picture.
// Beside it, FFmpeg's command line does the same work: it decodes the same file on one
// thread, converts the pictures to YUY2 as ours are (the same unfiltered conversion, on
// one filter thread too) and discards them (its own -benchmark figures, which leave out
// its start-up as ours leave out building the graph).
#include <com/ComPtr.h>
#include <com/objbase.h>
#include <dshow/dshow.h>
#include <machine/Machine.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <benchmark/benchmark.h>

#include "support/BenchMachine.h"
#include "support/GraphRun.h"
#include "support/SideBySide.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace {

using plat::ComPtr;

constexpr int kWidth = 720;
constexpr int kHeight = 576;
constexpr int kFrames = 200;
constexpr auto kToolLimit = std::chrono::seconds(120);

// Writes the pictures as MPEG-2 video in a program stream; false when FFmpeg cannot.
bool writeMpeg(const std::filesystem::path& file) {
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG2VIDEO);
  AVFormatContext* format = nullptr;
  if (!codec || avformat_alloc_output_context2(&format, nullptr, "vob", file.c_str()) < 0) return false;
  AVCodecContext* encoder = avcodec_alloc_context3(codec);
  encoder->width = kWidth;
  encoder->height = kHeight;
  encoder->time_base = {1, 25};
  encoder->framerate = {25, 1};
  encoder->gop_size = 12;
  encoder->max_b_frames = 2;
  encoder->bit_rate = 6'000'000;
  encoder->pix_fmt = AV_PIX_FMT_YUV420P;
  bool ok = avcodec_open2(encoder, codec, nullptr) >= 0;
  AVStream* stream = ok ? avformat_new_stream(format, nullptr) : nullptr;
  ok = stream && avcodec_parameters_from_context(stream->codecpar, encoder) >= 0 &&
       avio_open(&format->pb, file.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(format, nullptr) >= 0;
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  for (int n = 0; ok && n <= kFrames; ++n) {
    AVFrame* sent = nullptr;
    if (n < kFrames) {
      av_frame_unref(frame);
      frame->format = AV_PIX_FMT_YUV420P;
      frame->width = kWidth;
      frame->height = kHeight;
      ok = av_frame_get_buffer(frame, 0) >= 0;
      for (int y = 0; ok && y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) frame->data[0][y * frame->linesize[0] + x] = static_cast<uint8_t>(x + y + 8 * n);
      for (int y = 0; ok && y < kHeight / 2; ++y)
        for (int x = 0; x < kWidth / 2; ++x) {
          frame->data[1][y * frame->linesize[1] + x] = static_cast<uint8_t>(128 + x - n);
          frame->data[2][y * frame->linesize[2] + x] = static_cast<uint8_t>(128 + y + n);
        }
      frame->pts = n;
      sent = frame;
    }
    ok = ok && avcodec_send_frame(encoder, sent) >= 0;
    while (ok && avcodec_receive_packet(encoder, packet) == 0) {
      av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
      packet->stream_index = stream->index;
      av_interleaved_write_frame(format, packet);
    }
  }
  ok = ok && av_write_trailer(format) == 0;
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&encoder);
  if (format->pb) avio_closep(&format->pb);
  avformat_free_context(format);
  return ok;
}

ComPtr<IBaseFilter> add(IGraphBuilder* graph, REFCLSID clsid, const wchar_t* name) {
  ComPtr<IBaseFilter> filter;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()))) return {};
  graph->AddFilter(filter.get(), name);
  return filter;
}

ComPtr<IPin> pin(IBaseFilter* filter, const wchar_t* id) {
  ComPtr<IPin> found;
  filter->FindPin(id, found.put());
  return found;
}

// File source -> MPEG-2 Splitter -> MPEG Video Decoder -> Null Renderer, with no clock.
ComPtr<IGraphBuilder> buildGraph() {
  ComPtr<IGraphBuilder> graph;
  CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid());
  ComPtr<IBaseFilter> source;
  if (!graph || FAILED(graph->AddSourceFilter(L"C:\\bench.mpg", L"Source", source.put()))) return {};
  ComPtr<IBaseFilter> splitter = add(graph.get(), CLSID_MPEG2Splitter, L"Splitter");
  ComPtr<IBaseFilter> decoder = add(graph.get(), CLSID_CMpegVideoCodec, L"Decoder");
  ComPtr<IBaseFilter> sink = add(graph.get(), CLSID_NullRenderer, L"Sink");
  if (!splitter || !decoder || !sink) return {};
  if (FAILED(graph->ConnectDirect(pin(source.get(), L"Output").get(), pin(splitter.get(), L"Input").get(), nullptr)) ||
      FAILED(graph->ConnectDirect(pin(splitter.get(), L"Video").get(), pin(decoder.get(), L"In").get(), nullptr)) ||
      FAILED(graph->ConnectDirect(pin(decoder.get(), L"Out").get(), pin(sink.get(), L"In").get(), nullptr)))
    return {};
  // The decoder must give whole YUY2 pictures, or the rate measured is not decoding's.
  AM_MEDIA_TYPE type{};
  if (FAILED(pin(sink.get(), L"In")->ConnectionMediaType(&type))) return {};
  const bool pictures = type.subtype == MEDIASUBTYPE_YUY2 &&
                        reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader.biWidth == kWidth;
  FreeMediaType(type);
  if (!pictures) return {};
  ComPtr<IMediaFilter> timing;
  graph->QueryInterface(IID_IMediaFilter, timing.putVoid());
  timing->SetSyncSource(nullptr);
  return graph;
}

// The pictures in C:\bench.mpg of a fresh machine, written once; false when FFmpeg could
// not write them.
bool WriteFile() {
  static const bool written = [] {
    bench::OpenMachine();
    return writeMpeg(plat::Machine::current().paths().driveFolder('C') / "bench.mpg");
  }();
  return written;
}

std::string ffmpegArguments() {
  const auto file = plat::Machine::current().paths().driveFolder('C') / "bench.mpg";
  return "-threads 1 -filter_threads 1 -i '" + file.string() +
         "' -an -sws_flags neighbor -pix_fmt yuyv422 -f null -";
}

void BM_DecodeMpeg2Pictures(benchmark::State& state) {
  if (!WriteFile()) {
    state.SkipWithError("FFmpeg could not write the MPEG-2 file");
    return;
  }
  CoInitialize(nullptr);
  ComPtr<IGraphBuilder> graph = buildGraph();
  if (!graph) {
    state.SkipWithError("the playback graph could not be built");
    CoUninitialize();
    return;
  }
  ComPtr<IMediaSeeking> seeking;
  graph->QueryInterface(IID_IMediaSeeking, seeking.putVoid());
  bench::SideBySide figures("ms_per_picture", 1e3);
  for (auto _ : state) {
    const auto ours = bench::RunGraphToEnd(graph.get(), kToolLimit);
    // Back to the start for the next round.
    LONGLONG start = 0;
    seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    if (!ours) {
      state.SkipWithError("the stream did not end");
      break;
    }
    figures.addOurs(*ours, kFrames);
    figures.addAnchor(bench::RunFfmpeg(ffmpegArguments(), kToolLimit), kFrames);
  }
  figures.report(state, "FFmpeg, 1 decoding thread and 1 filter thread, decoding to YUY2",
                 bench::FfmpegCommand(ffmpegArguments()));
  seeking.reset();
  graph.reset();
  CoUninitialize();
}
BENCHMARK(BM_DecodeMpeg2Pictures)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench::Main(argc, argv, nullptr); }
