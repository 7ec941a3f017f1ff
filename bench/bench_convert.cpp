// Colour conversions of a 720 x 576 video picture on the hot paths, beside memcpy of the
// same bytes: the renderer's YUY2 to RGB (our row converter and libswscale), the
// decoder's 4:2:0 to YUY2 and the recorder's YUY2 to 4:2:0 (libswscale, its filtered
// path and its unscaled one).
#include <dshow/filters/Yuy2Converter.h>

#include <benchmark/benchmark.h>

extern "C" {
#include <libswscale/swscale.h>
}

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 576;

std::vector<std::uint8_t> noise(std::size_t bytes) {
  std::vector<std::uint8_t> v(bytes);
  for (std::size_t i = 0; i < bytes; ++i) v[i] = static_cast<std::uint8_t>(i * 2654435761u >> 11);
  return v;
}

void BM_MemcpyPicture(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(kWidth) * kHeight * static_cast<std::size_t>(state.range(0)) / 8;
  const auto from = noise(bytes);
  std::vector<std::uint8_t> to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetLabel("anchor");
}
BENCHMARK(BM_MemcpyPicture)->ArgName("bits")->Arg(12)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

void BM_Yuy2ToRgb32RowConverter(benchmark::State& state) {
  const auto yuy2 = noise(static_cast<std::size_t>(kWidth) * kHeight * 2);
  std::vector<std::uint32_t> out(static_cast<std::size_t>(kWidth) * kHeight);
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y)
      plat::Yuy2Converter::toPacked(yuy2.data() + static_cast<std::size_t>(y) * kWidth * 2, kWidth,
                                    out.data() + static_cast<std::size_t>(y) * kWidth);
    benchmark::ClobberMemory();
  }
  state.SetLabel("the renderer's");
}
BENCHMARK(BM_Yuy2ToRgb32RowConverter)->Unit(benchmark::kMicrosecond);

// One picture through libswscale from `from` to `to` at the same size.
void convertWithSwscale(benchmark::State& state, AVPixelFormat from, AVPixelFormat to, int flags) {
  SwsContext* context = sws_getContext(kWidth, kHeight, from, kWidth, kHeight, to, flags, nullptr, nullptr, nullptr);
  if (!context) {
    state.SkipWithError("libswscale refuses the conversion");
    return;
  }
  const auto source = noise(static_cast<std::size_t>(kWidth) * kHeight * 4);
  std::vector<std::uint8_t> target(static_cast<std::size_t>(kWidth) * kHeight * 4);
  const int planar = from == AV_PIX_FMT_YUV420P;
  const std::uint8_t* in[4] = {source.data(), source.data() + kWidth * kHeight,
                               source.data() + kWidth * kHeight * 5 / 4, nullptr};
  const int inStrides[4] = {planar ? kWidth : kWidth * (from == AV_PIX_FMT_YUYV422 ? 2 : 4), kWidth / 2, kWidth / 2, 0};
  std::uint8_t* out[4] = {target.data(), target.data() + kWidth * kHeight, target.data() + kWidth * kHeight * 5 / 4,
                          nullptr};
  const int outStrides[4] = {to == AV_PIX_FMT_YUV420P ? kWidth : kWidth * (to == AV_PIX_FMT_YUYV422 ? 2 : 4),
                             kWidth / 2, kWidth / 2, 0};
  for (auto _ : state) {
    sws_scale(context, in, inStrides, 0, kHeight, out, outStrides);
    benchmark::ClobberMemory();
  }
  sws_freeContext(context);
}

void BM_Yuy2ToRgb32Swscale(benchmark::State& state) {
  convertWithSwscale(state, AV_PIX_FMT_YUYV422, AV_PIX_FMT_BGRA, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_Yuy2ToRgb32Swscale)->ArgName("flags")->Arg(SWS_BILINEAR)->Arg(SWS_POINT)->Unit(benchmark::kMicrosecond);

void BM_Yuv420ToYuy2Swscale(benchmark::State& state) {
  convertWithSwscale(state, AV_PIX_FMT_YUV420P, AV_PIX_FMT_YUYV422, static_cast<int>(state.range(0)));
  state.SetLabel("the decoder's");
}
BENCHMARK(BM_Yuv420ToYuy2Swscale)->ArgName("flags")->Arg(SWS_BILINEAR)->Arg(SWS_POINT)->Unit(benchmark::kMicrosecond);

void BM_Yuy2ToYuv420Swscale(benchmark::State& state) {
  convertWithSwscale(state, AV_PIX_FMT_YUYV422, AV_PIX_FMT_YUV420P, static_cast<int>(state.range(0)));
  state.SetLabel("the recorder's");
}
BENCHMARK(BM_Yuy2ToYuv420Swscale)->ArgName("flags")->Arg(SWS_BILINEAR)->Arg(SWS_POINT)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
