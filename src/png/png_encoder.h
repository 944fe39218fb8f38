// PNG encoding of a 32-bit surface, for picture files and the clipboard.
// Kept out of the core, which uses the standard library only.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace wandrix {

// Encodes width × height pixels of 0xFFRRGGBB (rows top to bottom, no
// padding; the top byte is ignored) as an opaque 8-bit RGB PNG. Nothing for
// an empty or oversized picture or when the encoder fails.
std::optional<std::vector<std::uint8_t>> encode_png(const std::uint32_t* pixels, int width,
                                                    int height);

}  // namespace wandrix
