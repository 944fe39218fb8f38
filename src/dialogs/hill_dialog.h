// The hill parameters dialog: edits the hill at Simulation::current_hill (a
// negative index meaning the first hill): label, mean in X and Y, one standard
// deviation for both axes and the correlation; the weight is shown greyed.
// Every message works on a fresh copy of the hill; only OK stores it.
#pragma once

#include <string>

#include "dialogs/dialog_controls.h"
#include "model/hill.h"
#include "model/host.h"
#include "model/simulation.h"

namespace wandrix {

// Control ids of the "Hill Parameters" dialog.
namespace hill_ids {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kDimensions = 121;
inline constexpr int kMeanLabel = 145;
inline constexpr int kStddevLabel = 146;
inline constexpr int kXLabel = 147;
inline constexpr int kMeanX = 148;
inline constexpr int kStddev = 149;
inline constexpr int kYLabel = 150;
inline constexpr int kMeanY = 151;
inline constexpr int kCorrelationLabel = 153;
inline constexpr int kCorrelation = 154;
inline constexpr int kWeight = 155;
inline constexpr int kLabel = 156;
}  // namespace hill_ids

class HillDialog {
 public:
  HillDialog(Simulation& sim, DialogControls& controls) : sim_(&sim), controls_(&controls) {}

  // Centres the dialog and shows the hill; the weight edit is disabled.
  void open();
  // Accepts the numbers (each correction in its own message box), makes the
  // standard deviation apply to both axes, reads the label and stores the
  // copy into the hill. The dialog always closes with OK.
  DialogResult ok();
  // The close box keeps the edits, exactly like OK.
  DialogResult close_box() { return ok(); }
  // The hill is not changed.
  static DialogResult cancel() { return DialogResult::cancel; }

 private:
  // Which hill the dialog edits, if any. With no hills it shows zeros and
  // stores nothing; an index past the end of the list names no hill, and then
  // the dialog shows and stores nothing either.
  enum class Target { hill, no_hills, past_end };
  Target take_working_copy();
  [[nodiscard]] std::size_t target_index() const;

  Simulation* sim_;
  DialogControls* controls_;
  Hill working_;
  std::string label_;
  std::string dimensions_;
};

}  // namespace wandrix
