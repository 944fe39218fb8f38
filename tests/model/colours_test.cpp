#include "model/colours.h"

#include <gtest/gtest.h>

#include "model/simulation.h"

namespace wandrix {
namespace {

struct Expected {
  int chains;
  int chain;
  double wavelength;
  int red, green, blue;
};

TEST(Colours, EveryChainOfEveryChainCount) {
  const Expected table[] = {
      {1, 1, 450.0, 0, 70, 255}, {2, 1, 450.0, 0, 70, 255},   {2, 2, 730.0, 200, 0, 0},
      {3, 1, 450.0, 0, 70, 255}, {3, 2, 590.0, 255, 223, 0},  {3, 3, 730.0, 200, 0, 0},
      {4, 1, 450.0, 0, 70, 255}, {4, 2, 543.33, 141, 255, 0}, {4, 3, 636.67, 255, 49, 0},
      {4, 4, 730.0, 200, 0, 0},
  };
  for (const Expected& e : table) {
    SCOPED_TRACE(testing::Message() << e.chain << " of " << e.chains);
    EXPECT_NEAR(chain_wavelength(e.chain, e.chains), e.wavelength, 0.005);
    EXPECT_EQ(chain_colour(e.chain, e.chains), make_colour(e.red, e.green, e.blue));
  }
}

TEST(Colours, OutsideTheVisibleSpectrumIsBlack) {
  EXPECT_EQ(wavelength_colour(781.0), kBlack);
  EXPECT_EQ(wavelength_colour(900.0), kBlack);
  EXPECT_EQ(wavelength_colour(379.99), kBlack);
  EXPECT_NE(wavelength_colour(380.0), kBlack);
  EXPECT_NE(wavelength_colour(780.9), kBlack);
}

TEST(Colours, ChainsTakeTheirColourFromTheChainCount) {
  Simulation sim;
  for (const Chain& chain : sim.chains) {
    EXPECT_EQ(chain.index, 1);
    EXPECT_EQ(chain.colour, make_colour(0, 70, 255));
  }
  sim.set_chain_count(3);
  EXPECT_EQ(sim.chains[1].colour, make_colour(255, 223, 0));
  EXPECT_EQ(sim.chains[2].colour, make_colour(200, 0, 0));
  // Chains above the count keep their number and colour.
  EXPECT_EQ(sim.chains[3].index, 1);
  sim.set_chain_count(2);
  EXPECT_EQ(sim.chains[1].colour, make_colour(200, 0, 0));
  EXPECT_EQ(sim.chains[2].index, 3);
  EXPECT_EQ(sim.chains[2].colour, make_colour(200, 0, 0));
}

}  // namespace
}  // namespace wandrix
