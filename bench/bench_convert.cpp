// Colour conversions of a 720 x 576 video picture on the hot paths, each beside its anchor
// in the same run: the renderer's YUY2 to RGB and the decoder's 4:2:0 to YUY2 (our row
// converters) beside libswscale doing the same conversion unfiltered, as FFmpeg's command
// line does; the recorder's YUY2 to 4:2:0 (libswscale's unscaled path, as it calls it)
// beside memcpy of the bytes written.
#include <dshow/filters/Yuy2Converter.h>

#include "support/BenchMachine.h"
#include "support/SideBySide.h"

#include <benchmark/benchmark.h>

extern "C" {
#include <libswscale/swscale.h>
}

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 576;

std::vector<std::uint8_t> noise(std::size_t bytes) {
  std::vector<std::uint8_t> v(bytes);
  for (std::size_t i = 0; i < bytes; ++i) v[i] = static_cast<std::uint8_t>(i * 2654435761u >> 11);
  return v;
}

// One picture through libswscale from `from` to `to` at the same size, unfiltered.
class Conversion {
 public:
  Conversion(AVPixelFormat from, AVPixelFormat to)
      : m_context(sws_getContext(kWidth, kHeight, from, kWidth, kHeight, to, SWS_POINT, nullptr, nullptr, nullptr)),
        m_source(noise(static_cast<std::size_t>(kWidth) * kHeight * 4)),
        m_target(static_cast<std::size_t>(kWidth) * kHeight * 4) {
    const bool planarIn = from == AV_PIX_FMT_YUV420P;
    m_in = {m_source.data(), m_source.data() + kWidth * kHeight, m_source.data() + kWidth * kHeight * 5 / 4, nullptr};
    m_inStrides = {planarIn ? kWidth : kWidth * (from == AV_PIX_FMT_YUYV422 ? 2 : 4), kWidth / 2, kWidth / 2, 0};
    m_out = {m_target.data(), m_target.data() + kWidth * kHeight, m_target.data() + kWidth * kHeight * 5 / 4, nullptr};
    m_outStrides = {to == AV_PIX_FMT_YUV420P ? kWidth : kWidth * (to == AV_PIX_FMT_YUYV422 ? 2 : 4), kWidth / 2,
                    kWidth / 2, 0};
  }
  ~Conversion() { sws_freeContext(m_context); }
  Conversion(const Conversion&) = delete;
  Conversion& operator=(const Conversion&) = delete;

  bool ok() const { return m_context != nullptr; }
  void run() { sws_scale(m_context, m_in.data(), m_inStrides.data(), 0, kHeight, m_out.data(), m_outStrides.data()); }

 private:
  SwsContext* m_context;
  std::vector<std::uint8_t> m_source;
  std::vector<std::uint8_t> m_target;
  std::array<const std::uint8_t*, 4> m_in{};
  std::array<int, 4> m_inStrides{};
  std::array<std::uint8_t*, 4> m_out{};
  std::array<int, 4> m_outStrides{};
};

// memcpy of `bytes`: the least any conversion writing them can cost.
std::function<void()> copying(std::size_t bytes) {
  auto from = std::make_shared<std::vector<std::uint8_t>>(noise(bytes));
  auto to = std::make_shared<std::vector<std::uint8_t>>(bytes);
  return [from, to, bytes] { std::memcpy(to->data(), from->data(), bytes); };
}

void BM_Yuy2ToRgb32RowConverter(benchmark::State& state) {
  const auto yuy2 = noise(static_cast<std::size_t>(kWidth) * kHeight * 2);
  std::vector<std::uint32_t> out(static_cast<std::size_t>(kWidth) * kHeight);
  Conversion swscale(AV_PIX_FMT_YUYV422, AV_PIX_FMT_BGRA);
  if (!swscale.ok()) {
    state.SkipWithError("libswscale refuses the conversion");
    return;
  }
  bench::TimeBeside(
      state,
      [&] {
        for (int y = 0; y < kHeight; ++y)
          plat::Yuy2Converter::toPacked(yuy2.data() + static_cast<std::size_t>(y) * kWidth * 2, kWidth,
                                        out.data() + static_cast<std::size_t>(y) * kWidth);
        benchmark::ClobberMemory();
      },
      [&] { swscale.run(); }, "libswscale, YUY2 to BGRA unfiltered");
}
BENCHMARK(BM_Yuy2ToRgb32RowConverter)->Unit(benchmark::kMicrosecond);

// The decoder's conversion of a picture of its decoded size, row by row as it converts.
void BM_DecoderYuv420ToYuy2(benchmark::State& state) {
  const auto planes = noise(static_cast<std::size_t>(kWidth) * kHeight * 3 / 2);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(kWidth) * kHeight * 2);
  Conversion swscale(AV_PIX_FMT_YUV420P, AV_PIX_FMT_YUYV422);
  if (!swscale.ok()) {
    state.SkipWithError("libswscale refuses the conversion");
    return;
  }
  const std::uint8_t* u = planes.data() + kWidth * kHeight;
  const std::uint8_t* v = u + kWidth * kHeight / 4;
  bench::TimeBeside(
      state,
      [&] {
        for (int y = 0; y < kHeight; ++y)
          plat::Yuy2Converter::fromPlanes(planes.data() + static_cast<std::size_t>(y) * kWidth,
                                          u + static_cast<std::size_t>(y / 2) * kWidth / 2,
                                          v + static_cast<std::size_t>(y / 2) * kWidth / 2, kWidth,
                                          out.data() + static_cast<std::size_t>(y) * kWidth * 2);
        benchmark::ClobberMemory();
      },
      [&] { swscale.run(); }, "libswscale, 4:2:0 to YUY2 unfiltered");
}
BENCHMARK(BM_DecoderYuv420ToYuy2)->Unit(benchmark::kMicrosecond);

// The recorder's conversion of a picture of the encoder's size, as it calls libswscale.
void BM_RecorderYuy2ToYuv420(benchmark::State& state) {
  Conversion conversion(AV_PIX_FMT_YUYV422, AV_PIX_FMT_YUV420P);
  bench::TimeBeside(state, [&] { conversion.run(); }, copying(static_cast<std::size_t>(kWidth) * kHeight * 3 / 2),
                    "memcpy of the 4:2:0 picture");
}
BENCHMARK(BM_RecorderYuy2ToYuv420)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return bench::Main(argc, argv, nullptr); }
