#include "dialogs.h"

#include "dialog_shells.h"
#include "message_box.h"

namespace wandrix {

int run_robot_options_dialog(QWidget* owner, Simulation& sim) {
  RobotOptionsShell dialog(owner, sim);
  const int result = dialog.exec() == QDialog::Accepted ? 1 : 0;
  return_focus(owner);
  return result;
}

bool run_hill_dialog(QWidget* owner, Simulation& sim) {
  HillShell dialog(owner, sim);
  const bool kept = dialog.exec() == QDialog::Accepted;
  return_focus(owner);
  return kept;
}

void run_about_box(QWidget* owner) {
  AboutShell dialog(owner);
  dialog.exec();
  return_focus(owner);
}

}  // namespace wandrix
