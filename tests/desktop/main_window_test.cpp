// The real main window, offscreen: menus, accelerators, drags, the surface,
// the clipboard and the file dialogs. Modal boxes and dialogs are answered
// from a timer.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/menu_table.h"
#include "desktop/window/main_window.h"
#include "model/simulation.h"

using namespace wandrix;
using namespace wandrix::command;
using wandrix::desktop::MainWindow;

namespace {

// Answers still waiting for their modal widget; a test that ends with one
// expected a box or dialog that never came.
QList<QPointer<QTimer>>& pending_answers() {
  static QList<QPointer<QTimer>> timers;
  return timers;
}

// Acts on the next modal widget once it is shown.
void answer_modal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      return;
    }
    timer->stop();
    timer->deleteLater();
    act(modal);
  });
  pending_answers().append(timer);
  timer->start();
}

int drop_pending_answers() {
  int pending = 0;
  for (const QPointer<QTimer>& timer : pending_answers()) {
    if (timer && timer->isActive()) {
      ++pending;
      timer->stop();
      timer->deleteLater();
    }
  }
  pending_answers().clear();
  return pending;
}

// Presses OK on the next message box and remembers its caption and text.
struct BoxSeen {
  QString caption;
  QString text;
  int buttons = 0;
  bool icon = false;
};
void accept_box(BoxSeen& seen) {
  answer_modal([&seen](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (box == nullptr) {
      w->close();
      return;
    }
    seen.caption = box->windowTitle();
    seen.text = box->text();
    seen.buttons = static_cast<int>(box->buttons().size());
    seen.icon = box->icon() != QMessageBox::NoIcon;
    box->accept();
  });
}

std::uint32_t pixel_sum(const RasterCanvas& surface) {
  std::uint32_t sum = 0;
  for (int i = 0; i < surface.width() * surface.height(); ++i) {
    sum = sum * 31 + surface.pixels()[i];
  }
  return sum;
}

int count_pixels(const RasterCanvas& surface, std::uint32_t value) {
  int n = 0;
  for (int i = 0; i < surface.width() * surface.height(); ++i) {
    n += surface.pixels()[i] == value ? 1 : 0;
  }
  return n;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void menuBarReadsAsTheTableSays();
  void acceleratorsTriggerTheirCommands();
  void menuItemsTriggerTheirCommands();
  void showAndChainsMenusGreyAndCheck();
  void walkingAndDotSizesChangeTheSurface();
  void leftDragMakesAHillThatOkKeeps();
  void leftDragHillIsDroppedOnCancel();
  void escapeAbandonsTheBand();
  void rightDragWithRotationTurnsTheView();
  void rightReleaseWithoutRotationShowsTheBox();
  void summarizeShowsTheBoxAndFillsTheClipboard();
  void copyOffersThreePictureFormats();
  void sessionRoundTripsThroughTheFileDialog();
  void cancelledOpenStillClears();
  void helpStartsTheViewerWithThePageAddress();
  void optionsAndAboutRunTheirDialogs();
  void helpWithoutAViewerSaysSo();

 private:
  void walk_two_hills();
  void make_hill_by_drag(QPoint from, QPoint to, bool ok);

  std::unique_ptr<Simulation> sim_;
  std::unique_ptr<MainWindow> window_;
  QTemporaryDir dir_;
};

void MainWindowTest::init() {
  sim_ = std::make_unique<Simulation>();
  window_ = std::make_unique<MainWindow>(*sim_);
  window_->show_at_start();
  QApplication::setActiveWindow(window_.get());
  QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  QApplication::processEvents();
}

void MainWindowTest::cleanup() {
  const int unanswered = drop_pending_answers();
  window_.reset();
  sim_.reset();
  QCOMPARE(unanswered, 0);  // every box and dialog the test expected came
}

