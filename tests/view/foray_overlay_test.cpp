// The step of an animation as drawn over the picture: the path of an
// accepted foray in the chain's colour, a refused one dimmed, dashed and
// crossed out, an exchange as a white line, a refused exchange grey.
#include "view/foray_overlay.h"

#include <gtest/gtest.h>

#include "view/raster_canvas.h"

namespace wandrix {
namespace {

constexpr std::uint32_t px(Colour c) { return RasterCanvas::pixel_of(c); }

// Two chains on a 400 x 400 landscape: chain 1 stood at (100, 300) (client
// (100, 100)) and proposed (300, 300) by way of the top wall at (200, 400);
// chain 2 stands at (100, 100) (client (100, 300)).
struct Scene {
  Simulation sim;
  StepTrace trace;
  RasterCanvas canvas{400, 400};

  explicit Scene(bool accepted, bool exchanged) {
    sim.set_chain_count(2);
    sim.set_shown_chain(0);
    Chain& one = sim.chains[0];
    Chain& two = sim.chains[1];
    one.start(100, 300);
    two.start(100, 100);
    trace.nchains = 2;
    trace.forays[0] = {{100, 300}, {{200, 400}}, {300, 300}, accepted};
    trace.forays[1] = {{100, 100}, {}, {100, 100}, true};
    if (accepted) {
      one.record(300, 300, 0);
    }
    trace.exchange = {0, 1, exchanged};
    canvas.fill_rect({0, 0, 400, 400}, canvas.stock_object(StockObject::black_brush));
    draw_step_trace(sim, Projection(sim), canvas, trace, StepPhase::outcome);
  }
};

TEST(ForayOverlay, OutcomesAndExchangesHaveTheirColours) {
  struct Case {
    bool accepted;
    bool exchanged;
  };
  for (const Case c : {Case{true, true}, Case{false, false}}) {
    Scene scene(c.accepted, c.exchanged);
    const Colour chain = scene.sim.chains[0].colour;
    // The path's first leg, from (100, 100) to the wall at (200, 0) on the
    // client: a point on a dash (the first 6 pixels are always drawn).
    const Colour path = c.accepted ? chain : dimmed(chain);
    EXPECT_EQ(scene.canvas.pixel(115, 85), px(path)) << c.accepted;
    // The second leg, from the wall down to the proposal at (300, 100).
    EXPECT_EQ(scene.canvas.pixel(203, 3), px(path)) << c.accepted;
    // The exchange line from chain 1 to chain 2 (x = 100 when refused, from
    // (300, 100) when the move was made), at its middle.
    const int x = c.accepted ? 200 : 100;
    EXPECT_EQ(scene.canvas.pixel(x, 200), px(c.exchanged ? kExchangeMade : kExchangeRefused));
  }
  // A refused path is dashed: some of its pixels are left black.
  Scene refused(false, false);
  int gaps = 0;
  for (int k = 12; k < 80; ++k) {
    gaps += refused.canvas.pixel(100 + k, 100 - k) == px(kBlack) ? 1 : 0;
  }
  EXPECT_GT(gaps, 10);
}

}  // namespace
}  // namespace wandrix
