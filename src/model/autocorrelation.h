// How strongly a chain's samples depend on the ones before them: the
// autocorrelation of a series and the effective sample size, estimated by
// Geyer's initial monotone sequence.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace wandrix {

// The autocorrelations rho_0 = 1, rho_1, ... rho_max_lag of the series (lags
// beyond its length are left out): the autocovariance at each lag, summed
// over every pair of samples that far apart and divided by the series'
// length, over the variance. Empty when the series has fewer than two
// samples or does not vary. Computed through the Fourier transform, so a
// million samples cost well under a second whatever the lag.
std::vector<double> autocorrelation(std::span<const double> series, std::size_t max_lag);

struct EffectiveSize {
  double ess = 0.0;          // samples / tau
  double tau = 0.0;          // integrated autocorrelation time
  std::size_t last_lag = 0;  // the highest lag the sum took in
};

// Geyer's initial monotone sequence estimator (1992): the sums of
// neighbouring autocorrelations, rho_2k + rho_2k+1, are added while they stay
// positive, each cut down to the one before it so that the sequence never
// rises; tau = -1 + 2 x their sum, but at least 1 / log10(n). Nothing when the series is too short
// or does not vary.
std::optional<EffectiveSize> effective_sample_size(std::span<const double> series);

// Both of the above for one series at once, from one transform.
struct SeriesDependence {
  std::vector<double> rho;  // lags 0 to max_lag at most; empty as above
  std::optional<EffectiveSize> size;
};

// Two series (x and y of a chain) share one transform: half the work of
// taking them one at a time.
std::array<SeriesDependence, 2> dependence(std::span<const double> a, std::span<const double> b,
                                           std::size_t max_lag);

}  // namespace wandrix
