// The QDialog shells of the three dialogs. Each loads its template, maps the
// template's control ids to its widgets and turns every Qt event into the
// matching message of the dialog logic in the core: the logic decides,
// the shell only shows.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <functional>
#include <initializer_list>
#include <utility>

#include "dialogs/about_box.h"
#include "dialogs/hill_dialog.h"
#include "dialogs/robot_options_dialog.h"
#include "qt_dialog_controls.h"
#include "ui_about.h"
#include "ui_hill_parameters.h"
#include "ui_robot_options.h"

class QCloseEvent;

namespace wandrix {

// What the three shells share: a modal frame with a close box and no help
// button, the map from control ids to widgets, and the endings. Cancel and
// Escape cancel; the close box ends as the dialog's logic says.
class DialogShell : public QDialog {
 public:
  void reject() override { finish(DialogResult::cancel); }

 protected:
  explicit DialogShell(QWidget* owner) : QDialog(owner), controls_(*this) {}
  // Once the template is set up: the frame, and the widget of every control id.
  void set_up(std::initializer_list<std::pair<int, QWidget*>> controls);
  void closeEvent(QCloseEvent* event) override;
  virtual DialogResult close_box() = 0;
  void finish(DialogResult result);

  QtDialogControls controls_;
};

// A shell with its form and its dialog logic, built on the shell's controls.
template <class Form, class Logic>
class FormShell : public DialogShell {
 public:
  [[nodiscard]] const Form& ui() const { return ui_; }

 protected:
  FormShell(QWidget* owner, const std::function<Logic(DialogControls&)>& make_logic)
      : DialogShell(owner), logic_(make_logic(controls_)) {
    ui_.setupUi(this);
  }
  DialogResult close_box() override { return logic_.close_box(); }
  // Once the controls are mapped: OK, Cancel, the size, the first display of
  // the values and the first field to type in.
  void open(QPushButton* ok, QPushButton* cancel, QWidget* first_field) {
    connect(ok, &QPushButton::clicked, this, [this] { finish(logic_.ok()); });
    if (cancel != nullptr) {
      connect(cancel, &QPushButton::clicked, this, &DialogShell::reject);
    }
    adjustSize();
    logic_.open();
    if (first_field != nullptr) {
      first_field->setFocus();
    }
  }

  Form ui_;
  Logic logic_;
};

class RobotOptionsShell : public FormShell<Ui::RobotOptionsDialog, RobotOptionsDialog> {
  Q_OBJECT
 public:
  RobotOptionsShell(QWidget* owner, Simulation& sim);
};

class HillShell : public FormShell<Ui::HillDialog, HillDialog> {
  Q_OBJECT
 public:
  HillShell(QWidget* owner, Simulation& sim);
};

class AboutShell : public FormShell<Ui::AboutBox, AboutBox> {
  Q_OBJECT
 public:
  explicit AboutShell(QWidget* owner);
};

}  // namespace wandrix
