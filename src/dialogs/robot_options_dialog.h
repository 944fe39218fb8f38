// The robot options dialog: how the robot walks and how the walk is drawn,
// the hill list with its Modify button, and a new seed. It edits the one
// Simulation in place through its fields and keeps no copy of the settings;
// the fields are built afresh for every message, so limits that follow the
// landscape size are always current.
#pragma once

#include <functional>
#include <string>

#include "dialogs/dialog_controls.h"
#include "model/host.h"
#include "model/simulation.h"

namespace wandrix {

// Control ids of the "Robot Parameters" dialog.
namespace robot_ids {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kDimensions = 121;
inline constexpr int kStepsLabel = 122;
inline constexpr int kSteps = 123;
inline constexpr int kShowTrajectory = 131;
inline constexpr int kDotRadiusLabel = 132;
inline constexpr int kDotRadius = 133;
inline constexpr int kHillsGroup = 141;
inline constexpr int kHillList = 142;
inline constexpr int kModify = 143;
inline constexpr int kIgnoreTopography = 144;
inline constexpr int kNewSeed = 157;
inline constexpr int kWalkGroup = 161;
inline constexpr int kStartX = 165;
inline constexpr int kStartY = 166;
inline constexpr int kStepStddev = 170;
inline constexpr int kStepMean = 171;
inline constexpr int kSeedGroup = 181;
inline constexpr int kSeed = 184;
inline constexpr int kAllowRotation = 1000;
}  // namespace robot_ids

// Notifications of the hill list.
inline constexpr int kListDroppedDown = 7;
inline constexpr int kListSelectionConfirmed = 9;

inline constexpr const char* kNoHillsEntry = "no hills defined";

class RobotOptionsDialog {
 public:
  // Runs the hill parameters dialog modally on Simulation::current_hill.
  using HillDialogRunner = std::function<void()>;

  // Without a runner, Modify asks the simulation's Host to run the hill dialog.
  RobotOptionsDialog(Simulation& sim, DialogControls& controls, HillDialogRunner run_hill = {});

  // Centres the dialog and shows every setting.
  void open();
  // Accepts every field in order, each correction in its own message box. The
  // dialog always closes afterwards.
  DialogResult ok();
  // The close box applies the values like OK.
  DialogResult close_box() { return ok(); }
  // Leaves the typed values unapplied. What was written while the dialog was
  // open (a new seed, Modify, the list selection) stays written.
  static DialogResult cancel() { return DialogResult::cancel; }
  // The list was dropped down or a selection confirmed: the selected entry
  // becomes the current hill. Other notifications are ignored.
  void hill_list_notification(int code);
  // Edits the selected hill in the hill dialog, then shows its label in the
  // list and renormalises the weights. Does nothing while no hill is selected.
  void modify();
  // Draws a new seed into the simulation and shows it.
  void generate_new_seed();

 private:
  struct Fields;
  Fields build_fields();

  Simulation* sim_;
  DialogControls* controls_;
  HillDialogRunner run_hill_;
  std::string dimensions_;
};

// "Current dimensions: W by H" with the landscape size truncated.
std::string dimensions_text(const Simulation& sim);

}  // namespace wandrix
