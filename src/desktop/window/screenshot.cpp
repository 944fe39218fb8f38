// Makes the pictures of the README: the window after a seeded walk of four
// chains over two hills, the window with its Robot menu open, the rotated
// view, the density view of a walk of 1,000,000 steps and the diagnostics
// window after a million steps, and a lesson with its text beside the
// landscape. Run it under a display (scripts/screenshot uses Xvfb).
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/menu_table.h"
#include "desktop/window/diagnostics_window.h"
#include "desktop/window/main_window.h"
#include "lessons/lesson.h"
#include "model/simulation.h"

using namespace wandrix;

namespace {

// Runs the walk in progress to its end, as the window's event loop would.
void finish_walk(const Simulation& sim) {
  while (sim.walking) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
}

void walk_two_hills(desktop::MainWindow& window, Simulation& sim) {
  sim.rn_seed = 2024;
  sim.clear();
  window.frame().command(command::kOneChain + 3);
  window.frame().command(command::kShowAllChains);
  const int h = static_cast<int>(sim.height);
  const int w = static_cast<int>(sim.width);
  sim.add_confirmed_hill(Hill{"west", w * 0.3, h * 0.55, w * 0.1, w * 0.1, 0.3, 1.0, 0.0});
  sim.add_confirmed_hill(Hill{"east", w * 0.72, h * 0.35, w * 0.08, w * 0.12, -0.5, 2.0, 0.0});
  sim.nsteps = 250;
  window.frame().command(command::kStartWalking);
  finish_walk(sim);
}

// An animation paused on a step in which a foray was refused and two chains
// exchanged places; the status bar shows the walk's progress and rates.
void animation(desktop::MainWindow& window, const Simulation& sim, const QString& file,
               const QString& status_file) {
  Frame& frame = window.frame();
  frame.command(command::kSlower);
  frame.command(command::kSlower);  // 1 step per second
  frame.command(command::kClear);
  frame.command(command::kIncrementDotSize);  // dots and robots read better
  for (int i = 0; i < 500; ++i) {
    frame.command(command::kSingleStep);
    const StepTrace& trace = frame.player().trace();
    bool refused = false;
    for (int p = 0; p < trace.nchains; ++p) {
      // A refused foray long enough to be seen beside its robot.
      const ForayTrace& foray = trace.forays[static_cast<std::size_t>(p)];
      const double length = std::hypot(foray.to.x - foray.from.x, foray.to.y - foray.from.y);
      refused = refused || (!foray.accepted && length > 40.0);
    }
    if (i > 25 && refused && trace.exchange.made) {
      break;
    }
  }
  window.show_walk_state();
  window.repaint();
  window.grab().save(file);
  // Wide enough for the rates of every chain.
  const QSize size = window.size();
  window.resize(640, window.height());
  QCoreApplication::processEvents();
  window.show_walk_state();
  window.statusBar()->grab().save(status_file);
  frame.command(command::kStopWalking);
  frame.command(command::kFaster);
  frame.command(command::kFaster);  // the speed and size the window had
  window.resize(size);
  QCoreApplication::processEvents();
  (void)sim;
}

// The same walk in the rotated view, turned by a right-button drag up and to
// the left.
void rotated_view(desktop::MainWindow& window, const QString& file) {
  window.frame().command(command::kToggleRotation);  // clears: walk again with heights
  window.frame().command(command::kStartWalking);
  finish_walk(window.frame().simulation());
  Frame& frame = window.frame();
  Point p{300, 300};
  frame.right_press(p);
  for (int i = 0; i < 14; ++i) {
    p = {p.x - (i % 3 == 0 ? 1 : 0), p.y - 1};
    frame.mouse_move(p);
  }
  frame.right_release(p);
  window.repaint();
  window.grab().save(file);
}

// Chain 1 alone, 1,000,000 steps with refusing walls, in the density view.
void density_view(desktop::MainWindow& window, const QString& file) {
  Frame& frame = window.frame();
  frame.command(command::kOneChain);
  frame.command(command::kRefuseAtWalls);
  window.frame().simulation().nsteps = 1000000;
  frame.command(command::kStartWalking);
  finish_walk(frame.simulation());
  frame.command(command::kDensityView);
  window.repaint();
  window.grab().save(file);
}

// Two chains, both shown, a million steps over the same hills, and the
// diagnostics window that follows them.
void diagnostics_window(desktop::MainWindow& window, Simulation& sim, const QString& file) {
  window.frame().command(command::kOneChain + 1);
  window.frame().command(command::kShowAllChains);
  sim.nsteps = 1000000;
  window.frame().command(command::kStartWalking);
  finish_walk(sim);
  window.frame().command(command::kDiagnostics);
  window.repaint();
  auto* diagnostics = window.findChild<desktop::DiagnosticsWindow*>();
  if (diagnostics != nullptr) {
    diagnostics->repaint();
    diagnostics->grab().save(file);
  }
}

// The lesson "Two islands" (or the first there is) after its walk, its text
// in the panel beside the landscape.
void lesson(desktop::MainWindow& window, const QString& file) {
  const std::string folder = QCoreApplication::applicationDirPath().toStdString();
  const LessonList list = list_lessons(lesson_folders(folder));
  if (list.lessons.empty()) {
    std::fprintf(stderr, "no lessons beside %s\n", folder.c_str());
    return;
  }
  const auto chosen = std::find_if(list.lessons.begin(), list.lessons.end(),
                                   [](const Lesson& l) { return l.name == "two-islands"; });
  window.frame().open_lesson(chosen != list.lessons.end() ? *chosen : list.lessons.front());
  window.show_walk_state();
  window.frame().command(command::kStartWalking);
  finish_walk(window.frame().simulation());
  window.show_walk_state();
  // The window manager's answer to the wider window, and the layout after it.
  for (int i = 0; i < 10; ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(50);
  }
  window.repaint();
  window.grab().save(file);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 10) {
    std::fprintf(stderr,
                 "usage: %s WINDOW.png MENU.png DIALOG.png ROTATED.png ANIMATION.png STATUS.png "
                 "DENSITY.png DIAGNOSTICS.png LESSON.png\n",
                 argv[0]);
    return 2;
  }
  const QString window_file = QString::fromLocal8Bit(argv[1]);
  const QString menu_file = QString::fromLocal8Bit(argv[2]);
  const QString dialog_file = QString::fromLocal8Bit(argv[3]);
  const QString rotated_file = QString::fromLocal8Bit(argv[4]);
  const QString animation_file = QString::fromLocal8Bit(argv[5]);
  const QString status_file = QString::fromLocal8Bit(argv[6]);
  const QString density_file = QString::fromLocal8Bit(argv[7]);
  const QString diagnostics_file = QString::fromLocal8Bit(argv[8]);
  const QString lesson_file = QString::fromLocal8Bit(argv[9]);
  Simulation sim;
  desktop::MainWindow window(sim);
  window.show_at_start();
  QTimer::singleShot(300, [&] {
    walk_two_hills(window, sim);
    window.repaint();
    window.grab().save(window_file);
    QMenu* robot = window.popup(4);
    window.menuBar()->setActiveAction(robot->menuAction());
    QTimer::singleShot(300, [&window, &sim, robot, menu_file, dialog_file, rotated_file,
                             animation_file, status_file, density_file, diagnostics_file,
                             lesson_file] {
      // The whole screen, so the open menu is in the picture too.
      const QRect area = window.frameGeometry().united(robot->geometry()).adjusted(-8, -8, 8, 8);
      window.screen()
          ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
          .save(menu_file);
      robot->close();
      QTimer::singleShot(500, [dialog_file] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
          if (top->isVisible() && top->isModal()) {
            top->grab().save(dialog_file);
            top->close();
          }
        }
      });
      // The robot options dialog as a user opens it; closed from the timer.
      window.frame().command(command::kOptions);
      rotated_view(window, rotated_file);
      window.frame().command(command::kToggleRotation);  // flat again, and cleared
      animation(window, sim, animation_file, status_file);
      density_view(window, density_file);
      diagnostics_window(window, sim, diagnostics_file);
      lesson(window, lesson_file);
      QCoreApplication::exit(0);
    });
  });
  return QApplication::exec();
}