void MainWindowTest::menuBarReadsAsTheTableSays() {
  QCOMPARE(window_->windowTitle(), QString("Wandrix"));
  const QList<QAction*> popups = window_->menuBar()->actions();
  QCOMPARE(popups.size(), 6);
  QCOMPARE(popups[0]->text(), QString("&File"));
  QCOMPARE(popups[4]->text(), QString("&Robot"));
  QMenu* robot = window_->popup(4);
  QStringList texts;
  for (QAction* a : robot->actions()) {
    texts << (a->isSeparator() ? QString("-") : a->text());
  }
  QCOMPARE(texts, (QStringList{"&Options...", "&Start walking", "&Continue walking", "-",
                               "&Toggle trajectory display", "-", "&Increment dot size",
                               "&Decrement dot size", "-", "&Refresh", "&Clear"}));
  QCOMPARE(window_->action(kCopy)->shortcut().toString(), QString("Ctrl+C"));
  QCOMPARE(window_->action(kStartWalking)->shortcut().toString(), QString("Ctrl+F"));
  // Refresh and the chains carry keys that their items do not show.
  QVERIFY(window_->action(kClear)->shortcut().isEmpty());
  QVERIFY(window_->popup(3)->actions().first()->shortcut().isEmpty());
}

void MainWindowTest::acceleratorsTriggerTheirCommands() {
  sim_->nsteps = 50;
  QTest::keyClick(window_.get(), Qt::Key_F, Qt::ControlModifier);
  QCOMPARE(sim_->steps_done, 50);
  QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
  QCOMPARE(sim_->steps_done, 100);
  QTest::keyClick(window_.get(), Qt::Key_L, Qt::ControlModifier);
  QCOMPARE(sim_->dot_radius, 3);
  QTest::keyClick(window_.get(), Qt::Key_S, Qt::ControlModifier);
  QTest::keyClick(window_.get(), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(sim_->dot_radius, 1);
  QTest::keyClick(window_.get(), Qt::Key_T, Qt::ControlModifier);
  QVERIFY(!sim_->show_trajectory);
  QTest::keyClick(window_.get(), Qt::Key_F3);
  QCOMPARE(sim_->shown_chain, 3);  // accepted although Chain 3 is greyed
  QTest::keyClick(window_.get(), Qt::Key_F1);
  QCOMPARE(sim_->shown_chain, 1);
  QTest::keyClick(window_.get(), Qt::Key_R, Qt::ControlModifier);
  QVERIFY(sim_->allow_rotation);
  sim_->full_redraw = false;
  QTest::keyClick(window_.get(), Qt::Key_F5);
  QVERIFY(sim_->full_redraw);
}

void MainWindowTest::menuItemsTriggerTheirCommands() {
  window_->action(kOneChain + 3)->trigger();
  QCOMPARE(sim_->nchains, 4);
  window_->action(kShowAllChains)->trigger();
  QCOMPARE(sim_->shown_chain, 0);
  sim_->nsteps = 10;
  window_->action(kStartWalking)->trigger();
  QCOMPARE(sim_->steps_done, 10);
  window_->action(kClear)->trigger();
  QCOMPARE(sim_->steps_done, 0);
  QSignalSpy quit(window_.get(), &MainWindow::quit_requested);
  window_->action(kExit)->trigger();
  QCOMPARE(quit.count(), 1);
}

// Opens the popup as a user would.
void open_menu(QWidget* window, QMenu* menu) {
  menu->popup(window->mapToGlobal(QPoint(10, 10)));
  QTRY_VERIFY(menu->isVisible());
}

void close_menu(QMenu* menu) {
  menu->close();
  QTRY_VERIFY(!menu->isVisible());
}

void MainWindowTest::showAndChainsMenusGreyAndCheck() {
  QMenu* show = window_->popup(kShowPopup);
  open_menu(window_.get(), show);
  QVERIFY(window_->action(kShowChain1)->isEnabled());
  QVERIFY(window_->action(kShowChain1)->isChecked());
  QVERIFY(!window_->action(kShowChain1 + 1)->isEnabled());
  QVERIFY(!window_->action(kShowAllChains)->isEnabled());
  QVERIFY(!window_->action(kSummarize)->isEnabled());
  close_menu(show);

  window_->action(kOneChain + 2)->trigger();
  sim_->nsteps = 5;
  window_->action(kStartWalking)->trigger();
  open_menu(window_.get(), show);  // the rules run as the menu opens
  QVERIFY(window_->action(kShowAllChains)->isEnabled());
  window_->action(kShowAllChains)->trigger();
  close_menu(show);
  QCOMPARE(sim_->shown_chain, 0);
  open_menu(window_.get(), show);
  QVERIFY(window_->action(kShowChain1 + 2)->isEnabled());
  QVERIFY(!window_->action(kShowChain1 + 3)->isEnabled());
  QVERIFY(window_->action(kShowAllChains)->isChecked());
  QVERIFY(!window_->action(kShowChain1)->isChecked());
  QVERIFY(window_->action(kSummarize)->isEnabled());
  close_menu(show);

  QMenu* chains = window_->popup(kChainsPopup);
  open_menu(window_.get(), chains);
  QVERIFY(window_->action(kOneChain + 2)->isChecked());
  QVERIFY(!window_->action(kOneChain)->isChecked());
  close_menu(chains);
}

void MainWindowTest::walkingAndDotSizesChangeTheSurface() {
  QWidget* view = window_->landscape();
  const RasterCanvas& surface = window_->frame().surface();
  QCOMPARE(surface.width(), view->width());
  QCOMPARE(surface.height(), view->height());
  view->repaint();
  const std::uint32_t black = 0xFF000000u;
  QCOMPARE(count_pixels(surface, black), surface.width() * surface.height());

  sim_->nsteps = 200;
  window_->action(kStartWalking)->trigger();
  view->repaint();
  const int after_start = count_pixels(surface, black);
  QVERIFY(after_start < surface.width() * surface.height());
  window_->action(kContinueWalking)->trigger();
  view->repaint();
  const int after_continue = count_pixels(surface, black);
  QVERIFY(after_continue < after_start);

  const std::uint32_t before_dots = pixel_sum(surface);
  window_->action(kIncrementDotSize)->trigger();
  view->repaint();
  QVERIFY(count_pixels(surface, black) < after_continue);
  window_->action(kDecrementDotSize)->trigger();
  view->repaint();
  QCOMPARE(pixel_sum(surface), before_dots);  // back to the same picture

  window_->action(kRefresh)->trigger();
  view->repaint();
  QCOMPARE(pixel_sum(surface), before_dots);
  window_->action(kClear)->trigger();
  view->repaint();
  QCOMPARE(count_pixels(surface, black), surface.width() * surface.height());
}

void MainWindowTest::make_hill_by_drag(QPoint from, QPoint to, bool ok) {
  QWidget* view = window_->landscape();
  answer_modal([ok](QWidget* dialog) {
    auto* d = qobject_cast<QDialog*>(dialog);
    if (d == nullptr) {
      dialog->close();
      return;
    }
    if (ok) {
      d->accept();
    } else {
      d->reject();
    }
  });
  QTest::mousePress(view, Qt::LeftButton, {}, from);
  QTest::mouseMove(view, QPoint((from.x() + to.x()) / 2, to.y()));
  QTest::mouseMove(view, to);
  QTest::mouseRelease(view, Qt::LeftButton, {}, to);
}

void MainWindowTest::leftDragMakesAHillThatOkKeeps() {
  const int h = static_cast<int>(sim_->height);
  make_hill_by_drag({100, 100}, {160, 30}, true);
  QCOMPARE(static_cast<int>(sim_->hills.size()), 1);
  QCOMPARE(sim_->hills[0].mean_x, 130.0);
  QCOMPARE(sim_->hills[0].mean_y, static_cast<double>(h - 130));
  QCOMPARE(sim_->hills[0].stddev_x, 30.0);
  QVERIFY(!sim_->ignore_topography);
  // The contours appear in yellow once the window repaints.
  window_->landscape()->repaint();
  QVERIFY(count_pixels(window_->frame().surface(), 0xFFFFFF00u) > 0);
}

void MainWindowTest::leftDragHillIsDroppedOnCancel() {
  make_hill_by_drag({100, 100}, {160, 30}, true);
  make_hill_by_drag({200, 200}, {250, 30}, false);
  QCOMPARE(static_cast<int>(sim_->hills.size()), 1);
  QCOMPARE(sim_->current_hill, 0);
}

void MainWindowTest::escapeAbandonsTheBand() {
  QWidget* view = window_->landscape();
  view->repaint();
  const std::uint32_t before = pixel_sum(window_->frame().surface());
  QTest::mousePress(view, Qt::LeftButton, {}, QPoint(50, 50));
  QTest::mouseMove(view, QPoint(120, 60));
  QVERIFY(pixel_sum(window_->frame().surface()) != before);  // the outline shows
  QTest::keyClick(view, Qt::Key_Escape);
  QVERIFY(!window_->frame().mouse().band_active);
  QCOMPARE(pixel_sum(window_->frame().surface()), before);
  QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(120, 60));
  QVERIFY(sim_->hills.empty());
}

