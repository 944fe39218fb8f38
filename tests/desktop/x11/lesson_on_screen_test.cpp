// File > Lessons..., the lesson's text beside the landscape and `wandrix
// --lesson`, as the screen shows them under a real window manager. The
// lessons are those of the source tree, read here on their own; what the
// window shows of each is compared with the picture wandrix-cli makes of it.
// Run through run_on_screen.sh; with WANDRIX_SCREENSHOT_DIR set, the
// pictures are kept there for a person to see.
#include <QAction>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <algorithm>
#include <optional>

#include "app/menu_table.h"
#include "desktop/window/diagnostics_window.h"
#include "desktop/window/lesson_chooser.h"
#include "desktop/window/lesson_panel.h"
#include "lessons/lesson.h"
#include "modal_driver.h"
#include "screen_support.h"
#include "view/paint.h"
#include "window_test_support.h"

using namespace wandrix::command;
using namespace window_test;
using namespace screen_test;
using wandrix::desktop::LessonChooser;
using wandrix::desktop::LessonPanel;

namespace {

struct LessonFile {
  QString name;  // the file's name without .json
  int number = 0;
  QString title;
  QStringList text;
  QString speed;  // as the speed list shows it; empty when the lesson names none
  bool diagnostics = false;
};

QString speed_shown(const QJsonValue& speed) {
  if (speed.isString()) {
    return speed.toString() == "fastest" ? QStringLiteral("Fastest") : QString();
  }
  if (!speed.isDouble()) {
    return {};
  }
  const int rate = speed.toInt();
  return QString::number(rate) + (rate == 1 ? " step/s" : " steps/s");
}

// Every lesson file of the source tree, in the order of their numbers.
std::vector<LessonFile> lessons_in_folder() {
  std::vector<LessonFile> lessons;
  const QDir folder(QStringLiteral(WANDRIX_LESSONS_SOURCE));
  for (const QFileInfo& info : folder.entryInfoList({"*.json"}, QDir::Files, QDir::Name)) {
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) {
      continue;
    }
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject window = json["window"].toObject();
    LessonFile lesson;
    lesson.name = info.completeBaseName();
    lesson.number = json["number"].toInt();
    lesson.title = json["title"].toString();
    for (const auto& paragraph : json["text"].toArray()) {
      lesson.text << paragraph.toString();
    }
    lesson.speed = speed_shown(window["speed"]);
    lesson.diagnostics = window["diagnostics"].toBool();
    lessons.push_back(lesson);
  }
  std::stable_sort(lessons.begin(), lessons.end(),
                   [](const LessonFile& a, const LessonFile& b) { return a.number < b.number; });
  return lessons;
}

// The picture wandrix-cli makes after `lesson NAME` and the actions given.
QImage cli_picture(const QString& name, const QStringList& actions, const QString& file) {
  QProcess cli;
  cli.start(QStringLiteral(WANDRIX_CLI),
            QStringList{"lesson", name} + actions + QStringList{"picture", file});
  if (!cli.waitForFinished(120000) || cli.exitCode() != 0) {
    qWarning() << cli.readAllStandardError();
    return {};
  }
  QImage image(file);
  return image.convertToFormat(QImage::Format_RGB32);
}

// The model's picture as the window paints it, or as a picture file has it.
QImage painted(Simulation& sim, bool for_export) {
  RasterCanvas canvas(static_cast<int>(sim.width), sim.client_height());
  sim.full_redraw = true;
  wandrix::paint(sim, canvas, wandrix::client_rect(sim), for_export);
  return image_of(canvas);
}

std::vector<std::vector<std::int32_t>> samples_of(const Simulation& sim) {
  std::vector<std::vector<std::int32_t>> samples;
  for (const wandrix::Chain& chain : sim.chains) {
    samples.push_back(chain.xs);
    samples.push_back(chain.ys);
  }
  return samples;
}

class ResizeCounter : public QObject {
 public:
  int resizes = 0;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    resizes += event->type() == QEvent::Resize ? 1 : 0;
    return false;
  }
};

// The X window of another program's main window, by its class; 0 when none
// appeared within ten seconds.
QString x_window_of_class(const QString& wm_class) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {"-root", "-tree"});
    xwininfo.waitForFinished(5000);
    for (const QString& line : QString::fromLatin1(xwininfo.readAllStandardOutput()).split('\n')) {
      if (line.contains(wm_class)) {
        return line.trimmed().section(' ', 0, 0);
      }
    }
    QTest::qWait(100);
  }
  return {};
}

}  // namespace

class LessonOnScreenTest : public QObject, public WindowFixture {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup() { QCOMPARE(close_window(), 0); }
  void theListShowsTheLessonsOfTheFolderAndCancelChangesNothing();
  void eachLessonShowsWhatTheCommandLineToolMakesOfIt();
  void thePanelComesAndGoesWithoutResizingTheLandscape();
  void aMaximisedWindowKeepsItsSizeAndTheLandscapeGivesWay();
  void aLessonThatCannotOpenLeavesTheSessionAlone();
  void aLessonNamedOnTheCommandLineOpensAtStart();

