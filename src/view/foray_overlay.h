// The latest step of an animated walk, drawn over the picture: each shown
// chain's foray from where it stood, through its turns at the walls, to the
// proposal; then the outcome (accepted: the robot stands at the end of the
// path; refused: the path is dimmed and dashed, a cross marks its end and
// the robot stays), and an exchange
// between two shown chains marked by a line joining them.
#pragma once

#include "model/simulation.h"
#include "model/walk_trace.h"
#include "view/canvas.h"
#include "view/paint.h"
#include "view/projection.h"

namespace wandrix {

enum class StepPhase { proposal, outcome };

inline constexpr Colour kExchangeMade = kWhite;
inline constexpr Colour kExchangeRefused = make_colour(96, 96, 96);

// The colour of a refused foray: muted toward grey, still readable on the
// black landscape.
constexpr Colour dimmed(Colour c) {
  return make_colour(red_of(c) * 9 / 20 + 70, green_of(c) * 9 / 20 + 70, blue_of(c) * 9 / 20 + 70);
}

// Draws the step on the canvas; the robots of the shown chains are drawn in
// every phase, where the chains stand now.
void draw_step_trace(const Simulation& sim, const Projection& view, Canvas& canvas,
                     const StepTrace& trace, StepPhase phase);

// The robots alone, where the chains stand: the animation between traced
// steps.
void draw_robots(const Simulation& sim, const Projection& view, Canvas& canvas);

}  // namespace wandrix
