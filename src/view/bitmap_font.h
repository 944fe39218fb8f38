// Text for pictures drawn through Canvas, which has no fonts: a 5 x 7 pixel
// font of printable ASCII, drawn as filled boxes, so that labels look the
// same on the window's surface, in PNG, SVG and EMF, and in every front end.
#pragma once

#include <string_view>

#include "model/types.h"
#include "view/canvas.h"

namespace wandrix {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
// From one character to the next, and from one line to the next.
inline constexpr int kGlyphAdvance = kGlyphWidth + 1;
inline constexpr int kLineAdvance = kGlyphHeight + 3;

// Pixels covered by the text, at the given scale (each font pixel a square
// of scale x scale).
int text_width(std::string_view text, int scale = 1);

// Draws the text with its top-left corner at (x, y). A character outside
// printable ASCII shows as '?'. Uses a brush of its own; the canvas keeps
// its selections.
void draw_text(Canvas& canvas, int x, int y, std::string_view text, Colour colour, int scale = 1);

}  // namespace wandrix
