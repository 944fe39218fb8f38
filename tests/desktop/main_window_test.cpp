// The real main window, offscreen: menus, accelerators, the surface and the
// dialogs they open. Modal dialogs are answered from a timer.
#include <QAction>
#include <QClipboard>
#include <QMenuBar>
#include <QMimeData>

#include "app/menu_table.h"
#include "window_test_support.h"

using namespace wandrix::command;
using namespace window_test;

class MainWindowTest : public QObject, public WindowFixture {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void menuBarReadsAsTheTableSays();
  void acceleratorsTriggerTheirCommands();
  void menuItemsTriggerTheirCommands();
  void showAndChainsMenusGreyAndCheck();
  void walkingAndDotSizesChangeTheSurface();
  void optionsAndAboutRunTheirDialogs();
};

void MainWindowTest::init() { QVERIFY(open_window()); }

void MainWindowTest::cleanup() {
  QCOMPARE(close_window(), 0);  // every box and dialog the test expected came
}

void MainWindowTest::menuBarReadsAsTheTableSays() {
  QCOMPARE(window_->windowTitle(), QString("Wandrix"));
  QCOMPARE(window_->frameGeometry(), QRect(50, 50, 400, 400));
  // The landscape is the client area below the menu bar, and so is the surface.
  QCOMPARE(window_->frame().width(), window_->landscape()->width());
  QCOMPARE(static_cast<int>(sim_->height), window_->landscape()->height());
  const QList<QAction*> popups = window_->menuBar()->actions();
  QCOMPARE(popups.size(), 6);
  QCOMPARE(popups[0]->text(), QString("&File"));
  QCOMPARE(popups[4]->text(), QString("&Robot"));
  QMenu* robot = window_->popup(4);
  QStringList texts;
  for (QAction* a : robot->actions()) {
    texts << (a->isSeparator() ? QString("-") : a->text());
  }
  QCOMPARE(texts, (QStringList{"&Options...",
                               "&Start walking",
                               "&Continue walking",
                               "&Animate walking",
                               "-",
                               "Pa&use / Resume",
                               "Single st&ep",
                               "&Faster",
                               "Slo&wer",
                               "Sto&p walking",
                               "-",
                               "Refuse steps &beyond the walls",
                               "-",
                               "&Toggle trajectory display",
                               "-",
                               "&Increment dot size",
                               "&Decrement dot size",
                               "-",
                               "&Refresh",
                               "&Clear"}));
  // The two switches carry their check mark; a command does not.
  QVERIFY(window_->action(kRefuseAtWalls)->isCheckable());
  QVERIFY(window_->action(kDensityView)->isCheckable());
  QVERIFY(!window_->action(kRefresh)->isCheckable());
  QCOMPARE(window_->action(kCopy)->shortcut().toString(), QString("Ctrl+C"));
  QCOMPARE(window_->action(kStartWalking)->shortcut().toString(), QString("Ctrl+F"));
  // Refresh and the chains carry keys that their items do not show.
  QVERIFY(window_->action(kClear)->shortcut().isEmpty());
  QVERIFY(window_->popup(3)->actions().first()->shortcut().isEmpty());
}

void MainWindowTest::acceleratorsTriggerTheirCommands() {
  sim_->nsteps = 50;
  QTest::keyClick(window_, Qt::Key_F, Qt::ControlModifier);
  QVERIFY(walk_ends(*sim_));
  QCOMPARE(sim_->steps_done, 50);
  QTest::keyClick(window_, Qt::Key_N, Qt::ControlModifier);
  QVERIFY(walk_ends(*sim_));
  QCOMPARE(sim_->steps_done, 100);
  QTest::keyClick(window_, Qt::Key_L, Qt::ControlModifier);
  QCOMPARE(sim_->dot_radius, 3);
  QTest::keyClick(window_, Qt::Key_S, Qt::ControlModifier);
  QTest::keyClick(window_, Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(sim_->dot_radius, 1);
  QTest::keyClick(window_, Qt::Key_T, Qt::ControlModifier);
  QVERIFY(!sim_->show_trajectory);
  QTest::keyClick(window_, Qt::Key_F3);
  QCOMPARE(sim_->shown_chain, 3);  // accepted although Chain 3 is greyed
  QTest::keyClick(window_, Qt::Key_F1);
  QCOMPARE(sim_->shown_chain, 1);
  QTest::keyClick(window_, Qt::Key_R, Qt::ControlModifier);
  QVERIFY(sim_->allow_rotation);
  sim_->full_redraw = false;
  QTest::keyClick(window_, Qt::Key_F5);
  QVERIFY(sim_->full_redraw);
}

void MainWindowTest::menuItemsTriggerTheirCommands() {
  window_->action(kOneChain + 3)->trigger();
  QCOMPARE(sim_->nchains, 4);
  window_->action(kShowAllChains)->trigger();
  QCOMPARE(sim_->shown_chain, 0);
  sim_->nsteps = 10;
  window_->action(kStartWalking)->trigger();
  QVERIFY(walk_ends(*sim_));
  QCOMPARE(sim_->steps_done, 10);
  window_->action(kClear)->trigger();
  QCOMPARE(sim_->steps_done, 0);
  QSignalSpy quit(window_, &MainWindow::quit_requested);
  window_->action(kExit)->trigger();
  QCOMPARE(quit.count(), 1);
}

void MainWindowTest::showAndChainsMenusGreyAndCheck() {
  QMenu* show = window_->popup(wandrix::kShowPopup);
  open_menu(window_, show);
  QVERIFY(window_->action(kShowChain1)->isEnabled());
  QVERIFY(window_->action(kShowChain1)->isChecked());
  QVERIFY(!window_->action(kShowChain1 + 1)->isEnabled());
  QVERIFY(!window_->action(kShowAllChains)->isEnabled());
  QVERIFY(!window_->action(kSummarize)->isEnabled());
  close_menu(show);

  window_->action(kOneChain + 2)->trigger();
  sim_->nsteps = 5;
  window_->action(kStartWalking)->trigger();
  QVERIFY(walk_ends(*sim_));
  open_menu(window_, show);  // the rules run as the menu opens
  QVERIFY(window_->action(kShowAllChains)->isEnabled());
  window_->action(kShowAllChains)->trigger();
  close_menu(show);
  QCOMPARE(sim_->shown_chain, 0);
  open_menu(window_, show);
  QVERIFY(window_->action(kShowChain1 + 2)->isEnabled());
  QVERIFY(!window_->action(kShowChain1 + 3)->isEnabled());
  QVERIFY(window_->action(kShowAllChains)->isChecked());
  QVERIFY(!window_->action(kShowChain1)->isChecked());
  QVERIFY(window_->action(kSummarize)->isEnabled());
  close_menu(show);

  QMenu* chains = window_->popup(wandrix::kChainsPopup);
  open_menu(window_, chains);
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
  QVERIFY(walk_ends(*sim_));
  view->repaint();
  const int after_start = count_pixels(surface, black);
  QVERIFY(after_start < surface.width() * surface.height());
  window_->action(kContinueWalking)->trigger();
  QVERIFY(walk_ends(*sim_));
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

void MainWindowTest::optionsAndAboutRunTheirDialogs() {
  under_test_->walk_two_hills();
  QString options_title;
  answer_modal([&options_title](QWidget* w) {
    options_title = w->windowTitle();
    w->close();  // the close box: no change
  });
  QTest::keyClick(window_, Qt::Key_O, Qt::ControlModifier);
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

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
