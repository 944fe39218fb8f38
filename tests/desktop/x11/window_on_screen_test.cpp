// The window as the screen shows it, under a real window manager: pixels are
// read back from the X server by another program (ImageMagick's import), and
// focus is what openbox says it is. Run through run_on_screen.sh. With
// WANDRIX_SCREENSHOT_DIR set, the pictures are kept there for a person to see.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <fstream>

#include "app/menu_table.h"
#include "desktop/dialogs/message_box.h"
#include "modal_driver.h"
#include "screen_support.h"
#include "view/paint.h"
#include "window_test_support.h"

using namespace wandrix::command;
using namespace window_test;
using namespace screen_test;

namespace {

int lit_pixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      n += (image.pixel(x, y) & 0xFFFFFFu) != 0 ? 1 : 0;
    }
  }
  return n;
}

// The window the window manager has made active (_NET_ACTIVE_WINDOW).
WId active_on_screen() {
  QProcess xprop;
  xprop.start(QStringLiteral("xprop"), {"-root", "_NET_ACTIVE_WINDOW"});
  xprop.waitForFinished(5000);
  const QString text = QString::fromLatin1(xprop.readAllStandardOutput());
  bool ok = false;
  const WId id = text.section('#', 1).trimmed().split(',').first().toULongLong(&ok, 16);
  return ok ? id : 0;
}

void write_session(const QString& path, const char* size_line, const char* hill) {
  std::ofstream(path.toStdString()) << "WANDRIX 1.0\n7\n"
                                    << size_line << "\n150  150\n20.00000\n20.00000\n1\n\nh\n"
                                    << hill;
}

// Fills fields of the dialog by object name and presses Ok.
ModalDriver::Step type_and_ok(const std::vector<std::pair<QString, QString>>& typed) {
  return [typed](QDialog* dialog) {
    for (const auto& [name, text] : typed) {
      dialog->findChild<QLineEdit*>(name)->setText(text);
    }
    QTest::keyClick(dialog, Qt::Key_Return);
  };
}

}  // namespace

class WindowOnScreenTest : public QObject, public WindowFixture {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void escapeRemovesTheOutlineFromTheScreen();
  void openFitsTheWindowAndCopyHasItsSize();
  void focusReturnsAfterCorrectionMessages();
  void messageBoxShowsItsWholeCaption();
  void densityViewAndRefusingWallsFromTheMenus();
  void anAnimatedStepShowsAndGoesWithStop();

 private:
  QTemporaryDir dir_;
};

void WindowOnScreenTest::init() {
  QVERIFY(open_window());
  QTest::qWait(300);  // framed and placed by the window manager
}

void WindowOnScreenTest::cleanup() { QCOMPARE(close_window(), 0); }

void WindowOnScreenTest::escapeRemovesTheOutlineFromTheScreen() {
  QWidget* view = window_->landscape();
  QTest::mousePress(view, Qt::LeftButton, {}, {100, 100});
  QTest::mouseMove(view, {130, 60});
  QTest::mouseMove(view, {160, 30});
  QTest::qWait(300);
  const QImage during = shown(view);
  keep(during, "band_during_drag");
  QVERIFY(lit_pixels(during.copy(100, 100, 61, 61)) > 200);  // the square's outline
  QTest::keyClick(view, Qt::Key_Escape);
  QTest::qWait(300);
  const QImage after = shown(view);
  keep(after, "band_after_escape");
  QCOMPARE(lit_pixels(after), 0);
  QVERIFY(sim_->hills.empty());
}

// After Open the window has the session's size as far as the screen allows,
// and Copy is a picture of the window.
void WindowOnScreenTest::openFitsTheWindowAndCopyHasItsSize() {
  QWidget* view = window_->landscape();
  const QSize screen = window_->screen()->availableGeometry().size();
  for (const auto& [size_line, expected] :
       {std::pair{"400  300", QSize(400, 300)}, std::pair{"1000000000  1000000000", QSize()}}) {
    const QString path = dir_.filePath("other.dat");
    write_session(path, size_line, "300\n100\n30\n30\n0\n1\n");
    window_->frame().open_file(path.toStdString());
    QTest::qWait(500);
    if (expected.isValid()) {
      QCOMPARE(view->size(), expected);
      QCOMPARE(sim_->hills.at(0).mean_x, 300.0);  // where the file put it
    } else {                                      // as large as the screen allows
      QVERIFY(view->width() > 900 && view->width() <= screen.width());
      QVERIFY(view->height() > 600 && view->height() <= screen.height());
    }
    QCOMPARE(QSize(static_cast<int>(sim_->width), sim_->client_height()), view->size());
    keep(from_screen(QString::number(window_->winId())), "open_" + QString::number(view->width()));
    BoxSeen box;
    accept_box(box);
    window_->action(kCopy)->trigger();
    QCOMPARE(box.caption, QString("Copy to clipboard"));
    QCOMPARE(copied_picture().size(), view->size());
    QCOMPARE(static_cast<int>(sim_->hills.size()), 1);
  }
}

