// The results summary: how many samples of chain 1 lie inside the inner
// (50 %) and outer (95 %) contours of the hills, beside the numbers expected.
#pragma once

#include <cstdint>
#include <string>

#include "model/chain.h"
#include "model/hill.h"

namespace wandrix {

class Simulation;

inline constexpr const char* kSummaryCaption = "Summary of results";

// Squared radii of the contours in units of a hill's spread: the 50 % and
// 95 % points of the chi-square distribution with two degrees of freedom.
inline constexpr double kInnerRadiusSquared = 1.3863;
inline constexpr double kOuterRadiusSquared = 5.9915;

struct SummaryCounts {
  std::int64_t examined = 0;  // N: every sample but the start point
  std::int64_t inner = 0;
  std::int64_t outer = 0;
  friend bool operator==(const SummaryCounts&, const SummaryCounts&) = default;
};

// The samples of one chain (all but the first) inside one hill's contours.
// client_height is trunc(height), which turns a client y back into a
// landscape y. The contour follows the hill's correlation along and across
// the diagonal x = y, with the mean of the two spreads as its size.
SummaryCounts count_inside(const Chain& chain, int client_height, const Hill& hill);

// Chain 1 against every hill, whatever chains are shown or walking. A sample
// inside two overlapping hills counts twice.
SummaryCounts summary_counts(const Simulation& sim);

// The summary as the user reads it. With nothing examined both percentages
// read 0.0 rather than an undefined quotient.
std::string summary_text(const SummaryCounts& counts);

// Shows the summary in a message box, then puts the same text on the
// clipboard.
void summarize(Simulation& sim);

}  // namespace wandrix
