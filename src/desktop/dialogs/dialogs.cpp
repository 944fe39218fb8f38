#include "dialogs.h"

#include "dialog_shells.h"

namespace wandrix {

int run_robot_options_dialog(QWidget* owner, Simulation& sim) {
  RobotOptionsShell dialog(owner, sim);
  return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

bool run_hill_dialog(QWidget* owner, Simulation& sim) {
  HillShell dialog(owner, sim);
  return dialog.exec() == QDialog::Accepted;
}

void run_about_box(QWidget* owner) {
  AboutShell dialog(owner);
  dialog.exec();
}

}  // namespace wandrix
