// The window goes on answering while it walks and while it paints a picture
// of many samples: events posted meanwhile are handled before the work ends.
// Nothing here is timed; the event loop's latencies are measured in
// bench/event_loop_bench.cpp.
#include <QAction>
#include <QComboBox>
#include <QLabel>

#include "app/menu_table.h"
#include "window_test_support.h"

using namespace wandrix::command;
using namespace window_test;

class WindowWalkTest : public QObject, public WindowFixture {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void eventsAreHandledDuringALongWalk();
  void eventsAreHandledDuringALongRepaint();
  void theToolBarAnimatesPausesAndSteps();

 private:
  // Posts an event and reports whether it was handled while `busy` held.
  bool handled_while(const std::function<bool()>& busy) {
    bool handled = false;
    bool was_busy = false;
    QTimer::singleShot(0, window_, [&] {
      handled = true;
      was_busy = busy();
    });
    return QTest::qWaitFor([&] { return handled; }, 60000) && was_busy;
  }
};

void WindowWalkTest::init() { QVERIFY(open_window()); }

void WindowWalkTest::cleanup() { QCOMPARE(close_window(), 0); }

void WindowWalkTest::eventsAreHandledDuringALongWalk() {
  // Ten hills make every step slow enough to watch.
  for (int k = 0; k < 10; ++k) {
    sim_->add_confirmed_hill(Hill{"h", 40.0 + 30 * k, 50.0 + 25 * k, 30, 30, 0.1, 1, 0});
  }
  window_->action(kOneChain + 3)->trigger();
  sim_->nsteps = 1000000;
  window_->action(kStartWalking)->trigger();
  QVERIFY(sim_->walking);
  QVERIFY(handled_while([this] { return sim_->walking; }));
  // A key, a greyed command and the status bar while it walks.
  QTest::keyClick(window_, Qt::Key_F2);
  QCOMPARE(sim_->shown_chain, 2);
  QVERIFY(!window_->action(kClear)->isEnabled());
  QVERIFY(!window_->action(kOneChain)->isEnabled());
  QVERIFY(window_->action(kStopWalking)->isEnabled());
  QVERIFY(QTest::qWaitFor(
      [this] { return window_->progress_label()->text().startsWith("Walking: step "); }, 60000));
  QVERIFY(sim_->walking);
  QVERIFY(QGuiApplication::overrideCursor() != nullptr);
  QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  // Esc ends it after the step in progress.
  QTest::keyClick(window_->landscape(), Qt::Key_Escape);
  QVERIFY(!sim_->walking);
  QVERIFY(sim_->steps_done > 0 && sim_->steps_done < 1000000);
  QCOMPARE(sim_->rates.moves[3].taken, sim_->steps_done);
  QVERIFY(QGuiApplication::overrideCursor() == nullptr);
  QVERIFY(window_->action(kClear)->isEnabled());
  QCOMPARE(window_->progress_label()->text(), QString("Ready"));
  QVERIFY(window_->rates_label()->text().startsWith(
      QString("Steps walked: %1 | Moves accepted: 1: ").arg(sim_->steps_done)));
}

void WindowWalkTest::eventsAreHandledDuringALongRepaint() {
  // Without hills four chains exchange in every step: millions of samples.
  window_->action(kOneChain + 3)->trigger();
  window_->action(kShowAllChains)->trigger();
  sim_->nsteps = 1000000;
  window_->action(kStartWalking)->trigger();
  QVERIFY(walk_ends(*sim_));
  window_->action(kContinueWalking)->trigger();
  QVERIFY(walk_ends(*sim_));
  QVERIFY(QTest::qWaitFor([this] { return !window_->frame().painting(); }, 60000));
  window_->action(kRefresh)->trigger();
  window_->landscape()->repaint();  // the first slice
  QVERIFY(window_->frame().painting());
  QVERIFY(handled_while([this] { return window_->frame().painting(); }));
  QVERIFY(QTest::qWaitFor([this] { return !window_->frame().painting(); }, 60000));
  QVERIFY(!window_->frame().paint_pending());
}

void WindowWalkTest::theToolBarAnimatesPausesAndSteps() {
  window_->action(kOneChain + 1)->trigger();
  QComboBox* speed = window_->speed_list();
  QCOMPARE(speed->count(), 7);
  QCOMPARE(speed->itemText(0), QString("1 step/s"));
  QCOMPARE(speed->itemText(6), QString("Fastest"));
  QTest::keyClick(window_, Qt::Key_Down);  // slower: 3 steps a second
  QCOMPARE(speed->currentIndex(), 1);
  QTest::keyClick(window_, Qt::Key_A, Qt::ControlModifier);
  QVERIFY(window_->frame().player().animated());
  QVERIFY(QTest::qWaitFor([this] { return sim_->steps_done >= 2; }, 60000));
  QTest::keyClick(window_, Qt::Key_Space);
  QVERIFY(window_->frame().player().paused());
  QVERIFY(window_->action(kPauseWalking)->isChecked());
  const std::int32_t paused_at = sim_->steps_done;
  QTest::keyClick(window_, Qt::Key_Right);
  QCOMPARE(sim_->steps_done, paused_at + 1);
  QVERIFY(window_->progress_label()->text().startsWith("Paused: step "));
  QTest::qWait(700);  // paused: nothing more
  QCOMPARE(sim_->steps_done, paused_at + 1);
  window_->action(kStopWalking)->trigger();
  QVERIFY(!sim_->walking);
  QCOMPARE(sim_->steps_done, paused_at + 1);
}

QTEST_MAIN(WindowWalkTest)
#include "window_walk_test.moc"
