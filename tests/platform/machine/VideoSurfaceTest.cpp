#include <machine/VideoSurface.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A 2 x 1 frame whose bytes are its two pixels' values; counts its conversions.
struct Frames {
  int conversions = 0;
  void present(plat::VideoSurface& surface, std::uint8_t first, std::uint8_t second) {
    const std::uint8_t bytes[] = {first, second};
    surface.presentLater(2, 1, bytes, sizeof bytes, [this](const std::uint8_t* kept, std::uint32_t* pixels) {
      ++conversions;
      pixels[0] = kept[0];
      pixels[1] = kept[1];
    });
  }
};

TEST(VideoSurfaceTest, AFrameIsConvertedOnceWhenFirstReadAndAnUnreadOneNever) {
  plat::VideoSurface surface;
  Frames frames;
  frames.present(surface, 1, 2);
  frames.present(surface, 3, 4);
  EXPECT_EQ(surface.framesShown(), 2u);
  EXPECT_EQ(frames.conversions, 0);
  EXPECT_EQ(surface.pixel(1, 0), 4u) << "the latest frame, from a copy of its bytes";
  EXPECT_EQ(surface.frame().pixels, (std::vector<std::uint32_t>{3, 4}));
  EXPECT_EQ(frames.conversions, 1) << "the superseded frame is never converted";
}

TEST(VideoSurfaceTest, AFramePaintedInPlaceStartsFromTheLastFramesPixels) {
  plat::VideoSurface surface;
  Frames frames;
  frames.present(surface, 5, 6);
  // Paints nothing, as a renderer's short sample: the frame before still shows.
  surface.present(2, 1, [](std::uint32_t*) {});
  EXPECT_EQ(surface.framesShown(), 2u);
  EXPECT_EQ(surface.frame().pixels, (std::vector<std::uint32_t>{5, 6}));
  EXPECT_EQ(frames.conversions, 1);
}

}  // namespace
