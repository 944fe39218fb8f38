// The three dialogs as the main window runs them: each is modal over its
// owner, edits the Simulation in place and returns when the user closes it.
#pragma once

class QWidget;

namespace wandrix {

class Simulation;

// The robot options dialog. Returns 1 after OK or the close box, 0 after
// Cancel. Applying the change afterwards (Simulation::after_robot_options and
// the repaint) is the caller's part.
int run_robot_options_dialog(QWidget* owner, Simulation& sim);

// The hill parameters dialog on the hill at Simulation::current_hill. Returns
// true after OK or the close box (the hill is stored, not yet renormalised),
// false after Cancel (the hill is unchanged).
bool run_hill_dialog(QWidget* owner, Simulation& sim);

// The about box.
void run_about_box(QWidget* owner);

}  // namespace wandrix
