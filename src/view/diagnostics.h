// The diagnostics picture: for chain 1 and each chain shown, histograms of
// x and y over the exact marginal densities and traces of x and y against
// the sample; for chain 1 the autocorrelation of x and y and the effective
// sample size. Drawn through Canvas like the landscape, so it shows in a
// window, exports to PNG, SVG and EMF, and serves every front end.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/autocorrelation.h"
#include "model/simulation.h"
#include "view/canvas.h"

namespace wandrix {

inline constexpr Colour kDiagnosticsBackground = kWhite;
inline constexpr Colour kDiagnosticsInk = kBlack;

// The chains the picture has a row for: chain 1, and the shown chain or,
// with all chains shown, every chain in use. A shown chain above the chain
// count has not walked and has no row.
std::vector<int> diagnosed_chains(const Simulation& sim);

// Chain 1's autocorrelations along x and y and their effective sample
// sizes, as the picture shows them: every lag, landscape coordinates.
std::array<SeriesDependence, 2> chain_dependence(const Simulation& sim);

// An effective size as the picture writes it: "48  (tau 209.45, lags 0 to
// 333)", or "-" when the series is too short or does not vary.
std::string effective_size_text(const std::optional<EffectiveSize>& size);

// The size of an exported diagnostics picture: a fixed width and a row
// per diagnosed chain.
Rect diagnostics_picture_rect(const Simulation& sim);

// Fills rect and draws the picture in it. Leaves the canvas with the pen
// and brush it found.
void draw_diagnostics(const Simulation& sim, Canvas& canvas, const Rect& rect);

}  // namespace wandrix
