// Thousands of menu commands, keys and mouse drags in random order on the
// real window, with every dialog, file chooser and message box answered from
// a timer with random values, valid and invalid. After every command the
// model must still make sense; a command that does not return within a
// minute fails the test instead of hanging it.
//
// WANDRIX_RANDOM_SEED and WANDRIX_RANDOM_COMMANDS change the seed (default
// 2026) and the number of commands (default 3000); a failure names the seed
// and the command's number.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <QPushButton>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "app/menu_table.h"
#include "window_test_support.h"

using namespace window_test;

namespace {

int env_int(const char* name, int fallback) {
  const QByteArray value = qgetenv(name);
  bool ok = false;
  const int n = value.toInt(&ok);
  return ok && n > 0 ? n : fallback;
}

// Aborts the program when one command takes longer than a minute: a hang
// must fail the test with the command's name, not wait for the test timeout.
class Watchdog {
 public:
  Watchdog()
      : thread_([this] {
          while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const auto started = started_.load();
            if (started != 0 && now() - started > 60000) {
              std::fprintf(stderr, "HANG: command %d ran for a minute\n", index_.load());
              std::abort();
            }
          }
        }) {}
  ~Watchdog() {
    stop_ = true;
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;
  void begin(int index) {
    index_ = index;
    started_ = now();
  }
  void end() { started_ = 0; }

 private:
  static long long now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  std::atomic<bool> stop_{false};
  std::atomic<long long> started_{0};
  std::atomic<int> index_{0};
  std::thread thread_;
};

// Answers whatever modal widget is on top, on every tick of a timer.
class RandomAnswers : public QObject {
 public:
  RandomAnswers(std::mt19937& rng, const Simulation& sim, QString folder)
      : rng_(rng), sim_(sim), folder_(std::move(folder)) {
    connect(&timer_, &QTimer::timeout, this, &RandomAnswers::tick);
    timer_.start(5);
  }
  int answered = 0;

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
  QString any_of(const QStringList& list) { return list[pick(static_cast<int>(list.size()))]; }
  QString number(double low, double high) {
    return QString::number(std::uniform_real_distribution<double>(low, high)(rng_), 'f', pick(6));
  }

  // The answer runs from its own single-shot timer: it may open a nested
  // modal box, and Qt never fires a timer again while its slot still runs.
  void tick() {
    QWidget* const modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || busy_.count(modal) != 0) {
      return;
    }
    busy_.insert(modal);
    ++answered;
    QTimer::singleShot(0, this, [this, modal, guard = QPointer<QWidget>(modal)] {
      if (guard != nullptr) {
        answer(modal);
      }
      busy_.erase(modal);
    });
  }

