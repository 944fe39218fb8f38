// The real dialogs, driven through their widgets on the offscreen platform.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "desktop/dialogs/dialogs.h"
#include "modal_driver.h"
#include "model/simulation.h"

using namespace wandrix;

namespace {

void type(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

// The control of the dialog's template with that object name.
template <class T>
T* ui(QDialog* dialog, const char* name) {
  T* widget = dialog->findChild<T*>(name);
  if (widget == nullptr) qFatal("the dialog has no control %s", name);
  return widget;
}

// Near the left edge: a check box reacts only on its box and its text.
void click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// Saves a picture of the dialog when WANDRIX_SCREENSHOT_DIR names a folder.
void screenshot(QWidget* dialog, const QString& name) {
  const QString dir = qEnvironmentVariable("WANDRIX_SCREENSHOT_DIR");
  if (!dir.isEmpty()) dialog->grab().save(dir + "/" + name + ".png");
}

// The controls that Tab visits, in order, starting at the first.
QStringList tab_chain(QDialog* dialog, const char* first) {
  QWidget* start = dialog->findChild<QWidget*>(first);
  QStringList names;
  QWidget* w = start;
  do {
    if ((w->focusPolicy() & Qt::TabFocus) != 0 && !w->objectName().startsWith("qt_")) {
      names << w->objectName();
    }
    w = w->nextInFocusChain();
  } while (w != start && names.size() < 50);
  return names;
}

Hill make_hill(const std::string& label, double weight) {
  Hill h;
  h.label = label;
  h.mean_x = 100.0;
  h.mean_y = 200.0;
  h.stddev_x = 30.0;
  h.stddev_y = 40.0;
  h.weight = weight;
  return h;
}

const char* const kRobot = "Robot Parameters";
const char* const kHill = "Hill Parameters";

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    sim_.reset_defaults();
    sim_.rn_seed = 4242;
    sim_.hills.clear();
  }

  void robotOptionsShowsAndStoresTypedValues() {
    sim_.hills = {make_hill("alpha", 1.0)};
    ModalDriver driver;
    driver.expect(kRobot, [](QDialog* d) {
      QCOMPARE(ui<QLabel>(d, "label_dimensions")->text(),
               QString("Current dimensions: 400 by 400"));
      QCOMPARE(ui<QLineEdit>(d, "edit_nsteps")->text(), QString("100"));
      QCOMPARE(ui<QLineEdit>(d, "edit_step_stddev")->text(), QString("20.000"));
      QCOMPARE(ui<QLineEdit>(d, "edit_step_mean")->text(), QString("20.0"));
      QCOMPARE(ui<QLineEdit>(d, "edit_seed")->text(), QString("4242"));
      QVERIFY(ui<QCheckBox>(d, "check_show_trajectory")->isChecked());
      QVERIFY(!ui<QCheckBox>(d, "check_allow_rotation")->isChecked());
      QCOMPARE(ui<QComboBox>(d, "combo_hills")->currentText(), QString("alpha"));
      QVERIFY(ui<QComboBox>(d, "combo_hills")->isEnabled());
      QCOMPARE(QApplication::focusWidget(), ui<QLineEdit>(d, "edit_nsteps"));
      const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
      QVERIFY(qAbs(d->frameGeometry().center().x() - screen.center().x()) <= 2);
      screenshot(d, "robot_options");
      type(ui<QLineEdit>(d, "edit_nsteps"), "250 steps");
      type(ui<QLineEdit>(d, "edit_dot_radius"), "5");
      click(ui<QCheckBox>(d, "check_show_trajectory"));
      click(ui<QCheckBox>(d, "check_allow_rotation"));
      type(ui<QLineEdit>(d, "edit_start_x"), "400");
      type(ui<QLineEdit>(d, "edit_step_mean"), "30.25");
      type(ui<QLineEdit>(d, "edit_seed"), "777");
      click(ui<QPushButton>(d, "button_ok"));
    });
    QCOMPARE(run_robot_options_dialog(nullptr, sim_), 1);
    QVERIFY(driver.finished());
    QVERIFY(driver.boxes().empty());
    QCOMPARE(sim_.nsteps, 250);
    QCOMPARE(sim_.dot_radius, 5);
    QVERIFY(!sim_.show_trajectory);
    QVERIFY(sim_.allow_rotation);
    QCOMPARE(sim_.start_x, 400);
    QCOMPARE(sim_.step_mean, 30.25);
    QCOMPARE(sim_.rn_seed, 777);
  }

