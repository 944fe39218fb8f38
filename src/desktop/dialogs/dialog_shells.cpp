#include "dialog_shells.h"

#include <QCloseEvent>

#include "dialogs.h"

namespace wandrix {

namespace {

// A fixed-size modal frame with a close box and no help button.
void set_frame(QDialog& dialog) {
  dialog.setModal(true);
  dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

}  // namespace

// --- Robot Parameters ---------------------------------------------------------

RobotOptionsShell::RobotOptionsShell(QWidget* owner, Simulation& sim)
    : QDialog(owner),
      controls_(*this),
      logic_(sim, controls_, [this, &sim] { run_hill_dialog(this, sim); }) {
  ui_.setupUi(this);
  set_frame(*this);
  map_controls();
  connect(ui_.button_ok, &QPushButton::clicked, this, [this] { finish(logic_.ok()); });
  connect(ui_.button_cancel, &QPushButton::clicked, this, &RobotOptionsShell::reject);
  connect(ui_.button_modify, &QPushButton::clicked, this, [this] { logic_.modify(); });
  connect(ui_.button_new_seed, &QPushButton::clicked, this, [this] { logic_.generate_new_seed(); });
  connect(ui_.combo_hills, &DropDownList::droppedDown, this,
          [this] { logic_.hill_list_notification(kListDroppedDown); });
  connect(ui_.combo_hills, &QComboBox::activated, this,
          [this] { logic_.hill_list_notification(kListSelectionConfirmed); });
  adjustSize();
  logic_.open();
  ui_.edit_nsteps->setFocus();
}

void RobotOptionsShell::map_controls() {
  namespace ids = robot_ids;
  const std::pair<int, QWidget*> map[] = {
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
  };
  for (const auto& [id, widget] : map) controls_.add(id, widget);
}

void RobotOptionsShell::reject() { finish(RobotOptionsDialog::cancel()); }

void RobotOptionsShell::closeEvent(QCloseEvent* event) {
  event->ignore();
  finish(logic_.close_box());
}

void RobotOptionsShell::finish(DialogResult result) {
  done(result == DialogResult::ok ? QDialog::Accepted : QDialog::Rejected);
}

// --- Hill Parameters ----------------------------------------------------------

HillShell::HillShell(QWidget* owner, Simulation& sim)
    : QDialog(owner), controls_(*this), logic_(sim, controls_) {
  ui_.setupUi(this);
  set_frame(*this);
  map_controls();
  connect(ui_.button_ok, &QPushButton::clicked, this, [this] { finish(logic_.ok()); });
  connect(ui_.button_cancel, &QPushButton::clicked, this, &HillShell::reject);
  adjustSize();
  logic_.open();
  ui_.edit_mean_x->setFocus();
}

void HillShell::map_controls() {
  namespace ids = hill_ids;
  const std::pair<int, QWidget*> map[] = {
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
  };
  for (const auto& [id, widget] : map) controls_.add(id, widget);
}

void HillShell::reject() { finish(HillDialog::cancel()); }

void HillShell::closeEvent(QCloseEvent* event) {
  event->ignore();
  finish(logic_.close_box());
}

void HillShell::finish(DialogResult result) {
  done(result == DialogResult::ok ? QDialog::Accepted : QDialog::Rejected);
}

// --- About Wandrix ------------------------------------------------------------

AboutShell::AboutShell(QWidget* owner) : QDialog(owner), controls_(*this), logic_(controls_) {
  ui_.setupUi(this);
  set_frame(*this);
  connect(ui_.button_ok, &QPushButton::clicked, this, [this] { finish(AboutBox::ok()); });
  adjustSize();
  logic_.open();
}

void AboutShell::reject() { finish(AboutBox::cancel()); }

void AboutShell::closeEvent(QCloseEvent* event) {
  event->ignore();
  finish(AboutBox::close_box());
}

void AboutShell::finish(DialogResult result) {
  done(result == DialogResult::ok ? QDialog::Accepted : QDialog::Rejected);
}

}  // namespace wandrix
