// Drives modal dialogs from a timer while the code under test runs them:
// each expected dialog (known by its title) gets one scripted step, and every
// message box is recorded and dismissed with its OK button.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

struct RecordedBox {
  QString caption;
  QString text;
  bool plain = false;  // one OK button and no icon
};

class ModalDriver : public QObject {
 public:
  using Step = std::function<void(QDialog*)>;

  ModalDriver() {
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::tick);
    timer_.start(5);
    clock_.start();
  }

  // The next dialog with this title gets the step.
  void expect(const QString& title, Step step) { steps_.push_back({title, std::move(step)}); }
  [[nodiscard]] bool finished() const { return steps_.empty(); }
  [[nodiscard]] const std::vector<RecordedBox>& boxes() const { return boxes_; }
  [[nodiscard]] QStringList texts() const {
    QStringList list;
    for (const RecordedBox& box : boxes_) list << box.caption + " | " + box.text;
    return list;
  }

 private:
  struct Expected {
    QString title;
    Step step;
  };

  void tick() {
    QWidget* active = QApplication::activeModalWidget();
    if (active == nullptr || !active->isVisible()) return;
    if (auto* box = qobject_cast<QMessageBox*>(active)) {
      dismiss(box);
      return;
    }
    auto* dialog = qobject_cast<QDialog*>(active);
    if (dialog == nullptr) return;
    // A script that went wrong must not hang the test program.
    if (clock_.elapsed() > 20000) {
      dialog->reject();
      return;
    }
    if (steps_.empty() || dialog->windowTitle() != steps_.front().title) return;
    Step step = std::move(steps_.front().step);
    steps_.pop_front();
    QPointer<QDialog> guard(dialog);
    QTimer::singleShot(0, dialog, [guard, step] {
      if (guard) step(guard);
    });
  }

  void dismiss(QMessageBox* box) {
    if (pending_box_ == box) return;
    pending_box_ = box;
    boxes_.push_back({box->windowTitle(), box->text(),
                      box->buttons().size() == 1 && box->icon() == QMessageBox::NoIcon});
    QTimer::singleShot(0, box, [box] {
      const QString dir = qEnvironmentVariable("WANDRIX_SCREENSHOT_DIR");
      if (!dir.isEmpty()) box->grab().save(dir + "/message_box.png");
      if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
    });
  }

  QTimer timer_;
  QElapsedTimer clock_;
  std::deque<Expected> steps_;
  std::vector<RecordedBox> boxes_;
  QPointer<QMessageBox> pending_box_;
};
