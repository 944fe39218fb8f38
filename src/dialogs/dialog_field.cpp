#include "dialogs/dialog_field.h"

#include <limits>

namespace wandrix {

namespace {

constexpr const char* kAtLeast = "Parameter must be greater than or equal to ";
constexpr const char* kAtMost = "Parameter must be less than or equal to ";

std::string resetting(const std::string& name, const std::string& value) {
  return "Resetting " + name + " to " + value;
}

}  // namespace

void TextField::show() {
  enable();
  dialog().set_text(control_id(), *buffer_);
}

void TextField::accept() {
  *buffer_ = dialog().text(control_id(), static_cast<std::size_t>(capacity_ - 1));
}

void CheckField::show() {
  enable();
  dialog().set_checked(control_id(), *value_);
}

void CheckField::accept() { *value_ = dialog().check_state(control_id()) == CheckState::checked; }

void ComboField::show() {
  enable();
  for (const std::string& item : items_)
    dialog().combo_add(control_id(), utf8_prefix(item, kLineLimit));
  dialog().combo_select(control_id(), *selection_);
}

void ComboField::accept() { *selection_ = dialog().combo_selection(control_id()); }

void ComboField::replace_selected(const std::string& text) {
  const std::int32_t index = *selection_;
  if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) return;
  items_[static_cast<std::size_t>(index)] = text;
  dialog().combo_delete(control_id(), index);
  dialog().combo_insert(control_id(), index, utf8_prefix(text, kLineLimit));
  dialog().combo_select(control_id(), index);
}

void IntField::show() {
  enable();
  dialog().set_text(control_id(), std::to_string(*value_));
}

void IntField::accept() {
  // A number beyond 32 bits lies outside every limit, so it is never stored
  // as it stands: it is reported and replaced by the limit like any other.
  const std::int64_t typed = parse_int_prefix(dialog().text(control_id(), kNumberReadLimit));
  if (typed >= std::numeric_limits<std::int32_t>::min() &&
      typed <= std::numeric_limits<std::int32_t>::max()) {
    *value_ = static_cast<std::int32_t>(typed);
  }
  if (typed < min_) {
    reset_to(min_, kAtLeast);
  } else if (typed > max_) {
    reset_to(max_, kAtMost);
  }
}

void IntField::reset_to(std::int32_t limit, const char* caption_start) {
  const std::string shown = std::to_string(limit);
  report(resetting(name(), shown), caption_start + shown);
  *value_ = limit;
  dialog().set_text(control_id(), shown);
}

void UIntField::show() {
  enable();
  dialog().set_uint(control_id(), static_cast<std::uint32_t>(*value_));
}

void UIntField::accept() {
  const UIntRead read = dialog().read_uint(control_id());
  converted_ = read.converted;
  if (!converted_) {
    report("Value of " + name() + " left unmodified", kNotConvertedCaption);
    dialog().set_uint(control_id(), static_cast<std::uint32_t>(*value_));
    return;
  }
  // The reading is unsigned; a number above the largest signed value is taken
  // as the large number it is, not as a negative one.
  const std::int64_t typed = read.value;
  if (typed > max_) {
    reset_to(max_, kAtMost);
  } else if (typed < min_) {
    reset_to(min_, kAtLeast);
  } else {
    *value_ = static_cast<std::int32_t>(typed);
  }
}

void UIntField::reset_to(std::int32_t limit, const char* caption_start) {
  const std::string shown = std::to_string(limit);
  report(resetting(name(), shown), caption_start + shown);
  *value_ = limit;
  dialog().set_uint(control_id(), static_cast<std::uint32_t>(limit));
}

RealField::RealField(DialogControls& dialog, std::string name, int control_id, double& value,
                     double min, double max, std::int32_t decimals)
    : DialogField(dialog, std::move(name), control_id),
      value_(&value),
      format_("%." + std::to_string(decimals) + "f"),
      min_(min),
      max_(max),
      decimals_(decimals) {}

std::string RealField::formatted(double value) const { return format_fixed(value, decimals_); }

void RealField::show() {
  enable();
  dialog().set_text(control_id(), formatted(*value_));
}

void RealField::accept() {
  *value_ = parse_real_prefix(dialog().text(control_id(), kNumberReadLimit));
  if (*value_ < min_) {
    reset_to(min_, kAtLeast);
  } else if (*value_ > max_) {
    reset_to(max_, kAtMost);
  }
}

void RealField::reset_to(double limit, const char* caption_start) {
  const std::string shown = formatted(limit);
  report(resetting(name(), shown), caption_start + shown);
  *value_ = limit;
  dialog().set_text(control_id(), shown);
}

}  // namespace wandrix
