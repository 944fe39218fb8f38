// The transcendental functions of every number the user sees: one set of
// sources (musl's libm, built by cmake/PortableMath.cmake) compiled alike in
// every build, so that a seed gives the same samples, bit for bit, on every
// machine and in every front end. The C library's own functions choose code
// paths by the processor and differ in the last bit between libraries.
// sqrt is exact everywhere and stays with the standard library.
#pragma once

extern "C" {
double wandrix_math_sin(double x);
double wandrix_math_cos(double x);
double wandrix_math_tan(double x);
void wandrix_math_sincos(double x, double* sine, double* cosine);
double wandrix_math_atan(double x);
double wandrix_math_exp(double x);
double wandrix_math_log(double x);
double wandrix_math_pow(double x, double y);
double wandrix_math_erf(double x);
double wandrix_math_erfc(double x);
}

namespace wandrix {

// 4 x atan(1): the double nearest to pi.
inline constexpr double kPi = 3.141592653589793;

}  // namespace wandrix

namespace wandrix::math {

inline double sin(double x) { return wandrix_math_sin(x); }
inline double cos(double x) { return wandrix_math_cos(x); }
inline double tan(double x) { return wandrix_math_tan(x); }
inline double atan(double x) { return wandrix_math_atan(x); }
inline double exp(double x) { return wandrix_math_exp(x); }
inline double log(double x) { return wandrix_math_log(x); }
inline double pow(double x, double y) { return wandrix_math_pow(x, y); }
inline double erf(double x) { return wandrix_math_erf(x); }
// 1 - erf(x), without the cancellation for large x.
inline double erfc(double x) { return wandrix_math_erfc(x); }

// Both from one reduction of the argument; each equal to the bit to sin(x)
// and cos(x).
struct SinCos {
  double sin;
  double cos;
};
inline SinCos sincos(double x) {
  SinCos r{};
  wandrix_math_sincos(x, &r.sin, &r.cos);
  return r;
}

}  // namespace wandrix::math
