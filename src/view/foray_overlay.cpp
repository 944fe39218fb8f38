#include "view/foray_overlay.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace wandrix {
namespace {

// A landscape point where the picture shows it, lifted by the height h in
// the rotated view.
Point client_point(const Simulation& sim, const Projection& view, LandscapePoint p, double h) {
  Point c{to_pixel(p.x), to_pixel(std::trunc(sim.height) - p.y)};
  view.project(c.x, c.y, h);
  return c;
}

// The chain's height as its last sample holds it (0 without heights).
double height_of(const Chain& chain) {
  return chain.zs.empty() ? 0.0 : static_cast<double>(chain.zs.back());
}

// A line two pixels wide, so that it reads over the dots of the walk.
void thick_line(Canvas& canvas, Point a, Point b) {
  canvas.move_to(a.x, a.y);
  canvas.line_to(b.x, b.y);
  const bool steep = std::abs(b.y - a.y) > std::abs(b.x - a.x);
  const int dx = steep ? 1 : 0;
  const int dy = steep ? 0 : 1;
  canvas.move_to(a.x + dx, a.y + dy);
  canvas.line_to(b.x + dx, b.y + dy);
}

// A thick line of dashes: a path that was not taken.
void dashed_line(Canvas& canvas, Point a, Point b) {
  constexpr double kDash = 6.0;
  constexpr double kGap = 4.0;
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (length < 1.0) {
    return;
  }
  for (double at = 0.0; at < length; at += kDash + kGap) {
    const double end = std::min(at + kDash, length);
    thick_line(canvas, {a.x + to_pixel(dx * at / length), a.y + to_pixel(dy * at / length)},
               {a.x + to_pixel(dx * end / length), a.y + to_pixel(dy * end / length)});
  }
}

// Draws with a pen of the colour selected, then puts the old pen back.
template <typename Draw>
void with_pen(Canvas& canvas, Colour colour, Draw draw) {
  const ObjectHandle pen = canvas.create_pen(colour);
  const ObjectHandle old_pen = canvas.select(pen);
  draw();
  canvas.select(old_pen);
  canvas.delete_object(pen);
}

// A circle about p outlined in the colour, filled with `fill` or hollow.
void draw_circle(Canvas& canvas, Point p, int radius, Colour outline, std::optional<Colour> fill) {
  with_pen(canvas, outline, [&] {
    const ObjectHandle brush =
        fill ? canvas.create_brush(*fill) : canvas.stock_object(StockObject::hollow_brush);
    const ObjectHandle old_brush = canvas.select(brush);
    canvas.ellipse(p.x - radius, p.y - radius, p.x + radius + 1, p.y + radius + 1);
    canvas.select(old_brush);
    canvas.delete_object(brush);
  });
}

// A filled disc in the chain's colour with a white rim.
void draw_robot(Canvas& canvas, Point p, int radius, Colour colour) {
  draw_circle(canvas, p, radius, kWhite, colour);
}

// A ring where the foray proposes to go.
void draw_ring(Canvas& canvas, Point p, int radius, Colour colour) {
  draw_circle(canvas, p, radius, colour, std::nullopt);
}

// A cross where a refused foray would have gone.
void draw_cross(Canvas& canvas, Point p, int radius, Colour colour) {
  with_pen(canvas, colour, [&] {
    thick_line(canvas, {p.x - radius, p.y - radius}, {p.x + radius, p.y + radius});
    thick_line(canvas, {p.x - radius, p.y + radius}, {p.x + radius, p.y - radius});
  });
}

int robot_radius(const Simulation& sim) { return sim.dot_radius + 3; }

Point robot_point(const Simulation& sim, const Projection& view, const Chain& chain) {
  return client_point(sim, view, {chain.x, chain.y}, height_of(chain));
}

void draw_foray(const Simulation& sim, const Projection& view, Canvas& canvas, const Chain& chain,
                const ForayTrace& foray, StepPhase phase) {
  const double h = height_of(chain);
  const bool refused = phase == StepPhase::outcome && !foray.accepted;
  const Colour colour = refused ? dimmed(chain.colour) : chain.colour;
  const auto line = refused ? dashed_line : thick_line;
  const Point end = client_point(sim, view, foray.to, h);
  with_pen(canvas, colour, [&] {
    Point from = client_point(sim, view, foray.from, h);
    for (const LandscapePoint& turn : foray.turns) {
      const Point to = client_point(sim, view, turn, h);
      line(canvas, from, to);
      from = to;
    }
    line(canvas, from, end);
  });
  if (refused) {
    draw_cross(canvas, end, robot_radius(sim), colour);
  } else if (phase == StepPhase::proposal) {
    draw_ring(canvas, end, robot_radius(sim) + 1, colour);
  }
}

bool shown(const std::vector<int>& numbers, int number) {
  for (const int n : numbers) {
    if (n == number) {
      return true;
    }
  }
  return false;
}

void draw_exchange(const Simulation& sim, const Projection& view, Canvas& canvas,
                   const ExchangeTrace& exchange) {
  const Chain& a = sim.chains[static_cast<std::size_t>(exchange.a)];
  const Chain& b = sim.chains[static_cast<std::size_t>(exchange.b)];
  with_pen(canvas, exchange.made ? kExchangeMade : kExchangeRefused,
           [&] { thick_line(canvas, robot_point(sim, view, a), robot_point(sim, view, b)); });
  if (exchange.made) {
    for (const Chain* chain : {&a, &b}) {
      draw_ring(canvas, robot_point(sim, view, *chain), robot_radius(sim) + 3, kExchangeMade);
    }
  }
}

}  // namespace

void draw_robots(const Simulation& sim, const Projection& view, Canvas& canvas) {
  for (const int k : shown_chain_numbers(sim)) {
    const Chain& chain = sim.chains[static_cast<std::size_t>(k - 1)];
    if (k <= sim.nchains && !chain.xs.empty()) {
      draw_robot(canvas, robot_point(sim, view, chain), robot_radius(sim), chain.colour);
    }
  }
}

void draw_step_trace(const Simulation& sim, const Projection& view, Canvas& canvas,
                     const StepTrace& trace, StepPhase phase) {
  const std::vector<int> numbers = shown_chain_numbers(sim);
  for (const int k : numbers) {
    if (k <= trace.nchains) {
      draw_foray(sim, view, canvas, sim.chains[static_cast<std::size_t>(k - 1)],
                 trace.forays[static_cast<std::size_t>(k - 1)], phase);
    }
  }
  const ExchangeTrace& exchange = trace.exchange;
  if (phase == StepPhase::outcome && exchange.attempted() && shown(numbers, exchange.a + 1) &&
      shown(numbers, exchange.b + 1)) {
    draw_exchange(sim, view, canvas, exchange);
  }
  // In the proposal the robots still stand where the step began.
  if (phase == StepPhase::proposal) {
    for (const int k : numbers) {
      if (k <= trace.nchains) {
        const ForayTrace& foray = trace.forays[static_cast<std::size_t>(k - 1)];
        const Chain& chain = sim.chains[static_cast<std::size_t>(k - 1)];
        draw_robot(canvas, client_point(sim, view, foray.from, height_of(chain)), robot_radius(sim),
                   chain.colour);
      }
    }
    return;
  }
  draw_robots(sim, view, canvas);
}

}  // namespace wandrix
