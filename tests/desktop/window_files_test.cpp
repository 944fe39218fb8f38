// What leaves the window: the clipboard, session files through the
// non-native file dialog, and the help page in the desktop's viewer.
#include <QAction>
#include <QClipboard>
#include <QMenuBar>
#include <QMimeData>

#include "app/menu_table.h"
#include "window_test_support.h"

using namespace wandrix::command;
using namespace window_test;

class WindowFilesTest : public QObject, public WindowFixture {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void summarizeShowsTheBoxAndFillsTheClipboard();
  void copyOffersThreePictureFormats();
  void sessionRoundTripsThroughTheFileDialog();
  void cancelledOpenStillClears();
  void helpStartsTheViewerWithThePageAddress();
  void helpWithoutAViewerSaysSo();
  void helpRunsNothingFromACraftedExecLine_data();
  void helpRunsNothingFromACraftedExecLine();

 private:
  void ask_for_help_in(const QString& folder);

  QTemporaryDir dir_;
};

void WindowFilesTest::init() { QVERIFY(open_window()); }

void WindowFilesTest::cleanup() {
  QCOMPARE(close_window(), 0);  // every box and dialog the test expected came
}

void WindowFilesTest::summarizeShowsTheBoxAndFillsTheClipboard() {
  under_test_->walk_two_hills();
  BoxSeen seen;
  accept_box(seen);
  window_->action(kSummarize)->trigger();
  QCOMPARE(seen.caption, QString("Summary of results"));
  QVERIFY(seen.text.startsWith("Number of points sampled: 500\n\nPercent inside inner circles: "));
  QCOMPARE(QApplication::clipboard()->text(), seen.text);
}

void WindowFilesTest::copyOffersThreePictureFormats() {
  under_test_->walk_two_hills();
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

void WindowFilesTest::sessionRoundTripsThroughTheFileDialog() {
  QVERIFY(dir_.isValid());
  under_test_->walk_two_hills();
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

void WindowFilesTest::cancelledOpenStillClears() {
  under_test_->walk_two_hills();
  FileDialogSeen seen;
  answer_file_dialog(QString(), seen);
  window_->action(kOpen)->trigger();
  QVERIFY(seen.found);
  QCOMPARE(seen.filters.first(), QString("Data file (*.dat)"));
  QCOMPARE(sim_->steps_done, 0);
  QCOMPARE(static_cast<int>(sim_->hills.size()), 2);
}

// Help > HTML help file, with the help page in FOLDER, the working directory.
void WindowFilesTest::ask_for_help_in(const QString& folder) {
  QVERIFY(QDir().mkpath(folder));
  QFile page(folder + "/Wandrix.html");
  QVERIFY(page.open(QIODevice::WriteOnly));
  page.close();
  const QString old_current = QDir::currentPath();
  QDir::setCurrent(folder);
  window_->action(kHelpFile)->trigger();
  QDir::setCurrent(old_current);
}

void WindowFilesTest::helpStartsTheViewerWithThePageAddress() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  install_fake_viewer(dir);
  const QString work = dir.filePath("work dir");
  ask_for_help_in(work);
  QFile args(dir.filePath("args.txt"));
  QTRY_VERIFY_WITH_TIMEOUT(args.exists(), 10000);
  QVERIFY(args.open(QIODevice::ReadOnly));
  const QString expected = "file://" + QString(work).replace(" ", "%20") + "/Wandrix.html\n";
  QCOMPARE(QString::fromLocal8Bit(args.readAll()), expected);
}

void WindowFilesTest::helpWithoutAViewerSaysSo() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  install_fake_viewer(dir);
  QFile::remove(dir.filePath("config/mimeapps.list"));
  BoxSeen seen;
  accept_box(seen);
  ask_for_help_in(dir.path());
  QCOMPARE(seen.caption, QString("Could not open help file"));
  QCOMPARE(seen.text, QString("Error code: 31 (no association found)"));
}

void WindowFilesTest::helpRunsNothingFromACraftedExecLine_data() {
  QTest::addColumn<QByteArray>("exec");
  QTest::newRow("quoted field code") << QByteArray(R"(sh -c "cat %f")");
  QTest::newRow("shell command") << QByteArray("sh -c %f");
}

// A folder name that is shell code stays a name, whatever the viewer's entry says.
void WindowFilesTest::helpRunsNothingFromACraftedExecLine() {
  QFETCH(QByteArray, exec);
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  install_fake_viewer(dir);
  QFile entry(dir.filePath("data/applications/fake-viewer.desktop"));
  QVERIFY(entry.open(QIODevice::WriteOnly));
  entry.write("[Desktop Entry]\nType=Application\nName=Fake\nExec=" + exec + "\n");
  entry.close();
  const QString work = dir.filePath("w $(touch X)");
  BoxSeen seen;
  accept_box(seen);
  ask_for_help_in(work);
  QCOMPARE(seen.caption, QString("Could not open help file"));
  QCOMPARE(seen.text, QString("Error code: 11 (bad format)"));
  QTest::qWait(1000);  // time enough for a started shell to have done it
  QVERIFY(!QFile::exists(work + "/X"));
  QVERIFY(!QFile::exists(dir.filePath("X")));
}

QTEST_MAIN(WindowFilesTest)
#include "window_files_test.moc"
