// The picture: a background, the two contour polygons of every hill, and the
// samples of the chains as dots joined by trajectory lines, drawn on any
// Canvas. The window, the picture files and the clipboard all use paint.
#pragma once

#include <vector>

#include "model/simulation.h"
#include "view/canvas.h"
#include "view/projection.h"

namespace wandrix {

class Coverage;
class DensityCounts;

// Colours of the window and of an exported picture.
inline constexpr Colour kWindowBackground = kBlack;
inline constexpr Colour kWindowContour = make_colour(255, 255, 0);
inline constexpr Colour kExportBackground = kWhite;
inline constexpr Colour kExportContour = kBlack;
inline constexpr Colour kStartDot = kWhite;

// The client rectangle of the landscape: (0, 0, trunc(width), trunc(height)).
Rect client_rect(const Simulation& sim);

// Draws the picture. The window passes for_export false: then, after a
// "Continue walking", only the samples of that walk are added to what the
// canvas shows. Export always draws everything, on white. Leaves the canvas
// with the pen and brush it found and full_redraw true.
//
// coverage, when given, has the canvas's size and tells that the canvas is an
// opaque pixel surface: a full paint then leaves out every step whose pixels
// a later step paints over (the picture stays the same, and a long walk
// paints far less). paint empties it first. The window passes one; a file
// canvas keeps every step and passes none.
//
// In the density view the samples are drawn as their density under the
// contours, always in full. density, when given, keeps the counts from one
// paint to the next, so that a paint counts only the samples added since;
// without it every sample is counted.
void paint(Simulation& sim, Canvas& canvas, const Rect& rect, bool for_export,
           Coverage* coverage = nullptr, DensityCounts* density = nullptr);

// The numbers of the chains the Show menu names, in drawing order (chain 1
// last, on top): every chain in use, or the one chain shown.
std::vector<int> shown_chain_numbers(const Simulation& sim);

// Draws the samples the shown chains recorded since the window last showed
// them, over what the canvas holds, as the paint after "Continue walking"
// does: for a picture that grows while the walk goes on.
void paint_added_samples(Simulation& sim, Canvas& canvas);

// Both contours of one hill (50 % and 95 %) with the pen already selected.
void draw_hill_contours(Simulation& sim, Canvas& canvas, const Hill& hill);
void draw_hill_contours(const Simulation& sim, const Projection& view, Canvas& canvas,
                        const Hill& hill);

struct ChainStyle {
  int dot_radius = 2;
  bool show_trajectory = true;
  // Draws the dot of sample 0 in the chain's colour instead of white.
  bool colour_first_dot = false;
};

// The samples of one chain from index first on. A repeated sample (a
// refused step) is drawn once: its line has no length and its dot would
// cover the same pixels in the same colour again.
void draw_chain(Simulation& sim, const Chain& chain, Canvas& canvas, int first,
                const ChainStyle& style);
void draw_chain(const Projection& view, const Chain& chain, Canvas& canvas, int first,
                const ChainStyle& style);

}  // namespace wandrix