void MainWindowTest::rightDragWithRotationTurnsTheView() {
  walk_two_hills();
  window_->action(kToggleRotation)->trigger();  // clears; walk again in 3-D
  window_->action(kStartWalking)->trigger();
  QWidget* view = window_->landscape();
  view->repaint();
  const std::uint32_t flat = pixel_sum(window_->frame().surface());
  QTest::mousePress(view, Qt::RightButton, {}, QPoint(200, 150));
  for (int i = 1; i <= 8; ++i) {
    QTest::mouseMove(view, QPoint(200 + 3 * i, 150 - 2 * i));
  }
  QVERIFY(window_->frame().mouse().rotating);
  QTest::mouseRelease(view, Qt::RightButton, {}, QPoint(224, 134));
  QVERIFY(!window_->frame().mouse().rotating);
  QCOMPARE(sim_->angle_y, -8 * sim_->pi / 64);
  QCOMPARE(sim_->angle_x, 8 * sim_->pi / 64);
  QVERIFY(window_->frame().paint_pending());
  view->repaint();
  QVERIFY(pixel_sum(window_->frame().surface()) != flat);
}

void MainWindowTest::rightReleaseWithoutRotationShowsTheBox() {
  BoxSeen seen;
  accept_box(seen);
  QWidget* view = window_->landscape();
  QTest::mousePress(view, Qt::RightButton, {}, QPoint(20, 20));
  QVERIFY(seen.caption.isEmpty());
  QTest::mouseRelease(view, Qt::RightButton, {}, QPoint(20, 20));
  QCOMPARE(seen.caption, QString("Rotation not allowed"));
  QVERIFY(seen.text.startsWith("Check \"allow rotation\" in robot options dialog\n"));
  QCOMPARE(seen.buttons, 1);
  QVERIFY(!seen.icon);
}

