// Wandrix: watch Markov chain Monte Carlo walk over a landscape of hills.
#include <QApplication>
#include <QIcon>

#include "desktop/window/main_window.h"
#include "model/simulation.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Wandrix"));
  QApplication::setApplicationVersion(QStringLiteral(WANDRIX_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.wandrix.Wandrix"));

  wandrix::Simulation sim;
  wandrix::desktop::MainWindow window(sim);
  window.setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.wandrix.Wandrix")));
  QObject::connect(&window, &wandrix::desktop::MainWindow::quit_requested, &app,
                   [] { QCoreApplication::exit(0); });
  window.show_at_start();
  return QApplication::exec();
}
