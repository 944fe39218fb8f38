// The landscapes the benchmarks walk over: hills given as rows of
// (mean x, mean y, sd x, sd y, correlation, weight).
#pragma once

#include <array>
#include <span>

#include "model/simulation.h"

namespace wandrix::bench {

using HillRow = std::array<double, 6>;

// Three hills of different shapes on the default 400 x 400 landscape.
inline constexpr std::array<HillRow, 3> kThreeHills = {{
    {100, 120, 30, 25, 0.3, 1.0},
    {280, 260, 40, 40, -0.6, 2.0},
    {200, 60, 15, 50, 0.9, 0.5},
}};

// Adds the hills, normalises their weights and makes the robot follow them.
inline void add_hills(Simulation& sim, std::span<const HillRow> rows) {
  for (const HillRow& row : rows) {
    Hill hill;
    hill.mean_x = row[0];
    hill.mean_y = row[1];
    hill.stddev_x = row[2];
    hill.stddev_y = row[3];
    hill.correlation = row[4];
    hill.weight = row[5];
    sim.hills.push_back(hill);
  }
  sim.normalize_weights();
  sim.ignore_topography = false;
}

}  // namespace wandrix::bench
