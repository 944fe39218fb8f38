// Wandrix: watch Markov chain Monte Carlo walk over a landscape of hills.
#include <QApplication>
#include <QIcon>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "desktop/window/main_window.h"
#include "files/atomic_file.h"
#include "model/simulation.h"

namespace {

std::vector<std::string> arguments(int argc, char* argv[]) { return {argv + 1, argv + argc}; }

// --help and --version, answered before Qt looks for a display so that they
// work over ssh as well. Returns true when one was given.
bool answered_early(int argc, char* argv[]) {
  const wandrix::CommandLine line = wandrix::parse_command_line(arguments(argc, argv));
  if (line.action == wandrix::CommandLineAction::help) {
    std::cout << wandrix::command_line_usage();
    return true;
  }
  if (line.action == wandrix::CommandLineAction::version) {
    std::cout << wandrix::command_line_version();
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (answered_early(argc, argv)) {
    return 0;
  }
  // Stopped in the middle of a save, the program leaves no temporary file.
  wandrix::remove_temporaries_on_signals();
  QApplication app(argc, argv);  // takes Qt's own options out of argv
  const wandrix::CommandLine line = wandrix::parse_command_line(arguments(argc, argv));
  if (line.action == wandrix::CommandLineAction::error) {
    std::cerr << line.message;
    return wandrix::kCommandLineError;
  }
  QApplication::setApplicationName(QStringLiteral("Wandrix"));
  QApplication::setApplicationVersion(QStringLiteral(WANDRIX_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.wandrix.Wandrix"));

  wandrix::Simulation sim;
  wandrix::desktop::MainWindow window(sim);
  window.setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.wandrix.Wandrix")));
  QObject::connect(&window, &wandrix::desktop::MainWindow::quit_requested, &app,
                   [] { QCoreApplication::exit(0); });
  window.show_at_start();
  window.open_at_start(line.file, line.lesson);
  return QApplication::exec();
}
