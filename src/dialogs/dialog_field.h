// Dialog fields: each ties one control of a dialog to one value that lives
// outside the dialog. show() writes the value into the control; accept()
// reads the control back, checks the value against inclusive limits, stores
// it, and when it was out of range tells the user, stores the limit and
// rewrites the control. A field holds no copy: it reads and writes the bound
// value in place, so what it stored stays stored even if the dialog is then
// cancelled. The bound value must outlive the field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/dialog_controls.h"

namespace wandrix {

class DialogField {
 public:
  DialogField(DialogControls& dialog, std::string name, int control_id)
      : dialog_(&dialog), control_id_(control_id), name_(std::move(name)) {}
  DialogField(const DialogField&) = default;
  DialogField& operator=(const DialogField&) = default;
  DialogField(DialogField&&) = default;
  DialogField& operator=(DialogField&&) = default;
  virtual ~DialogField() = default;

  virtual void show() {}
  virtual void accept() {}

  [[nodiscard]] int control_id() const { return control_id_; }
  [[nodiscard]] const std::string& name() const { return name_; }

 protected:
  [[nodiscard]] DialogControls& dialog() const { return *dialog_; }
  // Every field that is shown is enabled.
  void enable() const { dialog_->enable(control_id_, true); }
  // Tells the user how a value was corrected.
  void report(const std::string& text, const std::string& caption) const {
    dialog_->message_box(text, caption);
  }

 private:
  DialogControls* dialog_;
  int control_id_;
  std::string name_;
};

// A text the dialog owns, read back at most capacity - 1 characters.
class TextField : public DialogField {
 public:
  static constexpr std::int32_t kCapacity = 81;
  TextField(DialogControls& dialog, std::string name, int control_id, std::string& buffer)
      : DialogField(dialog, std::move(name), control_id), buffer_(&buffer) {}
  void show() override;
  void accept() override;

 private:
  std::string* buffer_;
  std::int32_t capacity_ = kCapacity;
};

class CheckField : public DialogField {
 public:
  CheckField(DialogControls& dialog, std::string name, int control_id, bool& value)
      : DialogField(dialog, std::move(name), control_id), value_(&value) {}
  void show() override;
  // Only a checked box gives true; an indeterminate one counts as false.
  void accept() override;

 private:
  bool* value_;
};

// A drop-down list bound to the index of its selected entry.
class ComboField : public DialogField {
 public:
  static constexpr std::size_t kLineLimit = 255;
  ComboField(DialogControls& dialog, std::string name, int control_id, std::int32_t& selection)
      : DialogField(dialog, std::move(name), control_id), selection_(&selection) {}
  // Adds every entry to the list (without emptying it first) and selects
  // entry `selection`; an index that names no entry leaves none selected.
  void show() override;
  // `selection` becomes the list's selected entry, -1 when none is.
  void accept() override;

  // Appends an entry to the items; the control is not touched.
  void add_item(std::string text) { items_.push_back(std::move(text)); }
  // The entry at `selection` becomes the text, in the items and in the list,
  // and stays selected. Does nothing when `selection` names no entry.
  void replace_selected(const std::string& text);
  [[nodiscard]] const std::vector<std::string>& items() const { return items_; }

 private:
  std::int32_t* selection_;
  std::vector<std::string> items_;
};

// A signed integer typed as text ("25 steps" reads as 25). The minimum is
// tested before the maximum.
class IntField : public DialogField {
 public:
  IntField(DialogControls& dialog, std::string name, int control_id, std::int32_t& value,
           std::int32_t min, std::int32_t max)
      : DialogField(dialog, std::move(name), control_id), value_(&value), min_(min), max_(max) {}
  void show() override;
  void accept() override;

 private:
  void reset_to(std::int32_t limit, const char* caption_start);
  std::int32_t* value_;
  std::int32_t min_;
  std::int32_t max_;
};

// An integer read by the unsigned conversion: a text that is no number leaves
// the value unmodified. The maximum is tested before the minimum.
class UIntField : public DialogField {
 public:
  UIntField(DialogControls& dialog, std::string name, int control_id, std::int32_t& value,
            std::int32_t min, std::int32_t max)
      : DialogField(dialog, std::move(name), control_id), value_(&value), min_(min), max_(max) {}
  void show() override;
  void accept() override;
  // Whether the last accept read a number.
  [[nodiscard]] bool converted() const { return converted_; }

 private:
  void reset_to(std::int32_t limit, const char* caption_start);
  std::int32_t* value_;
  bool converted_ = false;
  std::int32_t min_;
  std::int32_t max_;
};

// A real number shown with a fixed number of decimals. The stored value keeps
// every digit typed; only the display rounds.
class RealField : public DialogField {
 public:
  RealField(DialogControls& dialog, std::string name, int control_id, double& value, double min,
            double max, std::int32_t decimals);
  void show() override;
  void accept() override;
  // "%.Nf" for N decimals: every display of the value follows it.
  [[nodiscard]] const std::string& format() const { return format_; }

 private:
  [[nodiscard]] std::string formatted(double value) const;
  void reset_to(double limit, const char* caption_start);
  double* value_;
  std::string format_;
  double min_;
  double max_;
  std::int32_t decimals_;
};

inline constexpr const char* kNotConvertedCaption = "Text could not be converted to a number";

}  // namespace wandrix
