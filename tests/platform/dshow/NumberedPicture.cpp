#include "NumberedPicture.h"

#include <algorithm>
#include <cstddef>

namespace dstest {

namespace {

constexpr int kBits = 8;
constexpr NumberedPicture::Rgb kWhite = {255, 255, 255};
constexpr NumberedPicture::Rgb kBlack = {0, 0, 0};
constexpr NumberedPicture::Rgb kBlue = {0, 0, 255};

int Clamp(double value) { return std::clamp(static_cast<int>(value + 0.5), 0, 255); }

}  // namespace

NumberedPicture::Rgb NumberedPicture::colourAt(int number, int x, int y, int width, int height) {
  if (y >= height / 2) return kBlue;
  const int bit = kBits - 1 - x * kBits / width;
  return (number >> bit) & 1 ? kWhite : kBlack;
}

int NumberedPicture::read(const std::function<Rgb(double fx, double fy)>& at) {
  const Rgb below = at(0.5, 0.75);
  if (below.b < 150 || below.r > 100 || below.g > 100) return -1;
  int number = 0;
  for (int i = 0; i < kBits; ++i) {
    const Rgb stripe = at((i + 0.5) / kBits, 0.25);
    const int light = (stripe.r + stripe.g + stripe.b) / 3;
    const bool grey = std::max({stripe.r, stripe.g, stripe.b}) - std::min({stripe.r, stripe.g, stripe.b}) < 60;
    if (!grey || (light > 85 && light < 170)) return -1;
    number = number * 2 + (light >= 170);
  }
  return number;
}

int NumberedPicture::read(const std::uint8_t* pixels, int width, int height, int bytesPerPixel, int stride,
                          bool bottomUp) {
  return read([&](double fx, double fy) {
    const int x = std::clamp(static_cast<int>(fx * width), 0, width - 1);
    const int y = std::clamp(static_cast<int>(fy * height), 0, height - 1);
    const std::uint8_t* at = pixels + static_cast<std::ptrdiff_t>(bottomUp ? height - 1 - y : y) * stride + x * bytesPerPixel;
    return Rgb{at[2], at[1], at[0]};
  });
}

NumberedPicture::Rgb NumberedPicture::fromYuv(int y, int u, int v) {
  const double luma = 1.164 * (y - 16);
  return {Clamp(luma + 1.596 * (v - 128)), Clamp(luma - 0.392 * (u - 128) - 0.813 * (v - 128)),
          Clamp(luma + 2.017 * (u - 128))};
}

int NumberedPicture::shownAt(std::int64_t time, int rateNum, int rateDen) {
  return static_cast<int>(time * rateNum / (static_cast<std::int64_t>(rateDen) * 10'000'000));
}

}  // namespace dstest
