// Chain colours: chain k of n takes a wavelength between 450 nm (blue) and
// 730 nm (deep red), turned into RGB by a piecewise-linear spectrum.
#pragma once

#include "model/types.h"

namespace wandrix {

double chain_wavelength(int k, int n);
Colour wavelength_colour(double wavelength);
inline Colour chain_colour(int k, int n) { return wavelength_colour(chain_wavelength(k, n)); }

}  // namespace wandrix