 private:
  // Chooses the lesson in row from File > Lessons... with the keyboard (or
  // a double click) and waits for the window to settle.
  void choose_lesson(int row, bool double_click);
  void settle();
  LessonPanel* panel() const { return window_->findChild<LessonPanel*>(); }

  std::vector<LessonFile> lessons_;
  QTemporaryDir dir_;
};

void LessonOnScreenTest::initTestCase() {
  lessons_ = lessons_in_folder();
  QVERIFY(!lessons_.empty());
  QVERIFY(dir_.isValid());
}

void LessonOnScreenTest::init() {
  QVERIFY(open_window());
  QTest::qWait(300);  // framed and placed by the window manager
}

void LessonOnScreenTest::settle() {
  QVERIFY(QTest::qWaitFor(
      [this] {
        return !window_->frame().painting() &&
               (panel() == nullptr || !panel()->holding_landscape());
      },
      10000));
  QTest::qWait(400);
}

void LessonOnScreenTest::choose_lesson(int row, bool double_click) {
  ModalDriver driver;
  driver.expect(wandrix::desktop::kLessonChooserTitle, [row, double_click](QDialog* dialog) {
    QListWidget* list = qobject_cast<LessonChooser*>(dialog)->list();
    if (double_click) {
      QVERIFY(QTest::qWaitForWindowExposed(dialog));
      QTRY_VERIFY(list->visualItemRect(list->item(row)).isValid());
      const QRect item = list->visualItemRect(list->item(row));
      // As a mouse sends it: a click, then the second press as a double click.
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
      return;
    }
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < row; ++i) {
      QTest::keyClick(list, Qt::Key_Down);
    }
    QTest::keyClick(list, Qt::Key_Return);
  });
  window_->action(kLessons)->trigger();
  QVERIFY(driver.finished());
  QVERIFY2(driver.boxes().empty(), qPrintable(driver.texts().join('\n')));
  settle();
}

void LessonOnScreenTest::theListShowsTheLessonsOfTheFolderAndCancelChangesNothing() {
  under_test_->walk_two_hills();
  settle();
  const auto samples = samples_of(*sim_);
  const QSize size = window_->size();
  const QImage before = shown(window_->landscape());

  ModalDriver driver;
  bool looked = false;
  driver.expect(wandrix::desktop::kLessonChooserTitle, [&](QDialog* dialog) {
    auto* chooser = qobject_cast<LessonChooser*>(dialog);
    QVERIFY(chooser != nullptr);
    QListWidget* list = chooser->list();
    QCOMPARE(list->count(), static_cast<int>(lessons_.size()));
    for (int row = 0; row < list->count(); ++row) {
      const LessonFile& lesson = lessons_[static_cast<std::size_t>(row)];
      QCOMPARE(list->item(row)->text(), lesson.title);
      // The first sentence of the text, whole.
      const QString summary = list->item(row)->toolTip();
      QVERIFY2(!summary.isEmpty() && lesson.text.first().startsWith(summary), qPrintable(summary));
      QVERIFY(summary == lesson.text.first() || QString(".!?").contains(summary.back()));
    }
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(list->item(0)->isSelected());
    QVERIFY(chooser->open_button()->isDefault() && chooser->open_button()->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), list);
    // Every lesson in view without scrolling, each in full.
    QVERIFY(!list->verticalScrollBar()->isVisible() || list->count() > 8);
    const QRect last = list->visualItemRect(list->item(list->count() - 1));
    QVERIFY(list->count() > 8 || last.bottom() < list->viewport()->height());
    QTest::qWait(200);
    keep(from_screen(QString::number(chooser->winId())), "lesson_chooser");
    looked = true;
    QTest::keyClick(list, Qt::Key_Escape);
  });
  window_->action(kLessons)->trigger();
  QVERIFY(driver.finished() && looked);
  settle();
  QVERIFY(driver.boxes().empty());
  QVERIFY(panel() == nullptr);
  QCOMPARE(static_cast<int>(sim_->hills.size()), 2);
  QVERIFY(samples_of(*sim_) == samples);
  QCOMPARE(window_->size(), size);
  QCOMPARE(differing_pixels(shown(window_->landscape()), before), 0);
}

