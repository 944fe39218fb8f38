// The about box: the program's name and version and its credits.
#pragma once

#include "dialogs/dialog_controls.h"
#include "model/host.h"

namespace wandrix {

// Its texts live in the dialog template.
class AboutBox {
 public:
  explicit AboutBox(DialogControls& controls) : controls_(&controls) {}

  void open() { center_on_desktop(*controls_); }
  // The Ok button, Enter and the close box.
  static DialogResult ok() { return DialogResult::ok; }
  static DialogResult close_box() { return DialogResult::ok; }
  // Escape.
  static DialogResult cancel() { return DialogResult::cancel; }

 private:
  DialogControls* controls_;
};

}  // namespace wandrix
