// Painting: the window's paint in parts (see paint in paint.h).
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "model/simulation.h"
#include "view/canvas.h"
#include "view/chain_cover.h"
#include "view/density.h"
#include "view/paint.h"
#include "view/projection.h"

namespace wandrix {

// The same paint in parts, for a window that answers while it paints a walk
// of many millions of samples: the constructor draws the background and the
// contours, every advance the samples of about `budget` drawing steps. In
// the density view the constructor draws the whole picture, the density
// under the contours, and density keeps the counts as for paint. The
// simulation's samples must stay where they are until it is finished (a
// walk may add more: they are left to the next paint); the canvas shows the
// picture so far. Finished, it leaves exactly what paint leaves.
class Painting {
 public:
  Painting(Simulation& sim, Canvas& canvas, const Rect& rect, bool for_export,
           Coverage* coverage = nullptr, DensityCounts* density = nullptr);
  // True once the picture is complete.
  bool advance(Canvas& canvas, std::size_t budget);
  [[nodiscard]] bool finished() const { return stage_ == Stage::done; }
  // From 0 to 1: the share of the paint's work done.
  [[nodiscard]] double fraction_done() const;
  // Samples the paint draws.
  [[nodiscard]] std::size_t samples() const { return samples_; }
  // A full paint, not one that adds the samples of the latest walk.
  [[nodiscard]] bool full() const { return full_; }

 private:
  enum class Stage { cover, draw, done };
  void advance_cover(std::size_t budget);
  void advance_draw(Canvas& canvas, std::size_t budget);
  void finish();

  Simulation& sim_;
  Coverage* coverage_;
  bool for_export_;
  bool own_cursor_;
  Projection view_;
  ChainStyle style_;
  std::vector<Chain*> chains_;
  std::vector<std::size_t> firsts_;
  std::vector<std::size_t> counts_;  // the samples of each chain when the paint began
  std::vector<std::optional<KeepFlags>> keeps_;
  bool covering_ = false;
  Stage stage_ = Stage::draw;
  std::size_t chain_ = 0;  // the chain in hand: counting down to 0 in the cover
  CoverCursor cover_;
  DrawCursor draw_;
  std::size_t work_total_ = 0;
  std::size_t work_done_ = 0;
  std::size_t samples_ = 0;
  bool full_ = false;
};

}  // namespace wandrix