  void answer(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      answer_box(box);
    } else if (auto* chooser = qobject_cast<QFileDialog*>(modal)) {
      answer_file_dialog(chooser);
    } else if (modal->windowTitle() == "Robot Parameters") {
      answer_robot(qobject_cast<QDialog*>(modal));
    } else if (modal->windowTitle() == "Hill Parameters") {
      answer_hill(qobject_cast<QDialog*>(modal));
    } else {
      modal->close();  // the about box, or anything unexpected
    }
  }

  static void answer_box(QMessageBox* box) {
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
      ok->click();
    } else if (!box->buttons().isEmpty()) {
      box->buttons().constFirst()->click();  // "overwrite?": the first answer
    } else {
      box->close();
    }
  }

  void answer_file_dialog(QFileDialog* dialog) {
    if (chance(0.2)) {
      dialog->reject();
      return;
    }
    const QStringList names =
        dialog->acceptMode() == QFileDialog::AcceptOpen
            ? QStringList{"s0.dat", "s1.dat", "garbage.dat", "table.txt", "none.dat"}
            : QStringList{"s0.dat", "s1.dat", "table.txt", "picture.emf", "no/such/x.dat"};
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
      name->setText(folder_ + "/" + any_of(names));
    }
    static_cast<QDialog*>(dialog)->accept();
    if (dialog->isVisible()) {
      dialog->reject();  // a file that does not exist cannot be opened
    }
  }

  // Each field gets, now and then, a random value in its range or not.
  void fill(QDialog* dialog, const char* name, const QString& valid, const QStringList& invalid) {
    auto* edit = dialog->findChild<QLineEdit*>(name);
    if (edit == nullptr || chance(0.4)) {
      return;
    }
    edit->setText(invalid.isEmpty() || chance(0.75) ? valid : any_of(invalid));
  }

  void finish(QDialog* dialog) {
    QPointer<QDialog> guard(dialog);
    const int attempts = ++attempts_[dialog];
    const int choice = attempts > 4 ? 2 : pick(10);
    if (choice < 7) {
      dialog->findChild<QPushButton*>("button_ok")->click();
    } else if (choice < 9) {
      dialog->findChild<QPushButton*>("button_cancel")->click();
    } else {
      dialog->close();
    }
    if (guard == nullptr || !guard->isVisible()) {
      attempts_.erase(dialog);
    }
  }

  void answer_robot(QDialog* d) {
    const QStringList junk = {"", "abc", "-1", "0", "1e400", "nan", "12x", " 7 ", "0x10"};
    fill(d, "edit_nsteps", QString::number(1 + pick(400)), {"", "0", "-5", "abc", "3.7", "1e3"});
    fill(d, "edit_dot_radius", QString::number(1 + pick(10)), junk + QStringList{"11", "999"});
    fill(d, "edit_start_x", QString::number(pick(static_cast<int>(sim_.width) + 1)), junk);
    fill(d, "edit_start_y", QString::number(pick(static_cast<int>(sim_.height) + 1)), junk);
    fill(d, "edit_step_stddev", number(0.1, 1000.0), junk + QStringList{"1000.5", "inf"});
    fill(d, "edit_step_mean", number(0.0, 100.0), junk + QStringList{"100.1", "1e9"});
    fill(d, "edit_seed", QString::number(pick(2147483647)), junk + QStringList{"99999999999"});
    for (const char* name :
         {"check_show_trajectory", "check_allow_rotation", "check_ignore_topography"}) {
      if (chance(0.25)) {
        d->findChild<QCheckBox*>(name)->click();
      }
    }
    auto* hills = d->findChild<QComboBox*>("combo_hills");
    if (hills != nullptr && hills->count() > 0) {
      hills->setCurrentIndex(pick(hills->count()));
    }
    if (chance(0.1)) {
      d->findChild<QPushButton*>("button_new_seed")->click();
    }
    if (chance(0.15)) {
      d->findChild<QPushButton*>("button_modify")->click();  // the hill dialog, nested
    }
    finish(d);
  }

  void answer_hill(QDialog* d) {
    const QStringList junk = {"", "x", "nan", "-inf", "1e999", "--1", "5,5"};
    const QStringList labels = {
        "",          " ",          "top", "two words", QString(300, 'L'), "\u00e9t\u00e9",
        "tab\there", "under_score"};
    fill(d, "edit_label", any_of(labels), {});
    fill(d, "edit_mean_x", number(0.0, sim_.width), junk);
    fill(d, "edit_mean_y", number(0.0, sim_.height), junk);
    fill(d, "edit_stddev", number(1.0, 200.0), junk + QStringList{"0", "-3"});
    fill(d, "edit_correlation", number(-0.99, 0.99), junk + QStringList{"1", "-1", "2"});
    fill(d, "edit_weight", number(0.0, 10.0), junk + QStringList{"-1"});
    finish(d);
  }

  std::mt19937& rng_;
  const Simulation& sim_;
  QString folder_;
  QTimer timer_;
  std::set<QWidget*> busy_;
  std::map<QDialog*, int> attempts_;
};

}  // namespace

class RandomCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void everyCommandInRandomOrderKeepsTheModelSound();

 private:
  void run_one(std::mt19937& rng, int index);
  void drag(std::mt19937& rng, Qt::MouseButton button);
  QTemporaryDir dir_;
  std::unique_ptr<WindowUnderTest> under_test_;
  std::vector<int> menu_ids_;
  std::vector<wandrix::Accelerator> keys_;
  QString name_;
};

void RandomCommandsTest::initTestCase() {
  QVERIFY(dir_.isValid());
  install_fake_viewer(dir_);  // "Help" starts a script, never a real browser
  QFile garbage(dir_.filePath("garbage.dat"));
  QVERIFY(garbage.open(QIODevice::WriteOnly));
  garbage.write("WANDRIX 1.0\n12\n400 400\n-5 nan\n");
  garbage.close();
  for (const auto& popup : wandrix::menu_bar()) {
    for (const auto& item : popup.items) {
      if (!item.separator()) {
        menu_ids_.push_back(item.id);
      }
    }
  }
  for (const auto& key : wandrix::accelerators()) {
    keys_.push_back(key);
  }
  QVERIFY(menu_ids_.size() > 20);
}

// A left drag outlines a hill (its dialog follows), a right drag turns the
// view or says that rotation is off; some end outside the window or on Esc.
void RandomCommandsTest::drag(std::mt19937& rng, Qt::MouseButton button) {
  QWidget* view = under_test_->window->landscape();
  auto point = [&] {
    std::uniform_int_distribution<int> x(-20, view->width() + 20);
    std::uniform_int_distribution<int> y(-20, view->height() + 20);
    return QPoint(x(rng), y(rng));
  };
  const QPoint from(std::uniform_int_distribution<int>(0, view->width() - 1)(rng),
                    std::uniform_int_distribution<int>(0, view->height() - 1)(rng));
  QTest::mousePress(view, button, {}, from);
  QTest::mouseMove(view, point());
  const QPoint to = point();
  QTest::mouseMove(view, to);
  if (std::bernoulli_distribution(0.1)(rng)) {
    QTest::keyClick(view, Qt::Key_Escape);
  }
  QTest::mouseRelease(view, button, {}, to);
}

