// The picture leaving the program: "Save As Metafile..." writes it to a file
// and "Copy" puts it on the clipboard as an enhanced metafile with SVG and
// PNG companions. Each is what paint draws in export mode: white background,
// black contours, the chains in their colours, through the rotated view.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/simulation.h"
#include "view/canvas.h"

namespace wandrix {

inline constexpr const char* kFileMetafileApp = "WANDRIX";
inline constexpr const char* kFileMetafileTitle = "Robot path";
inline constexpr const char* kClipboardMetafileApp = "Wandrix";
inline constexpr const char* kClipboardMetafileTitle = "Trajectory";
inline constexpr const char* kCopyConfirmation =
    "The robot's trajectory has been copied to the clipboard";
inline constexpr const char* kCopyCaption = "Copy to clipboard";
inline constexpr const char* kCopyFailure =
    "The robot's trajectory could not be copied to the clipboard";
inline constexpr const char* kSavePictureCaption = "Save As Metafile";

enum class PictureFormat { emf, svg, png };

// The largest raster picture made: 8192 x 8192 pixels, 256 MiB as the
// 32-bit surface it is drawn on and the most Qt's image reader (and so many
// a desktop program) opens by default; and at most 32767 on a side, the
// limit of X11 drawables and of many PNG viewers.
inline constexpr std::int64_t kMaxRasterPixels = std::int64_t{8192} * 8192;
inline constexpr int kMaxRasterSide = 32767;

// Nothing when a raster picture of the client area can be made, else why
// not: "a picture of W by H pixels is too large for PNG (...)".
std::optional<std::string> raster_size_problem(const Rect& client);

// The format a file name asks for by its extension (any case), if any.
std::optional<PictureFormat> picture_format_of(const std::string& path);

// The clipboard metafile's frame: the client area's size on the screen in
// hundredths of a millimetre. Nothing when the screen reports no size.
std::optional<Rect> picture_frame(const Rect& client, const ScreenMetrics& screen);

// The picture of the client area in each form. PNG goes through the host's
// encoder and is nothing when there is none or the picture is too large.
std::vector<std::uint8_t> metafile_picture(Simulation& sim, const Rect& client,
                                           std::optional<Rect> frame, const std::string& app,
                                           const std::string& title);
// An image in the SVG (the density view) is PNG through the encoder given,
// or else the host's.
std::string svg_picture(Simulation& sim, const Rect& client, const std::string& title,
                        const PngEncoder& encoder = {});
// Through the encoder given, or else the host's.
std::optional<std::vector<std::uint8_t>> png_picture(Simulation& sim, const Rect& client,
                                                     const PngEncoder& encoder);

// Writes the picture of the client area to path, in the format its extension
// names (a metafile for any other name). Returns nothing on success, else
// the text to show: "<path> could not be written: <reason>".
std::optional<std::string> write_picture_file(Simulation& sim, const std::string& path,
                                              const Rect& client, const PngEncoder& encoder);

// "Save As Metafile...": asks for the file, then writes the picture of the
// window's client area; a failure is reported in a message box, success says
// nothing.
void save_picture_file(Simulation& sim, const Rect& client);

// "Copy": the picture of the window's client area to the clipboard in every
// form, then the confirmation or, when the clipboard did not take it, the
// failure. Returns whether the clipboard took it; the caller shows no
// further message.
bool copy_picture(Simulation& sim, const Rect& client);

}  // namespace wandrix
