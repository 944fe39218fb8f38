// One of the four chains of the walk: its position, the position before its
// latest step, and every sample it has recorded (client coordinates).
#pragma once

#include <cstdint>
#include <vector>

#include "model/landscape.h"
#include "model/types.h"
#include "model/walk_trace.h"

namespace wandrix {

class RandomGenerator;
class Simulation;

// The length of a foray as the step settings give it, worked out once per
// walk: Gamma-distributed with shape k = mean^2 / sd^2 and scale mean / k,
// or exactly the mean where the Gamma methods cannot take the shape (no
// spread, a shape beyond kMaxGammaShape); 0 for a mean that is not positive.
class ForayLength {
 public:
  ForayLength(double mean, double sd);
  double draw(RandomGenerator& rng) const;

 private:
  bool gamma_ = false;
  double shape_ = 0.0;
  double scale_ = 0.0;
  double fixed_ = 0.0;
};

class Chain {
 public:
  Simulation* owner = nullptr;
  int index = 1;  // chain number 1..4: selects heat and colour
  double x = 150.0;
  double y = 150.0;
  double z = 0.0;
  double prev_x = 0.0;
  double prev_y = 0.0;
  double prev_z = 0.0;
  std::vector<std::int32_t> xs;  // trunc(x)
  std::vector<std::int32_t> ys;  // trunc(trunc(height) - y): client y
  std::vector<float> zs;         // heights, only while rotation is allowed
  Colour colour = 0;
  // How many samples the window showed after its last paint. An incremental
  // paint continues from the last of them, however many walks came since.
  std::size_t painted_samples = 0;
  // Changes whenever recorded samples change other than by being appended
  // (emptied, rescaled, cut short), so that what was worked out from them
  // knows to begin again.
  std::uint64_t sample_revision = 0;
  // The chain number whose heat z is the landscape height at (x, y) for, in
  // the landscape of the walk in progress; 0 when unknown. Such a height is
  // not evaluated again: it would be identical to the last bit.
  int z_height_of = 0;

  // index = k clamped to 1..n; colour for that number among n chains.
  void set_number(int k, int n);
  // Empties the samples and gives their memory back.
  void clear_samples();
  void clear_heights();
  // Restarts at (sx, sy); the start point is the first sample.
  void start(std::int32_t sx, std::int32_t sy);
  void save_position();
  void record(double new_x, double new_y, double new_z);
  // Reserves room for the samples of the rest of the walk in progress, at
  // the rate of samples per step seen so far, so that the lists hold little
  // more than their samples: growing by doubling would leave up to half of
  // them empty.
  void reserve_samples();
  // Draws a foray (its length, then a uniform heading) and moves to its end;
  // the points where it met the walls go to turns when given.
  void propose(RandomGenerator& rng, const ForayLength& length,
               std::vector<LandscapePoint>* turns = nullptr);
  // The foray as propose draws it, but walked only when its straight end lies
  // on the landscape: returns false, and stays where it stands, when that end
  // is beyond the walls. The straight end goes to end either way.
  bool propose_within_walls(RandomGenerator& rng, const ForayLength& length, LandscapePoint& end);
  // Walks a foray of the given distance and heading to its end, segment by
  // segment. A heading aimed exactly into a corner can turn in place there
  // for ever; after a few turns that make no progress the foray ends.
  void finish_foray(double distance, double heading, std::vector<LandscapePoint>* turns = nullptr);
  // One straight segment of a foray: to its end, or to the first wall met,
  // where the heading turns by a right angle. Returns true when the foray is
  // complete.
  bool move(double& distance, double& heading);
  // Accepts or rejects the position reached by propose; records a sample.
  // Returns whether the move was accepted (an automatic accept included).
  bool decide(const Landscape& landscape);
  void rescale_samples(double fx, double fy);

  [[nodiscard]] std::size_t sample_count() const { return xs.size(); }

  // Drops a half-recorded sample after an allocation failed midway.
  void make_consistent(bool with_heights);

 private:
  void grow_samples();
  // Sets a chain that a smaller window left outside onto the nearest point
  // of the landscape.
  void set_onto_landscape();
  // The wall part of move: from (x, y) towards (nx, ny), which lies outside.
  void turn_at_wall(double nx, double ny, bool x_inside, bool y_inside, double& distance,
                    double& heading);
};

// The longest foray walked: a distance beyond it (only from absurd step
// settings) would bounce between the walls for minutes.
inline constexpr double kMaxForayLength = 1.0e7;
// The most turns at the walls in one foray. Resizing a window first wide and
// flat, then tall and narrow, multiplies the step settings each time, and a
// foray many thousand times longer than the landscape is narrow would take
// milliseconds of turning per step, hours for a long walk. After this many
// turns the robot has crossed the landscape hundreds of times and where it
// stops is as good as random; with the dialogs' step limits in a window a few
// dozen pixels wide no foray comes near it.
inline constexpr int kMaxForayTurns = 1000;
// Above this shape the Gamma method's acceptance test can no longer succeed
// in double precision; the foray is then exactly the mean.
inline constexpr double kMaxGammaShape = 1.0e10;

}  // namespace wandrix