void MainWindowTest::walk_two_hills() {
  sim_->hills.push_back(Hill{"west", 120, 200, 40, 40, 0.3, 1, 0});
  sim_->hills.push_back(Hill{"east", 290, 150, 30, 50, -0.5, 2, 0});
  sim_->normalize_weights();
  sim_->ignore_topography = false;
  sim_->nsteps = 500;
  window_->action(kStartWalking)->trigger();
}

void MainWindowTest::summarizeShowsTheBoxAndFillsTheClipboard() {
  walk_two_hills();
  BoxSeen seen;
  accept_box(seen);
  window_->action(kSummarize)->trigger();
  QCOMPARE(seen.caption, QString("Summary of results"));
  QVERIFY(seen.text.startsWith("Number of points sampled: 500\n\nPercent inside inner circles: "));
  QCOMPARE(QApplication::clipboard()->text(), seen.text);
}

void MainWindowTest::copyOffersThreePictureFormats() {
  walk_two_hills();
  BoxSeen seen;
  accept_box(seen);
  window_->action(kCopy)->trigger();
  QCOMPARE(seen.caption, QString("Copy to clipboard"));
  QCOMPARE(seen.text, QString("The robot's trajectory has been copied to the clipboard"));
  const QMimeData* data = QApplication::clipboard()->mimeData();
  QVERIFY(data != nullptr);
  QVERIFY(data->hasFormat("image/emf"));
  QVERIFY(data->hasFormat("image/x-emf"));
  QCOMPARE(data->data("image/emf").left(4), QByteArray("\x01\x00\x00\x00", 4));
  QVERIFY(data->data("image/svg+xml").contains("<svg"));
  QCOMPARE(data->data("image/png").mid(1, 3), QByteArray("PNG"));
  QImage png;
  QVERIFY(png.loadFromData(data->data("image/png"), "PNG"));
  QCOMPARE(png.size(), window_->landscape()->size());
}