  void robotOptionsReportsEachBadValue() {
    ModalDriver driver;
    driver.expect(kRobot, [](QDialog* d) {
      type(ui<QLineEdit>(d, "edit_nsteps"), "0");
      type(ui<QLineEdit>(d, "edit_dot_radius"), "x");
      type(ui<QLineEdit>(d, "edit_step_mean"), "150");
      type(ui<QLineEdit>(d, "edit_seed"), "-3");
      QTest::keyClick(ui<QLineEdit>(d, "edit_seed"),
                      Qt::Key_Return);  // Enter presses the default button
    });
    QCOMPARE(run_robot_options_dialog(nullptr, sim_), 1);
    QCOMPARE(
        driver.texts(),
        QStringList({"Parameter must be greater than or equal to 1 | Resetting nsteps to 1",
                     "Text could not be converted to a number | Value of dot_radius left "
                     "unmodified",
                     "Parameter must be less than or equal to 100.0 | Resetting step_mean to "
                     "100.0",
                     "Parameter must be greater than or equal to 0 | Resetting rn_seed to 0"}));
    for (const RecordedBox& box : driver.boxes()) QVERIFY(box.plain);
    QCOMPARE(sim_.nsteps, 1);
    QCOMPARE(sim_.dot_radius, 2);
    QCOMPARE(sim_.step_mean, 100.0);
    QCOMPARE(sim_.rn_seed, 0);
  }

  void robotOptionsCancelKeepsWhatWasWritten() {
    sim_.hills = {make_hill("alpha", 1.0), make_hill("beta", 1.0)};
    std::int32_t shown_seed = 0;
    ModalDriver driver;
    driver.expect(kRobot, [&shown_seed](QDialog* d) {
      ui<QComboBox>(d, "combo_hills")->setCurrentIndex(1);
      emit ui<QComboBox>(d, "combo_hills")->activated(1);
      click(ui<QPushButton>(d, "button_new_seed"));
      shown_seed = ui<QLineEdit>(d, "edit_seed")->text().toInt();
      type(ui<QLineEdit>(d, "edit_nsteps"), "5");
      click(ui<QPushButton>(d, "button_cancel"));
    });
    QCOMPARE(run_robot_options_dialog(nullptr, sim_), 0);
    QCOMPARE(sim_.nsteps, 100);
    QCOMPARE(sim_.current_hill, 1);
    QVERIFY(sim_.rn_seed != 4242);
    QCOMPARE(sim_.rn_seed, shown_seed);
  }

  void droppingTheListDownTakesItsSelection() {
    sim_.hills = {make_hill("alpha", 1.0), make_hill("beta", 1.0)};
    sim_.current_hill = 5;  // left beyond the list by a shorter session file
    ModalDriver driver;
    driver.expect(kRobot, [](QDialog* d) {
      auto* list = ui<QComboBox>(d, "combo_hills");
      QCOMPARE(list->currentIndex(), -1);
      list->showPopup();
      list->hidePopup();
      click(ui<QPushButton>(d, "button_cancel"));
    });
    QCOMPARE(run_robot_options_dialog(nullptr, sim_), 0);
    QCOMPARE(sim_.current_hill, -1);
  }

  void robotOptionsCloseBoxAppliesAndEscapeCancels() {
    ModalDriver driver;
    driver.expect(kRobot, [](QDialog* d) {
      type(ui<QLineEdit>(d, "edit_nsteps"), "42");
      d->close();
    });
    QCOMPARE(run_robot_options_dialog(nullptr, sim_), 1);
    QCOMPARE(sim_.nsteps, 42);
    driver.expect(kRobot, [](QDialog* d) {
      type(ui<QLineEdit>(d, "edit_nsteps"), "43");
      QTest::keyClick(d, Qt::Key_Escape);
    });
    QCOMPARE(run_robot_options_dialog(nullptr, sim_), 0);
    QCOMPARE(sim_.nsteps, 42);
  }

  void robotOptionsWithoutHillsDisablesTheList() {
    ModalDriver driver;
    driver.expect(kRobot, [](QDialog* d) {
      QCOMPARE(ui<QComboBox>(d, "combo_hills")->count(), 1);
      QCOMPARE(ui<QComboBox>(d, "combo_hills")->itemText(0), QString("no hills defined"));
      QVERIFY(!ui<QComboBox>(d, "combo_hills")->isEnabled());
      QVERIFY(!ui<QPushButton>(d, "button_modify")->isEnabled());
      click(ui<QPushButton>(d, "button_ok"));
    });
    QCOMPARE(run_robot_options_dialog(nullptr, sim_), 1);
    QVERIFY(driver.finished());
  }

