#include "dialogs/robot_options_dialog.h"

#include <array>
#include <cstddef>

#include "dialogs/dialog_field.h"
#include "model/limits.h"

namespace wandrix {

namespace ids = robot_ids;

std::string dimensions_text(const Simulation& sim) {
  return "Current dimensions: " + std::to_string(static_cast<int>(sim.width)) + " by " +
         std::to_string(static_cast<int>(sim.height));
}

struct RobotOptionsDialog::Fields {
  TextField dimensions;
  IntField nsteps;
  UIntField dot_radius;
  CheckField show_trajectory;
  CheckField allow_rotation;
  ComboField hill_combo;
  CheckField ignore_topography;
  UIntField start_x;
  UIntField start_y;
  RealField step_stddev;
  RealField step_mean;
  IntField rn_seed;

  [[nodiscard]] std::array<DialogField*, 12> all() {
    return {&dimensions,     &nsteps,      &dot_radius,        &show_trajectory,
            &allow_rotation, &hill_combo,  &ignore_topography, &start_x,
            &start_y,        &step_stddev, &step_mean,         &rn_seed};
  }
};

RobotOptionsDialog::RobotOptionsDialog(Simulation& sim, DialogControls& controls,
                                       HillDialogRunner run_hill)
    : sim_(&sim), controls_(&controls), run_hill_(std::move(run_hill)) {}

RobotOptionsDialog::Fields RobotOptionsDialog::build_fields() {
  namespace limits = robot_limits;
  Simulation& s = *sim_;
  DialogControls& c = *controls_;
  Fields f{TextField(c, "dimensions", ids::kDimensions, dimensions_),
           IntField(c, "nsteps", ids::kSteps, s.nsteps, limits::kSteps.min, limits::kSteps.max),
           UIntField(c, "dot_radius", ids::kDotRadius, s.dot_radius, limits::kDotRadius.min,
                     limits::kDotRadius.max),
           CheckField(c, "show_trajectory", ids::kShowTrajectory, s.show_trajectory),
           CheckField(c, "allow_rotation", ids::kAllowRotation, s.allow_rotation),
           ComboField(c, "hill_combo", ids::kHillList, s.current_hill),
           CheckField(c, "ignore_topography", ids::kIgnoreTopography, s.ignore_topography),
           UIntField(c, "start_x", ids::kStartX, s.start_x, 0, limits::start_max(s.width)),
           UIntField(c, "start_y", ids::kStartY, s.start_y, 0, limits::start_max(s.height)),
           RealField(c, "step_stddev", ids::kStepStddev, s.step_stddev, limits::kStepStddev.min,
                     limits::kStepStddev.max, 3),
           RealField(c, "step_mean", ids::kStepMean, s.step_mean, limits::kStepMean.min,
                     limits::kStepMean.max, 1),
           IntField(c, "rn_seed", ids::kSeed, s.rn_seed, limits::kSeed.min, limits::kSeed.max)};
  for (const Hill& hill : s.hills) f.hill_combo.add_item(hill.label);
  if (s.hills.empty()) {
    f.hill_combo.add_item(kNoHillsEntry);
    c.enable(ids::kHillList, false);
    c.enable(ids::kModify, false);
  }
  return f;
}

void RobotOptionsDialog::open() {
  center_on_desktop(*controls_);
  Fields f = build_fields();
  dimensions_ = dimensions_text(*sim_);
  for (DialogField* field : f.all()) field->show();
  // Showing enables the list; without hills it stays disabled while open.
  if (sim_->hills.empty()) controls_->enable(ids::kHillList, false);
}

DialogResult RobotOptionsDialog::ok() {
  Fields f = build_fields();
  const auto fields = f.all();
  // The dimensions line is only shown, never read back.
  for (std::size_t i = 1; i < fields.size(); ++i) fields[i]->accept();
  return DialogResult::ok;
}

void RobotOptionsDialog::hill_list_notification(int code) {
  if (code != kListDroppedDown && code != kListSelectionConfirmed) return;
  Fields f = build_fields();
  f.hill_combo.accept();
}

void RobotOptionsDialog::modify() {
  const std::int32_t index = sim_->current_hill;
  if (index < 0 || static_cast<std::size_t>(index) >= sim_->hills.size()) return;
  if (run_hill_) {
    run_hill_();
  } else {
    sim_->host().run_hill_dialog();
  }
  // The hill dialog works on the same simulation; take the label it left.
  Fields f = build_fields();
  if (static_cast<std::size_t>(sim_->current_hill) < sim_->hills.size()) {
    f.hill_combo.replace_selected(sim_->hills[static_cast<std::size_t>(sim_->current_hill)].label);
  }
  sim_->normalize_weights();
}

void RobotOptionsDialog::generate_new_seed() {
  sim_->new_seed();
  Fields f = build_fields();
  f.rn_seed.show();
}

}  // namespace wandrix
