// What one step of the walk did, for an animation that shows it: each
// chain's foray (where it stood, where it turned at the walls, where it
// ended) with the outcome, and the exchange attempt. Recording a step draws
// nothing more from the generator, so a recorded walk has the samples of one
// that is not.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace wandrix {

inline constexpr int kTracedChains = 4;

// A position in landscape coordinates (origin bottom-left, y upward).
struct LandscapePoint {
  double x = 0.0;
  double y = 0.0;
  friend bool operator==(const LandscapePoint&, const LandscapePoint&) = default;
};

struct ForayTrace {
  LandscapePoint from;                // where the chain stood before the step
  std::vector<LandscapePoint> turns;  // where the foray met the walls, in order
  LandscapePoint to;                  // where the foray ended: the proposal
  bool accepted = false;
};

struct ExchangeTrace {
  int a = -1;  // positions (0-based) of the two chains; -1 without an attempt
  int b = -1;
  bool made = false;
  [[nodiscard]] bool attempted() const { return a >= 0; }
};

struct StepTrace {
  int nchains = 0;
  std::array<ForayTrace, kTracedChains> forays;
  ExchangeTrace exchange;
};

// Moves of one chain, or exchanges: how many were tried and how many of them
// the acceptance rule accepted.
struct AcceptCount {
  std::int64_t accepted = 0;
  std::int64_t taken = 0;
  friend bool operator==(const AcceptCount&, const AcceptCount&) = default;
};

// The acceptance counts since the walks were last started or cleared.
struct WalkRates {
  std::array<AcceptCount, kTracedChains> moves{};
  AcceptCount exchanges;
  friend bool operator==(const WalkRates&, const WalkRates&) = default;
};

}  // namespace wandrix
