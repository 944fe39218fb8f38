#include "dialogs/hill_dialog.h"

#include "dialogs/dialog_field.h"
#include "dialogs/robot_options_dialog.h"
#include "model/limits.h"

namespace wandrix {

namespace ids = hill_ids;

namespace {

struct HillFields {
  TextField dimensions;
  TextField label_edit;
  RealField mu1;
  RealField mu2;
  RealField sd1;
  RealField rho;
  RealField wt;
};

HillFields build_fields(DialogControls& c, const Simulation& s, Hill& h, std::string& dimensions,
                        std::string& label) {
  namespace limits = hill_limits;
  const Limits<double> across = limits::on_landscape(s.width);
  const Limits<double> up = limits::on_landscape(s.height);
  return {TextField(c, "dimensions", ids::kDimensions, dimensions),
          TextField(c, "label_edit", ids::kLabel, label),
          RealField(c, "mu1", ids::kMeanX, h.mean_x, across.min, across.max, 1),
          RealField(c, "mu2", ids::kMeanY, h.mean_y, up.min, up.max, 1),
          RealField(c, "sd1", ids::kStddev, h.stddev_x, across.min, across.max, 1),
          RealField(c, "rho", ids::kCorrelation, h.correlation, limits::kCorrelation.min,
                    limits::kCorrelation.max, 5),
          RealField(c, "wt", ids::kWeight, h.weight, limits::kWeight.min, limits::kWeight.max, 1)};
}

}  // namespace

std::size_t HillDialog::target_index() const {
  return sim_->current_hill < 0 ? 0 : static_cast<std::size_t>(sim_->current_hill);
}

HillDialog::Target HillDialog::take_working_copy() {
  if (sim_->hills.empty()) {
    working_ = Hill{.label = {},
                    .mean_x = 0.0,
                    .mean_y = 0.0,
                    .stddev_x = 0.0,
                    .stddev_y = 0.0,
                    .correlation = 0.0,
                    .weight = 0.0,
                    .relative_weight = 0.0};
    label_.clear();
    return Target::no_hills;
  }
  if (target_index() >= sim_->hills.size()) return Target::past_end;
  working_ = sim_->hills[target_index()];
  label_ = utf8_prefix(working_.label, TextField::kCapacity - 1);
  return Target::hill;
}

void HillDialog::open() {
  const Target target = take_working_copy();
  HillFields f = build_fields(*controls_, *sim_, working_, dimensions_, label_);
  center_on_desktop(*controls_);
  dimensions_ = dimensions_text(*sim_);
  f.dimensions.show();
  if (target != Target::past_end) {
    for (DialogField* field : std::initializer_list<DialogField*>{&f.label_edit, &f.mu1, &f.mu2,
                                                                  &f.sd1, &f.rho, &f.wt}) {
      field->show();
    }
  }
  controls_->enable(ids::kWeight, false);
}

DialogResult HillDialog::ok() {
  const Target target = take_working_copy();
  if (target == Target::past_end) return DialogResult::ok;
  HillFields f = build_fields(*controls_, *sim_, working_, dimensions_, label_);
  f.mu1.accept();
  f.mu2.accept();
  f.sd1.accept();
  working_.stddev_y = working_.stddev_x;
  f.rho.accept();
  f.wt.accept();
  f.label_edit.accept();
  working_.label = label_;
  if (target == Target::hill) {
    Hill& hill = sim_->hills[target_index()];
    const double relative_weight = hill.relative_weight;
    hill = working_;
    // The opener renormalises the weights afterwards.
    hill.relative_weight = relative_weight;
  }
  return DialogResult::ok;
}

}  // namespace wandrix
