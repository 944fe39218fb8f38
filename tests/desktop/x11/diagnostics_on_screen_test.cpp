// Show > Diagnostics... as the screen shows it, under a real window manager:
// the window opens beside the landscape without blocking it, and what the X
// server has in it is the picture of the latest walk, never an older one.
// Run through run_on_screen.sh; with WANDRIX_SCREENSHOT_DIR set, the
// pictures are kept there for a person to see.
#include <QAction>
#include <QProcess>

#include "app/menu_table.h"
#include "desktop/window/diagnostics_window.h"
#include "screen_support.h"
#include "view/diagnostics.h"
#include "window_test_support.h"

using namespace wandrix::command;
using namespace window_test;
using wandrix::desktop::DiagnosticsWindow;

namespace {

// The window's pixels as the X server has them.
QImage from_screen(const QWidget* window) {
  return screen_test::from_screen(QString::number(window->winId()));
}

using screen_test::keep;

// Pixels of the picture that differ from the image (the screen, a copy).
int differing(const QImage& screen, const RasterCanvas& surface) {
  return screen_test::differing_pixels(screen, screen_test::image_of(surface));
}

// The diagnostics of the model as it is now, at the window's size.
std::unique_ptr<RasterCanvas> current_picture(const DiagnosticsWindow* window) {
  auto canvas = std::make_unique<RasterCanvas>(window->width(), window->height());
  wandrix::draw_diagnostics(window->simulation(), *canvas,
                            wandrix::Rect{0, 0, window->width(), window->height()});
  return canvas;
}

int pixels_of(const QImage& image, wandrix::Colour colour) {
  const QRgb rgb =
      qRgb(wandrix::red_of(colour), wandrix::green_of(colour), wandrix::blue_of(colour));
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      n += image.pixel(x, y) == rgb ? 1 : 0;
    }
  }
  return n;
}

}  // namespace

class DiagnosticsOnScreenTest : public QObject, public WindowFixture {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(open_window());
    QTest::qWait(300);
  }
  void cleanup() { QCOMPARE(close_window(), 0); }
  void followsEveryWalkWithoutBlockingTheWindow();
  void escapeClosesAndTheMenuOpensItAgain();
  void copyPutsWhatTheWindowShowsOnTheClipboard();

 private:
  // The diagnostics window once the screen shows it, or nullptr.
  DiagnosticsWindow* open_diagnostics() {
    window_->action(kDiagnostics)->trigger();
    auto* diagnostics = window_->findChild<DiagnosticsWindow*>();
    if (diagnostics == nullptr || !QTest::qWaitForWindowExposed(diagnostics)) {
      return nullptr;
    }
    QTest::qWait(400);  // framed and drawn
    return diagnostics;
  }
};

void DiagnosticsOnScreenTest::followsEveryWalkWithoutBlockingTheWindow() {
  under_test_->walk_two_hills();
  DiagnosticsWindow* diagnostics = open_diagnostics();
  QVERIFY(diagnostics != nullptr);
  QVERIFY(diagnostics->isVisible());
  QCOMPARE(QApplication::activeModalWidget(), nullptr);
  QCOMPARE(diagnostics->windowTitle(), QString("Wandrix diagnostics"));
  const wandrix::Colour blue = sim_->chains[0].colour;
  QImage shown = from_screen(diagnostics);
  QCOMPARE(differing(shown, diagnostics->surface()), 0);
  QVERIFY(pixels_of(shown, blue) > 0);

  // The landscape's window still takes commands; each walk shows at once:
  // the screen holds the picture of the model as it now is.
  sim_->nsteps = 100000;
  window_->action(kContinueWalking)->trigger();
  QVERIFY(walk_ends(*sim_));
  QCOMPARE(sim_->chains[0].sample_count(), std::size_t{100501});
  QTRY_COMPARE_WITH_TIMEOUT(differing(from_screen(diagnostics), *current_picture(diagnostics)), 0,
                            5000);
  shown = from_screen(diagnostics);
  keep(shown, "diagnostics_window");

  // Four chains, all shown: a row for each, in its colour.
  window_->action(kOneChain + 3)->trigger();
  window_->action(kShowAllChains)->trigger();
  sim_->nsteps = 20000;
  window_->action(kStartWalking)->trigger();
  QVERIFY(walk_ends(*sim_));
  QTRY_COMPARE_WITH_TIMEOUT(differing(from_screen(diagnostics), *current_picture(diagnostics)), 0,
                            5000);
  shown = from_screen(diagnostics);
  for (int k = 2; k <= 4; ++k) {
    QVERIFY2(pixels_of(shown, sim_->chains[k - 1].colour) > 0, qPrintable(QString::number(k)));
  }
  keep(shown, "diagnostics_four_chains");

  // Clear: no samples, no chain colour left.
  window_->action(kClear)->trigger();
  QTRY_COMPARE_WITH_TIMEOUT(differing(from_screen(diagnostics), *current_picture(diagnostics)), 0,
                            5000);
  QCOMPARE(pixels_of(from_screen(diagnostics), blue), 0);
}

void DiagnosticsOnScreenTest::escapeClosesAndTheMenuOpensItAgain() {
  DiagnosticsWindow* diagnostics = open_diagnostics();
  QVERIFY(diagnostics != nullptr);
  QTRY_VERIFY_WITH_TIMEOUT(diagnostics->isActiveWindow(), 3000);
  QTest::keyClick(diagnostics, Qt::Key_Escape);
  QTRY_VERIFY_WITH_TIMEOUT(!diagnostics->isVisible(), 3000);
  under_test_->walk_two_hills();  // while closed
  QCOMPARE(open_diagnostics(), diagnostics);
  QVERIFY(diagnostics->isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(diagnostics->isActiveWindow(), 3000);
  const QImage shown = from_screen(diagnostics);
  QCOMPARE(differing(shown, diagnostics->surface()), 0);
  QVERIFY(pixels_of(shown, sim_->chains[0].colour) > 0);  // the walk made while closed
}

void DiagnosticsOnScreenTest::copyPutsWhatTheWindowShowsOnTheClipboard() {
  under_test_->walk_two_hills();
  DiagnosticsWindow* diagnostics = open_diagnostics();
  QVERIFY(diagnostics != nullptr);
  QTRY_VERIFY_WITH_TIMEOUT(diagnostics->isActiveWindow(), 3000);
  BoxSeen box;
  accept_box(box);
  // Over the landscape, where a box owned by the landscape would raise it.
  diagnostics->setGeometry(window_->geometry().x() + 150, window_->geometry().y() + 200, 600, 360);
  QTest::qWait(300);
  QTest::keyClick(diagnostics, Qt::Key_C, Qt::ControlModifier);
  QTRY_COMPARE_WITH_TIMEOUT(box.caption, QString("Copy to clipboard"), 3000);
  QCOMPARE(box.text, QString("The diagnostics have been copied to the clipboard"));
  const QImage png = copied_picture();
  QCOMPARE(png.size(), diagnostics->size());
  QCOMPARE(differing(png.convertToFormat(QImage::Format_RGB32), diagnostics->surface()), 0);
  // The box was the diagnostics window's: once it has gone, that window has
  // the keyboard again and nothing covers it, the landscape included.
  QTRY_VERIFY_WITH_TIMEOUT(diagnostics->isActiveWindow(), 3000);
  QTRY_COMPARE_WITH_TIMEOUT(differing(from_screen(diagnostics), diagnostics->surface()), 0, 5000);
}

QTEST_MAIN(DiagnosticsOnScreenTest)
#include "diagnostics_on_screen_test.moc"
