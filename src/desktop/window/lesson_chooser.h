// File > Lessons...: a modal list of the lessons, each shown as its title in
// bold over its first sentence. The first lesson is selected; Enter, a
// double click or Open opens the selected one, Esc or Cancel closes the list
// and changes nothing.
#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>
#include <vector>

#include "model/host.h"

class QListWidget;
class QPushButton;

namespace wandrix::desktop {

inline constexpr char kLessonChooserTitle[] = "Lessons";

class LessonChooser : public QDialog {
  Q_OBJECT

 public:
  LessonChooser(const std::vector<LessonItem>& lessons, QWidget* owner);

  // The lesson selected now; nothing when none is.
  [[nodiscard]] std::optional<std::size_t> chosen() const;
  [[nodiscard]] QListWidget* list() const { return list_; }
  [[nodiscard]] QPushButton* open_button() const { return open_; }

 private:
  QListWidget* list_;
  QPushButton* open_;
};

// Runs the list over owner; the index of the lesson opened, or nothing.
std::optional<std::size_t> run_lesson_chooser(QWidget* owner,
                                              const std::vector<LessonItem>& lessons);

}  // namespace wandrix::desktop