// Two corrections after Ok in the hill dialog: the main window has the
// keyboard again, every time.
void WindowOnScreenTest::focusReturnsAfterCorrectionMessages() {
  QWidget* view = window_->landscape();
  for (int attempt = 0; attempt < 6; ++attempt) {
    ModalDriver driver;
    driver.expect("Hill Parameters", type_and_ok({{"edit_mean_x", "9999"}, {"edit_mean_y", "-5"}}));
    QTest::mousePress(view, Qt::LeftButton, {}, {100, 100});
    QTest::mouseRelease(view, Qt::LeftButton, {}, {160, 30});
    QVERIFY(driver.finished());
    QCOMPARE(driver.boxes().size(), std::size_t{2});
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), window_, 3000);
    QTest::qWait(200);
    QCOMPARE(QApplication::activeWindow(), window_);
    QCOMPARE(active_on_screen(), window_->winId());
  }
}

// The window manager cuts a title that does not fit; every box of the
// program is made wide enough for its caption in the title font (openbox:
// sans, 8 points, bold).
void WindowOnScreenTest::messageBoxShowsItsWholeCaption() {
  const QString caption("Parameter must be greater than or equal to 1");
  QRect frame;
  QImage picture;
  QTimer look;
  connect(&look, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box != nullptr && box->isActiveWindow() && frame.isNull()) {
      QTest::qWait(100);
      frame = box->frameGeometry();
      picture = from_screen(QStringLiteral("root"), frame);
      QTest::keyClick(box, Qt::Key_Return);
    }
  });
  look.start(10);
  wandrix::show_message_box(window_, "Resetting nsteps to 1", caption);
  keep(picture, "message_box");
  const int width = QFontMetrics(QFont("Sans", 8, QFont::Bold)).horizontalAdvance(caption);
  // The title bar holds the icon and the buttons besides the caption.
  QVERIFY2(frame.width() >= width + 100,
           qPrintable(QString("%1 for %2").arg(frame.width()).arg(width)));
}

// Chooses the item of the popup as a user does: opens the popup, clicks it.
void choose(QWidget* window, QMenu* menu, const QString& name) {
  open_menu(window, menu);
  QAction* action = nullptr;
  for (QAction* a : menu->actions()) {
    action = a->text() == name ? a : action;
  }
  QVERIFY2(action != nullptr, qPrintable(name));
  QVERIFY(action->isCheckable());
  const bool was = action->isChecked();
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
  QTRY_VERIFY(!menu->isVisible());
  QCOMPARE(action->isChecked(), !was);
}

