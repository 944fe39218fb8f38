#include "png/png_encoder.h"

#include <png.h>

#include <cstddef>
#include <limits>

namespace wandrix {

std::optional<std::vector<std::uint8_t>> encode_png(const std::uint32_t* pixels, int width,
                                                    int height) {
  // The PNG format allows up to 2^31 - 1 per side; memory sets the real limit.
  constexpr std::size_t kMaxBytes = std::numeric_limits<std::size_t>::max() / 8;
  if (pixels == nullptr || width <= 0 || height <= 0 ||
      static_cast<std::size_t>(width) * 3 > kMaxBytes / static_cast<std::size_t>(height)) {
    return std::nullopt;
  }
  const auto w = static_cast<std::size_t>(width);
  const auto h = static_cast<std::size_t>(height);
  std::vector<std::uint8_t> rgb(w * h * 3);
  for (std::size_t i = 0; i < w * h; ++i) {
    rgb[3 * i] = static_cast<std::uint8_t>(pixels[i] >> 16);
    rgb[3 * i + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
    rgb[3 * i + 2] = static_cast<std::uint8_t>(pixels[i]);
  }

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  // One pass into a buffer of the encoder's own upper bound (a little more
  // than the raw pixels), trimmed afterwards.
  png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
  std::vector<std::uint8_t> png(size);
  const int written =
      png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), 0, nullptr);
  png_image_free(&image);
  if (written == 0) {
    return std::nullopt;
  }
  png.resize(size);
  return png;
}

}  // namespace wandrix
