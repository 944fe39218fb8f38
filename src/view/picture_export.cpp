#include "view/picture_export.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <string_view>

#include "files/atomic_file.h"
#include "files/file_chooser.h"
#include "view/diagnostics.h"
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

namespace {

// A picture as every export makes it, whatever draws it.
using Drawing = std::function<void(Canvas&)>;

std::vector<std::uint8_t> metafile_of(const Drawing& draw, const ScreenMetrics& screen,
                                      std::optional<Rect> frame, const std::string& app,
                                      const std::string& title) {
  EmfCanvas canvas(screen, frame, app, title);
  draw(canvas);
  return canvas.finish();
}

std::string svg_of(const Drawing& draw, const Rect& client, const std::string& title,
                   const PngEncoder& encoder) {
  SvgCanvas canvas(client.width(), client.height(), title, encoder);
  draw(canvas);
  return canvas.finish();
}

std::optional<std::vector<std::uint8_t>> png_of(const Drawing& draw, const Rect& client,
                                                const PngEncoder& encoder) {
  if (raster_size_problem(client)) {
    return std::nullopt;
  }
  RasterCanvas canvas(client.width(), client.height());
  draw(canvas);
  return encoder(canvas.pixels(), canvas.width(), canvas.height());
}

std::optional<std::string> write_drawing_file(Simulation& sim, const Drawing& draw,
                                              const std::string& path, const Rect& client,
                                              const PngEncoder& given) {
  const PngEncoder encoder = encoder_or_host(sim, given);
  switch (picture_format_of(path).value_or(PictureFormat::emf)) {
    case PictureFormat::svg:
      return write_file_atomically(path, svg_of(draw, client, kFileMetafileTitle, encoder));
    case PictureFormat::png: {
      if (const auto problem = raster_size_problem(client)) {
        return path + " could not be written: " + *problem + "; save it as SVG or EMF instead";
      }
      const auto png = png_of(draw, client, encoder);
      if (!png) {
        return path + " could not be written: no PNG encoder is available";
      }
      return write_file_atomically(path, as_text(*png));
    }
    case PictureFormat::emf:
      break;
  }
  const auto emf = metafile_of(draw, sim.host().screen_metrics(), std::nullopt, kFileMetafileApp,
                               kFileMetafileTitle);
  return write_file_atomically(path, as_text(emf));
}

// The drawing to the clipboard in every form, then the confirmation or the
// failure; whether the clipboard took it.
bool copy_drawing(Simulation& sim, const Drawing& draw, const Rect& client,
                  const std::string& confirmation, const std::string& failure) {
  const auto frame = picture_frame(client, sim.host().screen_metrics());
  const PngEncoder encoder = encoder_or_host(sim, {});
  PictureData picture;
  picture.emf = metafile_of(draw, sim.host().screen_metrics(), frame, kClipboardMetafileApp,
                            kClipboardMetafileTitle);
  picture.svg = svg_of(draw, client, kClipboardMetafileTitle, encoder);
  picture.png = png_of(draw, client, encoder).value_or(std::vector<std::uint8_t>{});
  const bool copied = sim.host().set_clipboard_picture(picture);
  std::string message = copied ? confirmation : failure;
  if (const auto problem = raster_size_problem(client); copied && problem) {
    message += " as SVG and EMF only:\n" + *problem + ".";
  }
  sim.host().message_box(message, kCopyCaption);
  return copied;
}

Drawing landscape_drawing(Simulation& sim, const Rect& client) {
  return [&sim, client](Canvas& canvas) { paint(sim, canvas, client, true); };
}

Drawing diagnostics_drawing(Simulation& sim, const Rect& rect) {
  return [&sim, rect](Canvas& canvas) { draw_diagnostics(sim, canvas, rect); };
}

}  // namespace

std::vector<std::uint8_t> metafile_picture(Simulation& sim, const Rect& client,
                                           std::optional<Rect> frame, const std::string& app,
                                           const std::string& title) {
  return metafile_of(landscape_drawing(sim, client), sim.host().screen_metrics(), frame, app,
                     title);
}

std::string svg_picture(Simulation& sim, const Rect& client, const std::string& title,
                        const PngEncoder& encoder) {
  return svg_of(landscape_drawing(sim, client), client, title, encoder_or_host(sim, encoder));
}

std::optional<std::vector<std::uint8_t>> png_picture(Simulation& sim, const Rect& client,
                                                     const PngEncoder& encoder) {
  return png_of(landscape_drawing(sim, client), client, encoder_or_host(sim, encoder));
}

std::optional<std::string> write_picture_file(Simulation& sim, const std::string& path,
                                              const Rect& client, const PngEncoder& encoder) {
  return write_drawing_file(sim, landscape_drawing(sim, client), path, client, encoder);
}

std::optional<std::string> write_diagnostics_file(Simulation& sim, const std::string& path,
                                                  const PngEncoder& encoder) {
  const Rect rect = diagnostics_picture_rect(sim);
  return write_drawing_file(sim, diagnostics_drawing(sim, rect), path, rect, encoder);
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
  return copy_drawing(sim, landscape_drawing(sim, client), client, kCopyConfirmation, kCopyFailure);
}

bool copy_diagnostics(Simulation& sim, const Rect& rect) {
  return copy_drawing(sim, diagnostics_drawing(sim, rect), rect, kCopyDiagnosticsConfirmation,
                      kCopyDiagnosticsFailure);
}

}  // namespace wandrix
