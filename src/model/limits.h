// The limits of what the user types, inclusive: the robot options and a
// hill. The dialogs correct a value to them, wandrix-cli refuses one outside
// them, and the dot size keys stop at them.
#pragma once

#include <array>
#include <cstdint>

namespace wandrix {

template <class T>
struct Limits {
  T min;
  T max;
};

namespace robot_limits {
inline constexpr Limits<std::int32_t> kSteps{1, 1000000};
inline constexpr Limits<std::int32_t> kDotRadius{1, 10};
inline constexpr Limits<double> kStepStddev{0.1, 1000.0};
inline constexpr Limits<double> kStepMean{0.0, 100.0};
inline constexpr Limits<std::int32_t> kSeed{0, 2147483647};
// The start position lies on the landscape: from 0 to its truncated size.
inline std::int32_t start_max(double landscape_size) {
  return static_cast<std::int32_t>(landscape_size);
}
}  // namespace robot_limits

namespace hill_limits {
inline constexpr Limits<double> kCorrelation{-0.99999, 0.99999};
inline constexpr Limits<double> kWeight{0.0, 100.0};
// The centre and the spreads lie on the landscape: from 0 to its size.
inline Limits<double> on_landscape(double landscape_size) { return {0.0, landscape_size}; }
}  // namespace hill_limits

// The animation's speeds in steps per second, slowest first; 0 is as fast
// as the machine draws. A speed is told by its index.
inline constexpr std::array<int, 7> kWalkSpeeds{1, 3, 10, 30, 100, 1000, 0};

}  // namespace wandrix
