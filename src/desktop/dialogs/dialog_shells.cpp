#include "dialog_shells.h"

#include <QCloseEvent>

#include "dialogs.h"

namespace wandrix {

void DialogShell::set_up(std::initializer_list<std::pair<int, QWidget*>> controls) {
  setModal(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  for (const auto& [id, widget] : controls) controls_.add(id, widget);
}

void DialogShell::closeEvent(QCloseEvent* event) {
  event->ignore();
  finish(close_box());
}

void DialogShell::finish(DialogResult result) {
  done(result == DialogResult::ok ? QDialog::Accepted : QDialog::Rejected);
}

// --- Robot Parameters ---------------------------------------------------------

RobotOptionsShell::RobotOptionsShell(QWidget* owner, Simulation& sim)
    : FormShell(owner, [this, &sim](DialogControls& controls) {
        return RobotOptionsDialog(sim, controls, [this, &sim] { run_hill_dialog(this, sim); });
      }) {
  namespace ids = robot_ids;
  set_up({
      {ids::kOk, ui_.button_ok},
      {ids::kCancel, ui_.button_cancel},
      {ids::kDimensions, ui_.label_dimensions},
      {ids::kStepsLabel, ui_.label_steps},
      {ids::kSteps, ui_.edit_nsteps},
      {ids::kShowTrajectory, ui_.check_show_trajectory},
      {ids::kDotRadiusLabel, ui_.label_dot_radius},
      {ids::kDotRadius, ui_.edit_dot_radius},
      {ids::kHillsGroup, ui_.group_hills},
      {ids::kHillList, ui_.combo_hills},
      {ids::kModify, ui_.button_modify},
      {ids::kIgnoreTopography, ui_.check_ignore_topography},
      {ids::kNewSeed, ui_.button_new_seed},
      {ids::kWalkGroup, ui_.group_walk},
      {ids::kStartX, ui_.edit_start_x},
      {ids::kStartY, ui_.edit_start_y},
      {ids::kStepStddev, ui_.edit_step_stddev},
      {ids::kStepMean, ui_.edit_step_mean},
      {ids::kSeedGroup, ui_.group_seed},
      {ids::kSeed, ui_.edit_seed},
      {ids::kAllowRotation, ui_.check_allow_rotation},
  });
  connect(ui_.button_modify, &QPushButton::clicked, this, [this] { logic_.modify(); });
  connect(ui_.button_new_seed, &QPushButton::clicked, this, [this] { logic_.generate_new_seed(); });
  connect(ui_.combo_hills, &DropDownList::droppedDown, this,
          [this] { logic_.hill_list_notification(kListDroppedDown); });
  connect(ui_.combo_hills, &QComboBox::activated, this,
          [this] { logic_.hill_list_notification(kListSelectionConfirmed); });
  open(ui_.button_ok, ui_.button_cancel, ui_.edit_nsteps);
}

// --- Hill Parameters ----------------------------------------------------------

HillShell::HillShell(QWidget* owner, Simulation& sim)
    : FormShell(owner, [&sim](DialogControls& controls) { return HillDialog(sim, controls); }) {
  namespace ids = hill_ids;
  set_up({
      {ids::kOk, ui_.button_ok},
      {ids::kCancel, ui_.button_cancel},
      {ids::kDimensions, ui_.label_dimensions},
      {ids::kMeanLabel, ui_.label_mean},
      {ids::kStddevLabel, ui_.label_stddev},
      {ids::kXLabel, ui_.label_x},
      {ids::kMeanX, ui_.edit_mean_x},
      {ids::kStddev, ui_.edit_stddev},
      {ids::kYLabel, ui_.label_y},
      {ids::kMeanY, ui_.edit_mean_y},
      {ids::kCorrelationLabel, ui_.label_correlation},
      {ids::kCorrelation, ui_.edit_correlation},
      {ids::kWeight, ui_.edit_weight},
      {ids::kLabel, ui_.edit_label},
  });
  open(ui_.button_ok, ui_.button_cancel, ui_.edit_mean_x);
}

// --- About Wandrix ------------------------------------------------------------

AboutShell::AboutShell(QWidget* owner)
    : FormShell(owner, [](DialogControls& controls) { return AboutBox(controls); }) {
  set_up({});
  open(ui_.button_ok, nullptr, nullptr);
}

}  // namespace wandrix