// What a file dialog looked like when it was answered.
struct FileDialogSeen {
  bool found = false;
  bool non_native = false;
  QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
  QStringList filters;
  QString suffix;
  bool typed = false;
  bool accepted = false;
};

// Chooses path in the next file dialog (or cancels it when path is empty),
// noting how the dialog looked; a message box may follow.
void answer_file_dialog(const QString& path, FileDialogSeen& seen) {
  answer_modal([path, &seen](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    seen.found = dialog != nullptr;
    if (dialog == nullptr) {
      w->close();
      return;
    }
    seen.non_native = dialog->testOption(QFileDialog::DontUseNativeDialog);
    seen.mode = dialog->acceptMode();
    seen.filters = dialog->nameFilters();
    seen.suffix = dialog->defaultSuffix();
    if (path.isEmpty()) {
      dialog->reject();
      return;
    }
    // Typed into the file name box, as a user would.
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    seen.typed = name != nullptr;
    if (name != nullptr) {
      name->setText(path);
    }
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept is protected
    seen.accepted = !dialog->isVisible();
    if (!seen.accepted) {
      dialog->reject();
    }  // QFileDialog::accept is protected
  });
}

void MainWindowTest::sessionRoundTripsThroughTheFileDialog() {
  QVERIFY(dir_.isValid());
  walk_two_hills();
  const QString path = dir_.filePath("run1");  // the dialog adds .dat
  FileDialogSeen save_dialog;
  BoxSeen saved;
  answer_file_dialog(path, save_dialog);
  accept_box(saved);
  window_->action(kSaveAs)->trigger();
  QVERIFY(save_dialog.found);
  QVERIFY(save_dialog.accepted);
  QVERIFY(save_dialog.non_native);
  QCOMPARE(save_dialog.mode, QFileDialog::AcceptSave);
  QCOMPARE(save_dialog.filters, (QStringList{"Data file (*.dat)", "All (*.*)"}));
  QCOMPARE(save_dialog.suffix, QString("dat"));
  QCOMPARE(saved.caption, QString("Session saved in file:"));
  QVERIFY(QFile::exists(path + ".dat"));

  sim_->hills.clear();
  FileDialogSeen open_dialog;
  answer_file_dialog(path + ".dat", open_dialog);
  window_->action(kOpen)->trigger();
  QCOMPARE(open_dialog.mode, QFileDialog::AcceptOpen);
  QVERIFY(open_dialog.accepted);
  QCOMPARE(static_cast<int>(sim_->hills.size()), 2);
  QCOMPARE(QString::fromStdString(sim_->hills[1].label), QString("east"));
  QCOMPARE(sim_->steps_done, 0);  // Open clears the walks

  sim_->hills.pop_back();
  window_->action(kSave)->trigger();  // to the session's file, without a word
  QFile file(path + ".dat");
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QByteArray written = file.readAll();
  QVERIFY(written.startsWith("WANDRIX 1.0"));
  QVERIFY(written.contains("west"));
  QVERIFY(!written.contains("east"));
}