void LessonOnScreenTest::eachLessonShowsWhatTheCommandLineToolMakesOfIt() {
  QWidget* view = window_->landscape();
  for (int row = 0; row < static_cast<int>(lessons_.size()); ++row) {
    const LessonFile& lesson = lessons_[static_cast<std::size_t>(row)];
    choose_lesson(row, row == 0);
    // The diagnostics window the lesson asks for; closed, as it may cover
    // the main window on this small screen.
    auto* diagnostics = window_->findChild<wandrix::desktop::DiagnosticsWindow*>();
    QCOMPARE(diagnostics != nullptr && diagnostics->isVisible(), lesson.diagnostics);
    if (diagnostics != nullptr) {
      diagnostics->close();
      settle();
    }
    // The landscape has the lesson's size, the text beside it on the right.
    const QImage cli = cli_picture(lesson.name, {}, dir_.filePath(lesson.name + ".png"));
    QVERIFY(!cli.isNull());
    QCOMPARE(view->size(), cli.size());
    QCOMPARE(QSize(static_cast<int>(sim_->width), sim_->client_height()), cli.size());
    QVERIFY(panel() != nullptr && panel()->isVisible());
    QVERIFY(panel()->geometry().left() > view->geometry().right());
    QCOMPARE(panel()->title(), lesson.title);
    const QString text = panel()->text()->toPlainText();
    QVERIFY(text.startsWith(lesson.title));
    for (const QString& paragraph : lesson.text) {
      QVERIFY2(text.contains(paragraph), qPrintable(paragraph));
    }
    if (!lesson.speed.isEmpty()) {
      QCOMPARE(window_->speed_list()->currentText(), lesson.speed);
    }
    // The screen shows the model's picture, and the model is the tool's.
    const QImage screen = shown(view);
    keep(from_screen(QString::number(window_->winId())), "lesson_" + lesson.name);
    QCOMPARE(differing_pixels(screen, painted(*sim_, false)), 0);
    QCOMPARE(differing_pixels(cli, painted(*sim_, true)), 0);
    // The panel on the screen is the panel as drawn, not a stale picture.
    QCOMPARE(differing_pixels(shown(panel()), panel()->grab().toImage()), 0);

    // The lesson's walk, seed and settings included.
    window_->action(kStartWalking)->trigger();
    QVERIFY(walk_ends(*sim_));
    settle();
    const QImage walked =
        cli_picture(lesson.name, {"start"}, dir_.filePath(lesson.name + "-walked.png"));
    QCOMPARE(differing_pixels(shown(view), painted(*sim_, false)), 0);
    QCOMPARE(differing_pixels(walked, painted(*sim_, true)), 0);
    QVERIFY(walked != cli);
  }
}

void LessonOnScreenTest::thePanelComesAndGoesWithoutResizingTheLandscape() {
  QWidget* view = window_->landscape();
  const LessonFile& lesson = lessons_.front();
  QVERIFY(window_->frame().open_lesson_named(lesson.name.toStdString()));
  settle();
  window_->action(kStartWalking)->trigger();
  QVERIFY(walk_ends(*sim_));
  settle();
  const auto samples = samples_of(*sim_);
  const QSize landscape = view->size();
  const QImage picture = shown(view);
  const int open_width = window_->width();
  QVERIFY(open_width - landscape.width() >= panel()->width());
  ResizeCounter counter;
  view->installEventFilter(&counter);

  struct Step {
    const char* what;
    std::function<void()> act;
    bool open;
    bool fresh;  // the lesson opened again: its session starts afresh
  };
  LessonPanel* text = panel();
  const std::vector<Step> steps{
      {"Close", [text] { QTest::mouseClick(text->close_button(), Qt::LeftButton); }, false, false},
      {"shown again", [text] { text->show(); }, true, false},
      {"Esc in the text",
       [text] {
         text->text()->setFocus();
         QTest::keyClick(text->text(), Qt::Key_Escape);
       },
       false, false},
      {"the lesson again",
       [this, &lesson] { window_->frame().open_lesson_named(lesson.name.toStdString()); }, true,
       true},
      {"and once more, over the open panel",
       [this, &lesson] { window_->frame().open_lesson_named(lesson.name.toStdString()); }, true,
       true},
  };
  for (const Step& step : steps) {
    step.act();
    settle();
    QCOMPARE(panel()->isVisible(), step.open);
    QCOMPARE(window_->width(), step.open ? open_width : landscape.width());
    // The window manager agrees.
    QCOMPARE(from_screen(QString::number(window_->winId())).width(), window_->width());
    QCOMPARE(view->size(), landscape);
    QCOMPARE(counter.resizes, 0);
    if (!step.fresh) {  // closing the text keeps the session
      QVERIFY2(samples_of(*sim_) == samples, step.what);
      QCOMPARE(differing_pixels(shown(view), picture), 0);
    } else {
      QCOMPARE(sim_->chains[0].sample_count(), std::size_t{0});
    }
  }
  // A resize of the window by the user goes to the landscape, panel open.
  window_->resize(window_->width() + 60, window_->height() + 20);
  settle();
  QCOMPARE(view->size(), landscape + QSize(60, 20));
  QCOMPARE(QSize(static_cast<int>(sim_->width), sim_->client_height()), view->size());
}

