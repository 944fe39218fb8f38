#include "model/autocorrelation.h"

#include <algorithm>
#include <complex>

#include "model/portable_math.h"

namespace wandrix {
namespace {

using Complex = std::complex<double>;

// In place, iterative radix 2; data.size() is a power of 2. The twiddles come
// from the portable sine and cosine, so every build gets the same numbers.
void fft(std::vector<Complex>& data, bool inverse) {
  const std::size_t n = data.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; (j & bit) != 0; bit >>= 1) {
      j ^= bit;
    }
    j ^= bit;
    if (i < j) {
      std::swap(data[i], data[j]);
    }
  }
  for (std::size_t length = 2; length <= n; length <<= 1) {
    const double angle = (inverse ? 2.0 : -2.0) * kPi / static_cast<double>(length);
    const std::size_t half = length / 2;
    // Each twiddle from its own angle: a product of rotations would gather
    // rounding errors along the million samples of a long walk.
    std::vector<Complex> twiddle(half);
    for (std::size_t k = 0; k < half; ++k) {
      const auto sc = math::sincos(angle * static_cast<double>(k));
      twiddle[k] = {sc.cos, sc.sin};
    }
    for (std::size_t start = 0; start < n; start += length) {
      for (std::size_t k = 0; k < half; ++k) {
        const Complex even = data[start + k];
        const Complex odd = data[start + k + half] * twiddle[k];
        data[start + k] = even + odd;
        data[start + k + half] = even - odd;
      }
    }
  }
}

// All autocovariances, lag 0 to n - 1, each summed over its pairs and
// divided by n. Padded to twice the length, so that no lag wraps round.
std::vector<double> autocovariance(std::span<const double> series) {
  const std::size_t n = series.size();
  double mean = 0.0;
  for (const double v : series) {
    mean += v;
  }
  mean /= static_cast<double>(n);
  std::size_t size = 1;
  while (size < 2 * n) {
    size <<= 1;
  }
  std::vector<Complex> data(size);
  for (std::size_t i = 0; i < n; ++i) {
    data[i] = series[i] - mean;
  }
  fft(data, false);
  for (Complex& c : data) {
    c = std::norm(c);
  }
  fft(data, true);
  std::vector<double> result(n);
  const double divisor = static_cast<double>(size) * static_cast<double>(n);
  for (std::size_t t = 0; t < n; ++t) {
    result[t] = data[t].real() / divisor;
  }
  return result;
}

std::vector<double> correlations(std::span<const double> series, std::size_t max_lag) {
  if (series.size() < 2) {
    return {};
  }
  std::vector<double> acov = autocovariance(series);
  const double variance = acov[0];
  if (!(variance > 0.0)) {
    return {};
  }
  acov.resize(std::min(acov.size(), max_lag + 1));
  for (double& v : acov) {
    v /= variance;
  }
  acov[0] = 1.0;
  return acov;
}

}  // namespace

std::vector<double> autocorrelation(std::span<const double> series, std::size_t max_lag) {
  return correlations(series, max_lag);
}

std::optional<EffectiveSize> effective_sample_size(std::span<const double> series) {
  const std::vector<double> rho = correlations(series, series.size());
  if (rho.size() < 2) {
    return std::nullopt;
  }
  double sum = 0.0;
  double previous = rho[0] + rho[1];
  std::size_t last = 0;
  for (std::size_t k = 0; 2 * k + 1 < rho.size(); ++k) {
    const double pair = rho[2 * k] + rho[2 * k + 1];
    if (!(pair > 0.0)) {
      break;
    }
    previous = std::min(previous, pair);
    sum += previous;
    last = 2 * k + 1;
  }
  EffectiveSize result;
  // An antithetic chain (each step across the mean from the one before) can
  // make the sum small or even negative; tau is held at 1 / log10(n), as
  // the established diagnostics libraries hold it, so that the size stays
  // positive and at most n log10(n).
  const double n = static_cast<double>(series.size());
  result.tau = std::max(-1.0 + 2.0 * sum, 1.0 / math::log(n) * math::log(10.0));
  result.ess = n / result.tau;
  result.last_lag = last;
  return result;
}

}  // namespace wandrix