// The two switches of the density work: each is a checked item of its menu,
// and the screen shows the density of a walk of 1,000,000 steps under the
// yellow contours, exactly as painted, and the dots again when it is off.
void WindowOnScreenTest::densityViewAndRefusingWallsFromTheMenus() {
  QWidget* view = window_->landscape();
  choose(window_, window_->popup(4), "Refuse steps &beyond the walls");
  QVERIFY(sim_->reject_at_walls);
  sim_->add_confirmed_hill(wandrix::Hill{"h", 60, 200, 70, 50, 0.3, 1, 1});
  sim_->nsteps = 1000000;
  window_->action(kStartWalking)->trigger();
  QVERIFY(walk_ends(*sim_));
  QVERIFY(QTest::qWaitFor([this] { return !window_->frame().painting(); }, 60000));
  QTest::qWait(300);
  const QImage dots = shown(view);
  choose(window_, window_->popup(wandrix::kShowPopup), "&Density");
  QVERIFY(sim_->density_view);
  QTest::qWait(500);
  const QImage density = shown(view);
  keep(density, "density");
  keep(from_screen(QString::number(window_->winId())), "density_window");
  // What the screen shows is the picture painted afresh, pixel for pixel.
  wandrix::RasterCanvas expected(view->width(), view->height());
  sim_->full_redraw = true;
  wandrix::paint(*sim_, expected, wandrix::client_rect(*sim_), false);
  QCOMPARE(density.size(), QSize(expected.width(), expected.height()));
  int differ = 0;
  int yellow = 0;
  int coloured = 0;
  for (int y = 0; y < density.height(); ++y) {
    for (int x = 0; x < density.width(); ++x) {
      const QRgb p = density.pixel(x, y);
      differ += (p & 0xFFFFFFu) != (expected.pixel(x, y) & 0xFFFFFFu) ? 1 : 0;
      yellow += (p & 0xFFFFFFu) == 0xFFFF00u ? 1 : 0;
      coloured += (p & 0xFFFFFFu) != 0 && (p & 0xFFFFFFu) != 0xFFFF00u ? 1 : 0;
    }
  }
  QCOMPARE(differ, 0);
  QVERIFY(yellow > 300);                                       // both contours, on top
  QVERIFY(coloured > density.width() * density.height() / 4);  // the density
  QVERIFY(density != dots);
  // Copy takes the density as shown, in the colours of a picture.
  BoxSeen box;
  accept_box(box);
  window_->action(kCopy)->trigger();
  QImage copied;
  QVERIFY(copied.loadFromData(QApplication::clipboard()->mimeData()->data("image/png"), "PNG"));
  keep(copied, "density_copied");
  wandrix::RasterCanvas picture(view->width(), view->height());
  wandrix::paint(*sim_, picture, wandrix::client_rect(*sim_), true);
  QCOMPARE(copied.size(), density.size());
  for (int y = 0; y < copied.height(); ++y) {
    for (int x = 0; x < copied.width(); ++x) {
      QCOMPARE(copied.pixel(x, y) & 0xFFFFFFu, picture.pixel(x, y) & 0xFFFFFFu);
    }
  }
  QVERIFY(QApplication::clipboard()->mimeData()->data("image/svg+xml").contains("<image"));
  choose(window_, window_->popup(wandrix::kShowPopup), "&Density");
  QVERIFY(QTest::qWaitFor([this] { return !window_->frame().painting(); }, 60000));
  QTest::qWait(500);
  QCOMPARE(shown(view), dots);
}

// A single step of the animation is on the screen, forays and robots drawn
// over the picture, and the status bar says so; Stop leaves the ordinary
// picture of the samples on the screen.
void WindowOnScreenTest::anAnimatedStepShowsAndGoesWithStop() {
  QWidget* view = window_->landscape();
  sim_->add_confirmed_hill(Hill{"h", 200, 200, 60, 60, 0.2, 1, 0});
  window_->action(kOneChain + 1)->trigger();
  window_->action(kShowAllChains)->trigger();
  const QImage status_before = shown(window_->statusBar());
  for (int i = 0; i < 5; ++i) {
    QTest::keyClick(window_, Qt::Key_Right);  // single steps, paused
  }
  QTest::qWait(400);
  const QImage step = shown(view);
  keep(step, "animation_step");
  const QImage status_during = shown(window_->statusBar());
  keep(status_during, "animation_status");
  QVERIFY(window_->progress_label()->text().startsWith("Paused: step 5 of 100"));
  QVERIFY(status_during != status_before);  // the screen shows the new text
  const RasterCanvas& surface = window_->frame().surface();
  const QImage surface_image = image_of(surface);
  QCOMPARE(step.size(), surface_image.size());
  QCOMPARE(differing_pixels(step, surface_image), 0);
  window_->action(kStopWalking)->trigger();
  QTest::qWait(400);
  const QImage stopped = shown(view);
  keep(stopped, "animation_stopped");
  QVERIFY(stopped != step);  // the forays and robots are gone
  // What is shown is the ordinary picture of the samples.
  RasterCanvas ordinary(surface.width(), surface.height());
  sim_->full_redraw = true;
  wandrix::paint(*sim_, ordinary, {0, 0, surface.width(), surface.height()}, false);
  QCOMPARE(differing_pixels(stopped, image_of(ordinary)), 0);
}

QTEST_MAIN(WindowOnScreenTest)
#include "window_on_screen_test.moc"
