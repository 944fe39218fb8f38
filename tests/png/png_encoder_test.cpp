// PNG pictures decode back, with an independent reader (libpng), to exactly
// the pixels of the surface they were made from.
#include "png/png_encoder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <random>

namespace wandrix {
namespace {

struct Decoded {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

Decoded decode(const std::vector<std::uint8_t>& png) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Decoded out;
  if (png_image_begin_read_from_memory(&image, png.data(), png.size()) == 0) {
    ADD_FAILURE() << image.message;
    return out;
  }
  EXPECT_EQ(image.format & PNG_FORMAT_FLAG_ALPHA, 0u);  // opaque
  image.format = PNG_FORMAT_RGB;
  out.rgb.resize(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) == 0) {
    ADD_FAILURE() << image.message;
  }
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  return out;
}

TEST(EncodePng, DecodesToTheSamePixels) {
  const int sizes[][2] = {{1, 1}, {3, 2}, {800, 600}, {1, 257}, {640, 401}};
  std::mt19937 random(5);
  for (const auto& size : sizes) {
    const int w = size[0];
    const int h = size[1];
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w * h));
    // Noise where nothing repeats, then runs of a few colours, where
    // matches of every length and distance occur.
    const bool noise = (w * h) % 2 == 0;
    const std::uint32_t palette[] = {0xFF000000u, 0xFFFFFF00u, 0xFF00FF00u, 0xFF0000FFu};
    for (std::size_t i = 0; i < pixels.size();) {
      const std::size_t run = noise ? 1 : 1 + random() % 40;
      const std::uint32_t colour =
          noise ? 0xFF000000u | (random() & 0xFFFFFFu) : palette[random() % 4];
      for (std::size_t k = 0; k < run && i < pixels.size(); ++k, ++i) {
        pixels[i] = colour;
      }
    }
    pixels[0] = 0xFF123456u;
    const auto png = encode_png(pixels.data(), w, h);
    ASSERT_TRUE(png.has_value());
    EXPECT_EQ((*png)[1], 'P');
    const Decoded back = decode(*png);
    ASSERT_EQ(back.width, w);
    ASSERT_EQ(back.height, h);
    EXPECT_EQ(back.rgb[0], 0x12);
    EXPECT_EQ(back.rgb[1], 0x34);
    EXPECT_EQ(back.rgb[2], 0x56);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      const std::uint32_t p = pixels[i];
      ASSERT_EQ(back.rgb[3 * i], (p >> 16) & 0xFF) << i;
      ASSERT_EQ(back.rgb[3 * i + 1], (p >> 8) & 0xFF) << i;
      ASSERT_EQ(back.rgb[3 * i + 2], p & 0xFF) << i;
    }
  }
}

TEST(EncodePng, AFlatPictureIsSmall) {
  std::vector<std::uint32_t> black(800 * 600, 0xFF000000u);
  const auto png = encode_png(black.data(), 800, 600);
  ASSERT_TRUE(png.has_value());
  EXPECT_LT(png->size(), 10000u);
}

TEST(EncodePng, NothingForAnEmptyPicture) {
  const std::uint32_t pixel = 0xFFFFFFFFu;
  EXPECT_FALSE(encode_png(&pixel, 0, 1).has_value());
  EXPECT_FALSE(encode_png(&pixel, 1, -1).has_value());
  EXPECT_FALSE(encode_png(nullptr, 1, 1).has_value());
}

}  // namespace
}  // namespace wandrix