  void modifyRunsTheHillDialogInside() {
    sim_.hills = {make_hill("alpha", 1.0), make_hill("beta", 3.0)};
    sim_.normalize_weights();
    sim_.current_hill = 1;
    ModalDriver driver;
    driver.expect(kRobot, [](QDialog* d) { click(ui<QPushButton>(d, "button_modify")); });
    driver.expect(kHill, [](QDialog* d) {
      QCOMPARE(ui<QLineEdit>(d, "edit_label")->text(), QString("beta"));
      type(ui<QLineEdit>(d, "edit_label"), "gamma");
      type(ui<QLineEdit>(d, "edit_mean_x"), "500");
      click(ui<QPushButton>(d, "button_ok"));
    });
    driver.expect(kRobot, [](QDialog* d) {
      QCOMPARE(ui<QComboBox>(d, "combo_hills")->itemText(1), QString("gamma"));
      QCOMPARE(ui<QComboBox>(d, "combo_hills")->currentIndex(), 1);
      click(ui<QPushButton>(d, "button_cancel"));
    });
    QCOMPARE(run_robot_options_dialog(nullptr, sim_), 0);
    QVERIFY(driver.finished());
    QCOMPARE(driver.texts(), QStringList({"Parameter must be less than or equal to 400.0 | "
                                          "Resetting mu1 to 400.0"}));
    QCOMPARE(sim_.hills[1].label, std::string("gamma"));
    QCOMPARE(sim_.hills[1].mean_x, 400.0);
    QCOMPARE(sim_.hills[1].stddev_y, 30.0);
    QCOMPARE(sim_.hills[1].relative_weight, 0.75);
  }

  void hillDialogStoresWhatItShows() {
    Hill h = make_hill("peak", 2.47);
    sim_.hills = {h};
    sim_.current_hill = 0;
    ModalDriver driver;
    driver.expect(kHill, [](QDialog* d) {
      QCOMPARE(ui<QLineEdit>(d, "edit_weight")->text(), QString("2.5"));
      QVERIFY(!ui<QLineEdit>(d, "edit_weight")->isEnabled());
      QCOMPARE(ui<QLineEdit>(d, "edit_correlation")->text(), QString("0.00000"));
      QCOMPARE(ui<QLineEdit>(d, "edit_stddev")->text(), QString("30.0"));
      QCOMPARE(QApplication::focusWidget(), ui<QLineEdit>(d, "edit_mean_x"));
      screenshot(d, "hill_parameters");
      type(ui<QLineEdit>(d, "edit_correlation"), "1");
      click(ui<QPushButton>(d, "button_ok"));
    });
    QVERIFY(run_hill_dialog(nullptr, sim_));
    QCOMPARE(driver.texts(), QStringList({"Parameter must be less than or equal to 0.99999 | "
                                          "Resetting rho to 0.99999"}));
    QCOMPARE(sim_.hills[0].weight, 2.5);
    QCOMPARE(sim_.hills[0].correlation, 0.99999);
    QCOMPARE(sim_.hills[0].stddev_y, 30.0);

    driver.expect(kHill, [](QDialog* d) {
      type(ui<QLineEdit>(d, "edit_label"), "changed");
      click(ui<QPushButton>(d, "button_cancel"));
    });
    QVERIFY(!run_hill_dialog(nullptr, sim_));
    QCOMPARE(sim_.hills[0].label, std::string("peak"));
  }

  void tabOrderFollowsTheTemplates() {
    sim_.hills = {make_hill("alpha", 1.0)};
    ModalDriver driver;
    driver.expect(kRobot, [](QDialog* d) {
      QCOMPARE(tab_chain(d, "edit_nsteps"),
               QStringList({"edit_nsteps", "check_show_trajectory", "edit_dot_radius",
                            "check_ignore_topography", "edit_start_x", "edit_start_y",
                            "edit_step_stddev", "edit_step_mean", "edit_seed", "button_cancel",
                            "button_ok", "combo_hills", "button_modify", "button_new_seed",
                            "check_allow_rotation"}));
      d->reject();
    });
    driver.expect(kHill, [](QDialog* d) {
      QCOMPARE(tab_chain(d, "edit_mean_x"),
               QStringList({"edit_mean_x", "edit_stddev", "edit_mean_y", "edit_correlation",
                            "button_cancel", "button_ok", "edit_label", "edit_weight"}));
      d->reject();
    });
    run_robot_options_dialog(nullptr, sim_);
    run_hill_dialog(nullptr, sim_);
    QVERIFY(driver.finished());
  }

  void aboutBoxNamesTheProgram() {
    ModalDriver driver;
    driver.expect("About Wandrix", [](QDialog* d) {
      QCOMPARE(ui<QLabel>(d, "label_version")->text(), QString("Wandrix 2.1"));
      QCOMPARE(ui<QLabel>(d, "label_by")->text(), QString("by"));
      QVERIFY(!ui<QLabel>(d, "label_credit")->text().isEmpty());
      QVERIFY(ui<QPushButton>(d, "button_ok")->isDefault());
      screenshot(d, "about");
      click(ui<QPushButton>(d, "button_ok"));
    });
    run_about_box(nullptr);
    QVERIFY(driver.finished());
  }

 private:
  Simulation sim_;
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