void RandomCommandsTest::run_one(std::mt19937& rng, int index) {
  MainWindow& window = *under_test_->window;
  const int kind = std::uniform_int_distribution<int>(0, 99)(rng);
  if (kind < 70) {
    const int id = menu_ids_[rng() % menu_ids_.size()];
    window.apply_menu_rules();  // as opening the popup does: greyed items do nothing
    QAction* action = window.action(id);
    name_ = action->text();
    action->trigger();
  } else if (kind < 88) {
    const wandrix::Accelerator& key = keys_[rng() % keys_.size()];
    name_ = QString::fromUtf8(key.keys.data(), static_cast<int>(key.keys.size()));
    QTest::keySequence(&window, QKeySequence::fromString(name_));
  } else if (kind < 96) {
    name_ = "left drag";
    drag(rng, Qt::LeftButton);
  } else {
    name_ = "right drag";
    drag(rng, Qt::RightButton);
  }
  QApplication::processEvents();  // the repaint the command asked for
  // A walk runs on between the commands, from the event loop; now and then
  // the user stops it.
  if (window.frame().simulation().walking && rng() % 4 == 0) {
    QTest::keyClick(window.landscape(), Qt::Key_Escape);
  }
  if (index % 50 == 0) {
    window.landscape()->repaint();
  }
}

namespace {

// What must hold after every command; empty when it does.
QString broken_invariant(const Simulation& sim) {
  if (sim.nchains < 1 || sim.nchains > 4) return QString("nchains %1").arg(sim.nchains);
  if (sim.shown_chain < 0 || sim.shown_chain > 4) return QString("shown %1").arg(sim.shown_chain);
  if (sim.dot_radius < 1 || sim.dot_radius > 10) return QString("dot %1").arg(sim.dot_radius);
  const auto w = static_cast<std::int32_t>(sim.width);
  const auto h = static_cast<std::int32_t>(sim.height);
  for (int p = 0; p < sim.nchains; ++p) {
    const wandrix::Chain& c = sim.chains[static_cast<std::size_t>(p)];
    const QString chain = QString("chain %1: ").arg(p + 1);
    if (c.xs.size() != c.ys.size()) return chain + "xs and ys differ in length";
    if (sim.allow_rotation ? c.zs.size() != c.xs.size() : !c.zs.empty()) {
      return chain + QString("%1 heights for %2 samples").arg(c.zs.size()).arg(c.xs.size());
    }
    for (std::size_t i = 0; i < c.xs.size(); ++i) {
      if (c.xs[i] < 0 || c.xs[i] > w || c.ys[i] < 0 || c.ys[i] > h) {
        return chain + QString("sample %1 at (%2, %3) is off the %4 x %5 landscape")
                           .arg(i)
                           .arg(c.xs[i])
                           .arg(c.ys[i])
                           .arg(w)
                           .arg(h);
      }
    }
    for (float z : c.zs) {
      if (!std::isfinite(z)) return chain + "a height is not a number";
    }
    if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.z)) {
      return chain + "position is not a number";
    }
  }
  for (const Hill& hill : sim.hills) {
    for (double v : {hill.mean_x, hill.mean_y, hill.stddev_x, hill.stddev_y, hill.correlation,
                     hill.weight, hill.relative_weight}) {
      if (!std::isfinite(v)) return QString::fromStdString("hill '" + hill.label + "' holds NaN");
    }
  }
  return {};
}

}  // namespace

void RandomCommandsTest::everyCommandInRandomOrderKeepsTheModelSound() {
  const int seed = env_int("WANDRIX_RANDOM_SEED", 2026);
  const int count = env_int("WANDRIX_RANDOM_COMMANDS", 3000);
  std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
  under_test_ = std::make_unique<WindowUnderTest>();
  QVERIFY(under_test_->start());
  Simulation& sim = *under_test_->sim;
  sim.nsteps = 50;
  // The answers draw from their own generator: when a timer fires must not
  // change which commands run.
  std::mt19937 answer_rng(static_cast<std::mt19937::result_type>(seed) + 1);
  RandomAnswers answers(answer_rng, sim, dir_.path());
  Watchdog watchdog;
  std::deque<QString> recent;
  for (int i = 0; i < count; ++i) {
    watchdog.begin(i);
    run_one(rng, i);
    watchdog.end();
    if (qEnvironmentVariableIsSet("WANDRIX_RANDOM_TRACE")) {
      std::fprintf(stderr, "%d %s\n", i, qPrintable(name_));
    }
    recent.push_back(name_);
    if (recent.size() > 12) recent.pop_front();
    QString problem = broken_invariant(sim);
    if (sim.walking != under_test_->window->frame().player().running()) {
      problem = "a walk runs that nothing drives";
    }
    if (!problem.isEmpty()) {
      QStringList last(recent.begin(), recent.end());
      QFAIL(qPrintable(QString("seed %1, command %2: %3; last commands: %4")
                           .arg(seed)
                           .arg(i)
                           .arg(problem, last.join(", "))));
    }
    QVERIFY2(
        QApplication::activeModalWidget() == nullptr,
        qPrintable(
            QString("seed %1, command %2 (%3) left a dialog open").arg(seed).arg(i).arg(name_)));
  }
  QVERIFY(answers.answered > count / 20);  // the dialogs really were exercised
  under_test_.reset();
}

QTEST_MAIN(RandomCommandsTest)
#include "random_commands_test.moc"
