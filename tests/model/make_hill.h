// A hill from its numbers, for the model's tests.
#pragma once

#include "model/hill.h"

namespace wandrix::testing {

inline Hill make_hill(double mx, double my, double sx, double sy, double rho, double weight) {
  Hill hill;
  hill.mean_x = mx;
  hill.mean_y = my;
  hill.stddev_x = sx;
  hill.stddev_y = sy;
  hill.correlation = rho;
  hill.weight = weight;
  return hill;
}

}  // namespace wandrix::testing
