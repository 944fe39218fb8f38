// The QDialog shells of the three dialogs. Each loads its template, maps the
// template's control ids to its widgets and turns every Qt event into the
// matching message of the dialog logic in the core: the logic decides,
// the shell only shows.
#pragma once

#include <QDialog>

#include "dialogs/about_box.h"
#include "dialogs/hill_dialog.h"
#include "dialogs/robot_options_dialog.h"
#include "qt_dialog_controls.h"
#include "ui_about.h"
#include "ui_hill_parameters.h"
#include "ui_robot_options.h"

class QCloseEvent;

namespace wandrix {

class RobotOptionsShell : public QDialog {
  Q_OBJECT
 public:
  RobotOptionsShell(QWidget* owner, Simulation& sim);
  [[nodiscard]] const Ui::RobotOptionsDialog& ui() const { return ui_; }

  // Cancel and Escape.
  void reject() override;

 protected:
  // The close box applies the values like OK.
  void closeEvent(QCloseEvent* event) override;

 private:
  void map_controls();
  void finish(DialogResult result);

  Ui::RobotOptionsDialog ui_;
  QtDialogControls controls_;
  RobotOptionsDialog logic_;
};

class HillShell : public QDialog {
  Q_OBJECT
 public:
  HillShell(QWidget* owner, Simulation& sim);
  [[nodiscard]] const Ui::HillDialog& ui() const { return ui_; }

  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void map_controls();
  void finish(DialogResult result);

  Ui::HillDialog ui_;
  QtDialogControls controls_;
  HillDialog logic_;
};

class AboutShell : public QDialog {
  Q_OBJECT
 public:
  explicit AboutShell(QWidget* owner);
  [[nodiscard]] const Ui::AboutBox& ui() const { return ui_; }

  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void finish(DialogResult result);

  Ui::AboutBox ui_;
  QtDialogControls controls_;
  AboutBox logic_;
};

}  // namespace wandrix