void MainWindowTest::cancelledOpenStillClears() {
  walk_two_hills();
  FileDialogSeen seen;
  answer_file_dialog(QString(), seen);
  window_->action(kOpen)->trigger();
  QVERIFY(seen.found);
  QCOMPARE(seen.filters.first(), QString("Data file (*.dat)"));
  QCOMPARE(sim_->steps_done, 0);
  QCOMPARE(static_cast<int>(sim_->hills.size()), 2);
}

void MainWindowTest::optionsAndAboutRunTheirDialogs() {
  walk_two_hills();
  QString options_title;
  answer_modal([&options_title](QWidget* w) {
    options_title = w->windowTitle();
    w->close();  // the close box: no change
  });
  QTest::keyClick(window_.get(), Qt::Key_O, Qt::ControlModifier);
  QVERIFY(!options_title.isEmpty());
  QCOMPARE(sim_->steps_done, 500);  // nothing changed, nothing cleared
  QVERIFY(window_->frame().paint_pending());

  bool about_shown = false;
  answer_modal([&about_shown](QWidget* w) {
    about_shown = qobject_cast<QDialog*>(w) != nullptr;
    w->close();
  });
  window_->action(kAbout)->trigger();
  QVERIFY(about_shown);
}

// Points the XDG folders at dir, where mimeapps.list names a viewer that
// writes its arguments to args.txt.
void install_fake_viewer(const QTemporaryDir& dir) {
  qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
  qputenv("XDG_CONFIG_DIRS", dir.filePath("etc").toLocal8Bit());
  qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
  qputenv("XDG_DATA_DIRS", dir.filePath("share").toLocal8Bit());
  QDir().mkpath(dir.filePath("config"));
  QDir().mkpath(dir.filePath("data/applications"));
  QFile list(dir.filePath("config/mimeapps.list"));
  QVERIFY(list.open(QIODevice::WriteOnly));
  list.write("[Default Applications]\ntext/html=fake-viewer.desktop\n");
  list.close();
  const QString script = dir.filePath("my viewer.sh");
  QFile viewer(script);
  QVERIFY(viewer.open(QIODevice::WriteOnly));
  viewer.write(
      "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.tmp\"\n"
      "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args.txt\"\n");
  viewer.close();
  viewer.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QFile entry(dir.filePath("data/applications/fake-viewer.desktop"));
  QVERIFY(entry.open(QIODevice::WriteOnly));
  entry.write("[Desktop Entry]\nType=Application\nName=Fake\nExec=\"" + script.toLocal8Bit() +
              "\" %u\n");
}

void MainWindowTest::helpStartsTheViewerWithThePageAddress() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  install_fake_viewer(dir);
  const QString work = dir.filePath("work dir");
  QDir().mkpath(work);
  QFile page(work + "/Wandrix.html");
  QVERIFY(page.open(QIODevice::WriteOnly));
  page.close();
  const QString old_current = QDir::currentPath();
  QDir::setCurrent(work);
  window_->action(kHelpFile)->trigger();
  QDir::setCurrent(old_current);
  QFile args(dir.filePath("args.txt"));
  QTRY_VERIFY_WITH_TIMEOUT(args.exists(), 10000);
  QVERIFY(args.open(QIODevice::ReadOnly));
  const QString expected = "file://" + QString(work).replace(" ", "%20") + "/Wandrix.html\n";
  QCOMPARE(QString::fromLocal8Bit(args.readAll()), expected);
}

void MainWindowTest::helpWithoutAViewerSaysSo() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  install_fake_viewer(dir);
  QFile::remove(dir.filePath("config/mimeapps.list"));
  QFile page(dir.filePath("Wandrix.html"));
  QVERIFY(page.open(QIODevice::WriteOnly));
  page.close();
  const QString old_current = QDir::currentPath();
  QDir::setCurrent(dir.path());
  BoxSeen seen;
  accept_box(seen);
  window_->action(kHelpFile)->trigger();
  QDir::setCurrent(old_current);
  QCOMPARE(seen.caption, QString("Could not open help file"));
  QCOMPARE(seen.text, QString("Error code: 31 (no association found)"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
