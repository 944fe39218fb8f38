#include "view/picture_export.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

#include "files/atomic_file.h"
#include "files/file_chooser.h"
#include "view/emf_canvas.h"
#include "view/paint.h"
#include "view/raster_canvas.h"
#include "view/svg_canvas.h"

namespace wandrix {
namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// One hundredth of a millimetre per unit: trunc(pixels x (mm / px) x 100).
int hundredths(int pixels, int millimetres, int screen_pixels) {
  return to_pixel(pixels * (static_cast<double>(millimetres) / screen_pixels) * 100.0);
}

std::string_view as_text(const std::vector<std::uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The encoder given, or else the host's.
PngEncoder encoder_or_host(Simulation& sim, const PngEncoder& encoder) {
  if (encoder) {
    return encoder;
  }
  Host& host = sim.host();
  return [&host](const std::uint32_t* pixels, int width, int height) {
    return host.encode_png(pixels, width, height);
  };
}

}  // namespace

std::optional<PictureFormat> picture_format_of(const std::string& path) {
  const std::string extension = lower(std::filesystem::path(path).extension().string());
  if (extension == ".emf") {
    return PictureFormat::emf;
  }
  if (extension == ".svg") {
    return PictureFormat::svg;
  }
  if (extension == ".png") {
    return PictureFormat::png;
  }
  return std::nullopt;
}

std::optional<std::string> raster_size_problem(const Rect& client) {
  const std::int64_t width = client.width();
  const std::int64_t height = client.height();
  if (width <= kMaxRasterSide && height <= kMaxRasterSide && width * height <= kMaxRasterPixels) {
    return std::nullopt;
  }
  return "a picture of " + std::to_string(width) + " by " + std::to_string(height) +
         " pixels is too large for PNG (at most 8192 by 8192 pixels, 32767 on a side)";
}

std::optional<Rect> picture_frame(const Rect& client, const ScreenMetrics& screen) {
  if (screen.width_px <= 0 || screen.height_px <= 0 || screen.width_mm <= 0 ||
      screen.height_mm <= 0) {
    return std::nullopt;
  }
  return Rect{0, 0, hundredths(client.width(), screen.width_mm, screen.width_px),
              hundredths(client.height(), screen.height_mm, screen.height_px)};
}

std::vector<std::uint8_t> metafile_picture(Simulation& sim, const Rect& client,
                                           std::optional<Rect> frame, const std::string& app,
                                           const std::string& title) {
  EmfCanvas canvas(sim.host().screen_metrics(), frame, app, title);
  paint(sim, canvas, client, true);
  return canvas.finish();
}

std::string svg_picture(Simulation& sim, const Rect& client, const std::string& title,
                        const PngEncoder& encoder) {
  SvgCanvas canvas(client.width(), client.height(), title, encoder_or_host(sim, encoder));
  paint(sim, canvas, client, true);
  return canvas.finish();
}

std::optional<std::vector<std::uint8_t>> png_picture(Simulation& sim, const Rect& client,
                                                     const PngEncoder& encoder) {
  if (raster_size_problem(client)) {
    return std::nullopt;
  }
  RasterCanvas canvas(client.width(), client.height());
  paint(sim, canvas, client, true);
  return encoder_or_host(sim, encoder)(canvas.pixels(), canvas.width(), canvas.height());
}

std::optional<std::string> write_picture_file(Simulation& sim, const std::string& path,
                                              const Rect& client, const PngEncoder& encoder) {
  switch (picture_format_of(path).value_or(PictureFormat::emf)) {
    case PictureFormat::svg:
      return write_file_atomically(path, svg_picture(sim, client, kFileMetafileTitle, encoder));
    case PictureFormat::png: {
      if (const auto problem = raster_size_problem(client)) {
        return path + " could not be written: " + *problem + "; save it as SVG or EMF instead";
      }
      const auto png = png_picture(sim, client, encoder);
      if (!png) {
        return path + " could not be written: no PNG encoder is available";
      }
      return write_file_atomically(path, as_text(*png));
    }
    case PictureFormat::emf:
      break;
  }
  const auto emf =
      metafile_picture(sim, client, std::nullopt, kFileMetafileApp, kFileMetafileTitle);
  return write_file_atomically(path, as_text(emf));
}

void save_picture_file(Simulation& sim, const Rect& client) {
  save_chosen_file(
      sim, FileKind::metafile,
      [&sim, &client](const std::string& path) {
        return write_picture_file(sim, path, client, {});
      },
      kSavePictureCaption);
}

bool copy_picture(Simulation& sim, const Rect& client) {
  const auto frame = picture_frame(client, sim.host().screen_metrics());
  PictureData picture;
  picture.emf =
      metafile_picture(sim, client, frame, kClipboardMetafileApp, kClipboardMetafileTitle);
  picture.svg = svg_picture(sim, client, kClipboardMetafileTitle);
  picture.png = png_picture(sim, client, {}).value_or(std::vector<std::uint8_t>{});
  const bool copied = sim.host().set_clipboard_picture(picture);
  std::string message = copied ? kCopyConfirmation : kCopyFailure;
  if (const auto problem = raster_size_problem(client); copied && problem) {
    message += " as SVG and EMF only:\n" + *problem + ".";
  }
  sim.host().message_box(message, kCopyCaption);
  return copied;
}

}  // namespace wandrix