void LessonOnScreenTest::aMaximisedWindowKeepsItsSizeAndTheLandscapeGivesWay() {
  window_->showMaximized();
  QTRY_VERIFY(window_->isMaximized());
  settle();
  const QSize maximised = window_->size();
  QWidget* view = window_->landscape();
  for (const bool open : {true, false, true}) {
    if (open) {
      QVERIFY(window_->frame().open_lesson_named(lessons_.front().name.toStdString()));
    } else {
      panel()->close();
    }
    settle();
    QCOMPARE(window_->size(), maximised);
    QCOMPARE(panel()->isVisible(), open);
    QVERIFY(!panel()->holding_landscape());
    // The landscape has what the panel leaves, and the model follows it.
    QCOMPARE(view->width() < window_->width(), open);
    QCOMPARE(QSize(static_cast<int>(sim_->width), sim_->client_height()), view->size());
    QCOMPARE(differing_pixels(shown(view), painted(*sim_, false)), 0);
  }
}

void LessonOnScreenTest::aLessonThatCannotOpenLeavesTheSessionAlone() {
  under_test_->walk_two_hills();
  settle();
  const auto samples = samples_of(*sim_);
  const QImage before = shown(window_->landscape());
  // A lesson whose session is missing, copied from a real one.
  QFile real(QStringLiteral(WANDRIX_LESSONS_SOURCE) + '/' + lessons_.front().name + ".json");
  QVERIFY(real.open(QIODevice::ReadOnly));
  QJsonObject json = QJsonDocument::fromJson(real.readAll()).object();
  json["session"] = "missing.dat";
  QFile orphan(dir_.filePath("orphan.json"));
  QVERIFY(orphan.open(QIODevice::WriteOnly));
  orphan.write(QJsonDocument(json).toJson());
  orphan.close();
  QFile broken(dir_.filePath("broken.json"));
  QVERIFY(broken.open(QIODevice::WriteOnly));
  broken.write("{\"format\": \"wandrix-lesson 1\", \"title\": 3}");
  broken.close();

  for (const auto& [name, problem] :
       {std::pair{QString("no-such-lesson"), QString("no lesson named 'no-such-lesson'")},
        std::pair{orphan.fileName(), QString("missing.dat")},
        std::pair{broken.fileName(), QString("broken.json: ")}}) {
    ModalDriver driver;
    window_->open_at_start({}, name.toStdString());
    QTRY_COMPARE(driver.boxes().size(), std::size_t{1});
    QCOMPARE(driver.boxes()[0].caption, QString(wandrix::kLessonErrorCaption));
    QVERIFY2(driver.boxes()[0].text.contains(problem), qPrintable(driver.boxes()[0].text));
    QVERIFY(driver.boxes()[0].plain);
    settle();
    QVERIFY(panel() == nullptr);
    QCOMPARE(static_cast<int>(sim_->hills.size()), 2);
    QVERIFY(samples_of(*sim_) == samples);
    QCOMPARE(differing_pixels(shown(window_->landscape()), before), 0);
  }
}

void LessonOnScreenTest::aLessonNamedOnTheCommandLineOpensAtStart() {
  const LessonFile& lesson = lessons_.front();
  window_->open_at_start({}, lesson.name.toStdString());
  QTRY_VERIFY(panel() != nullptr && panel()->isVisible());
  settle();
  QCOMPARE(panel()->title(), lesson.title);
  if (!lesson.speed.isEmpty()) {
    QCOMPARE(window_->speed_list()->currentText(), lesson.speed);
  }
  QWidget* view = window_->landscape();
  const QImage screen = shown(view);
  QCOMPARE(differing_pixels(screen, painted(*sim_, false)), 0);

  // The program itself, started as a user would, shows the same.
  QProcess wandrix;
  wandrix.start(QStringLiteral(WANDRIX_EXE), {"--lesson", lesson.name});
  QVERIFY(wandrix.waitForStarted());
  const QString id = x_window_of_class(QStringLiteral("(\"wandrix\" \"Wandrix\")"));
  QVERIFY(!id.isEmpty());
  QImage other;
  QVERIFY(QTest::qWaitFor(
      [&] {
        const QImage now = from_screen(id);
        const bool same = !now.isNull() && now == other;
        other = now;
        QTest::qWait(300);
        return same && now.size() == window_->size();
      },
      15000));
  keep(other, "lesson_at_start");
  QCOMPARE(
      differing_pixels(other.copy(QRect(view->mapTo(window_, QPoint(0, 0)), view->size())), screen),
      0);
  wandrix.terminate();
  QVERIFY(wandrix.waitForFinished(10000));
}

QTEST_MAIN(LessonOnScreenTest)
#include "lesson_on_screen_test.moc"
