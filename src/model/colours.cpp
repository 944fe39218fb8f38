#include "model/colours.h"

#include <cmath>

#include "model/portable_math.h"

namespace wandrix {
namespace {

struct Rgb {
  double red;
  double green;
  double blue;
};

Rgb base_components(double l) {
  if (l >= 380.0 && l < 440.0) {
    return {(l - 440.0) * -0.016666666666666666, 0.0, 1.0};
  }
  if (l >= 440.0 && l < 490.0) {
    return {0.0, (l - 440.0) * 0.02, 1.0};
  }
  if (l >= 490.0 && l < 510.0) {
    return {0.0, 1.0, (l - 510.0) * -0.05};
  }
  if (l >= 510.0 && l < 580.0) {
    return {(l - 510.0) * 0.014285714285714285, 1.0, 0.0};
  }
  if (l >= 580.0 && l < 645.0) {
    return {1.0, (l - 645.0) * -0.015384615384615385, 0.0};
  }
  if (l >= 645.0 && l < 781.0) {
    return {1.0, 0.0, 0.0};
  }
  return {0.0, 0.0, 0.0};
}

double intensity(double l) {
  if (l >= 380.0 && l < 420.0) {
    return 0.3 + (l - 380.0) * 0.017499999999999998;
  }
  if (l >= 420.0 && l < 701.0) {
    return 1.0;
  }
  if (l >= 701.0 && l < 781.0) {
    return 0.3 + (780.0 - l) * 0.008749999999999999;
  }
  return 0.0;
}

int component(double c, double f) {
  if (std::fabs(c) <= 1e-8) {
    return 0;
  }
  // Rounds half up by truncation, as the colour table has always been made.
  // NOLINTNEXTLINE(bugprone-incorrect-roundings)
  return static_cast<int>(255.0 * math::pow(c * f, 0.8) + 0.5);
}

}  // namespace

double chain_wavelength(int k, int n) {
  if (n == 1) {
    return 450.0;
  }
  return (280.0 / (n - 1)) * (k - 1) + 450.0;
}

Colour wavelength_colour(double wavelength) {
  const Rgb rgb = base_components(wavelength);
  const double f = intensity(wavelength);
  const int red = component(rgb.red, f);
  const int green = component(rgb.green, f);
  const int blue = component(rgb.blue, f);
  return static_cast<Colour>(red + 256 * green + 65536 * blue);
}

}  // namespace wandrix
