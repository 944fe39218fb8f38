// The exact marginal densities of what a chain samples: its landscape
// (heated for chains 2 to 4) taken as a density on the closed window
// rectangle [0, W] x [0, H], W = trunc(width), H = trunc(height), and
// integrated over the other axis. Each hill's peak is its relative weight,
// so a wide hill holds more of the mass than a narrow one of equal weight.
#pragma once

#include <iosfwd>
#include <vector>

#include "model/hill.h"

namespace wandrix {

class Simulation;

enum class Axis { x, y };

class ExactMarginal {
 public:
  // The marginal along axis of the landscape seen with heat factor beta, on
  // a window of the given whole-pixel extents.
  ExactMarginal(const std::vector<Hill>& hills, double beta, double width, double height,
                Axis axis);

  // The density at u (landscape units along the axis), normalised to
  // integrate to 1 over [0, extent]; 0 outside that range.
  [[nodiscard]] double density(double u) const;
  // The length of the axis: W for x, H for y.
  [[nodiscard]] double extent() const { return extent_; }

 private:
  // One hill seen along the axis: its own centre and spread, and the normal
  // of the other coordinate given this one.
  struct Term {
    double weight;      // relative weight x sigma x sqrt(2 pi)
    double centre;      // mean along the axis
    double spread;      // heated standard deviation along the axis
    double other_mean;  // mean across the axis
    double slope;       // rho x other spread / spread
    double sigma;       // other spread x sqrt(1 - rho^2)
  };

  [[nodiscard]] double unnormalised(double u) const;
  [[nodiscard]] double integral() const;
  [[nodiscard]] std::vector<double> breakpoints() const;

  std::vector<Term> terms_;
  double extent_;
  double other_extent_;
  double scale_ = 1.0;  // 1 / the integral; uniform when there is no mass
  bool uniform_ = false;
};

// The marginal along axis of chain number i (1 to 4) of the simulation.
ExactMarginal exact_marginal(const Simulation& sim, int chain, Axis axis);

// The CSV of chain 1's marginals: the header "axis,position,density", the
// rows x,0 to x,W, then y,0 to y,H; densities with "%.9g".
void write_marginals_csv(const Simulation& sim, std::ostream& out);

}  // namespace wandrix
