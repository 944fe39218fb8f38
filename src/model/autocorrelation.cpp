#include "model/autocorrelation.h"

#include <algorithm>

#include "model/portable_math.h"

namespace wandrix {
namespace {

// Plain pairs and explicit arithmetic: std::complex's product checks for
// infinities on every call unless the whole build relaxes it.
struct Cx {
  double re;
  double im;
};

// The twiddles of a transform of size n, e^(-2 pi i k / n) for k < n / 2,
// from the portable sine and cosine, each from its own angle (a product of
// rotations would gather rounding errors over a million samples), so every
// build gets the same numbers.
std::vector<Cx> twiddles(std::size_t n) {
  std::vector<Cx> twiddle(n / 2);
  for (std::size_t k = 0; k < twiddle.size(); ++k) {
    const auto sc = math::sincos(2.0 * kPi * static_cast<double>(k) / static_cast<double>(n));
    twiddle[k] = {sc.cos, -sc.sin};
  }
  return twiddle;
}

// In place, iterative radix 2; data.size() is a power of 2 and twiddle its
// twiddles. The inverse turns each the other way and does not scale.
void fft(std::vector<Cx>& data, const std::vector<Cx>& twiddle, bool inverse) {
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
  const double sign = inverse ? -1.0 : 1.0;
  for (std::size_t length = 2; length <= n; length <<= 1) {
    const std::size_t half = length / 2;
    const std::size_t stride = n / length;
    for (std::size_t start = 0; start < n; start += length) {
      for (std::size_t k = 0; k < half; ++k) {
        const Cx w{twiddle[k * stride].re, sign * twiddle[k * stride].im};
        const Cx even = data[start + k];
        const Cx in = data[start + k + half];
        const Cx odd{in.re * w.re - in.im * w.im, in.re * w.im + in.im * w.re};
        data[start + k] = {even.re + odd.re, even.im + odd.im};
        data[start + k + half] = {even.re - odd.re, even.im - odd.im};
      }
    }
  }
}

double mean_of(std::span<const double> series) {
  double sum = 0.0;
  for (const double v : series) {
    sum += v;
  }
  return series.empty() ? 0.0 : sum / static_cast<double>(series.size());
}

// The autocovariances of a and b at every lag, each summed over its pairs
// and divided by the series' length: two real series share one complex
// transform (a as the real part, b as the imaginary part), and one inverse
// gives both back. Padded to twice the longer length, so no lag wraps round.
std::array<std::vector<double>, 2> autocovariances(std::span<const double> a,
                                                   std::span<const double> b) {
  std::size_t size = 1;
  while (size < 2 * std::max(a.size(), b.size())) {
    size <<= 1;
  }
  std::vector<Cx> data(size, Cx{0.0, 0.0});
  const double mean_a = mean_of(a);
  const double mean_b = mean_of(b);
  for (std::size_t i = 0; i < a.size(); ++i) {
    data[i].re = a[i] - mean_a;
  }
  for (std::size_t i = 0; i < b.size(); ++i) {
    data[i].im = b[i] - mean_b;
  }
  const std::vector<Cx> twiddle = twiddles(size);
  fft(data, twiddle, false);
  // A_k = (Z_k + conj Z_-k) / 2 and B_k = (Z_k - conj Z_-k) / 2i; their
  // power spectra become the real and imaginary parts of one array, in
  // place: both are the same at k and at -k.
  for (std::size_t k = 0; k <= size / 2; ++k) {
    const Cx z = data[k];
    const Cx m = data[(size - k) % size];
    const double ar = 0.5 * (z.re + m.re);
    const double ai = 0.5 * (z.im - m.im);
    const double br = 0.5 * (z.im + m.im);
    const double bi = -0.5 * (z.re - m.re);
    const Cx power{ar * ar + ai * ai, br * br + bi * bi};
    data[k] = power;
    data[(size - k) % size] = power;
  }
  fft(data, twiddle, true);
  std::vector<Cx>& power = data;
  std::array<std::vector<double>, 2> result{std::vector<double>(a.size()),
                                            std::vector<double>(b.size())};
  const auto scale = static_cast<double>(size);
  for (std::size_t t = 0; t < a.size(); ++t) {
    result[0][t] = power[t].re / scale / static_cast<double>(a.size());
  }
  for (std::size_t t = 0; t < b.size(); ++t) {
    result[1][t] = power[t].im / scale / static_cast<double>(b.size());
  }
  return result;
}

// Autocovariances over the variance; empty for a series that does not vary.
std::vector<double> normalised(std::vector<double> acov) {
  if (acov.size() < 2 || !(acov[0] > 0.0)) {
    return {};
  }
  const double variance = acov[0];
  for (double& v : acov) {
    v /= variance;
  }
  acov[0] = 1.0;
  return acov;
}

std::optional<EffectiveSize> geyer(const std::vector<double>& rho) {
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
  const auto n = static_cast<double>(rho.size());
  result.tau = std::max(-1.0 + 2.0 * sum, 1.0 / math::log(n) * math::log(10.0));
  result.ess = n / result.tau;
  result.last_lag = last;
  return result;
}

bool varies(std::span<const double> series) {
  return std::any_of(series.begin(), series.end(),
                     [&series](double v) { return v != series.front(); });
}

// From the autocovariances of the series. A series that does not vary has
// none, whatever rounding the other series of its transform left in them.
SeriesDependence dependence_from(std::span<const double> series, std::vector<double> acov,
                                 std::size_t max_lag) {
  SeriesDependence d;
  if (!varies(series)) {
    return d;
  }
  d.rho = normalised(std::move(acov));
  d.size = geyer(d.rho);
  d.rho.resize(std::min(d.rho.size(), max_lag + 1));
  return d;
}

}  // namespace

std::vector<double> autocorrelation(std::span<const double> series, std::size_t max_lag) {
  return dependence_from(series, autocovariances(series, {})[0], max_lag).rho;
}

std::optional<EffectiveSize> effective_sample_size(std::span<const double> series) {
  return dependence_from(series, autocovariances(series, {})[0], 0).size;
}

std::array<SeriesDependence, 2> dependence(std::span<const double> a, std::span<const double> b,
                                           std::size_t max_lag) {
  auto acov = autocovariances(a, b);
  return {dependence_from(a, std::move(acov[0]), max_lag),
          dependence_from(b, std::move(acov[1]), max_lag)};
}

}  // namespace wandrix
