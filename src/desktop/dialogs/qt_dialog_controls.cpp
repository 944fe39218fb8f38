#include "qt_dialog_controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include "message_box.h"

namespace wandrix {

namespace {

QString to_qt(const std::string& text) { return QString::fromStdString(text); }

Rect to_rect(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

QComboBox* combo(QWidget* w) { return qobject_cast<QComboBox*>(w); }

}  // namespace

QWidget* QtDialogControls::widget(int id) const {
  const auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

std::string QtDialogControls::text(int id, std::size_t max_chars) const {
  QWidget* w = widget(id);
  QString text;
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    text = edit->text();
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    text = label->text();
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    text = button->text();
  } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
    text = group->title();
  } else if (auto* list = combo(w)) {
    text = list->currentText();
  }
  return utf8_prefix(text.toStdString(), max_chars);
}

void QtDialogControls::set_text(int id, const std::string& text) {
  QWidget* w = widget(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(to_qt(text));
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(to_qt(text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(to_qt(text));
  } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
    group->setTitle(to_qt(text));
  }
}

void QtDialogControls::enable(int id, bool on) {
  if (QWidget* w = widget(id)) w->setEnabled(on);
}

CheckState QtDialogControls::check_state(int id) const {
  auto* box = qobject_cast<QCheckBox*>(widget(id));
  if (box == nullptr) return CheckState::unchecked;
  switch (box->checkState()) {
    case Qt::Checked:
      return CheckState::checked;
    case Qt::PartiallyChecked:
      return CheckState::indeterminate;
    default:
      return CheckState::unchecked;
  }
}

void QtDialogControls::set_checked(int id, bool checked) {
  if (auto* box = qobject_cast<QCheckBox*>(widget(id))) {
    box->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
}

void QtDialogControls::combo_add(int id, const std::string& text) {
  if (auto* list = combo(widget(id))) {
    // Adding to an empty list would select the entry; the field selects.
    const int selected = list->currentIndex();
    list->addItem(to_qt(text));
    list->setCurrentIndex(selected);
  }
}

void QtDialogControls::combo_insert(int id, int index, const std::string& text) {
  if (auto* list = combo(widget(id))) list->insertItem(index, to_qt(text));
}

void QtDialogControls::combo_delete(int id, int index) {
  if (auto* list = combo(widget(id))) list->removeItem(index);
}

void QtDialogControls::combo_select(int id, int index) {
  if (auto* list = combo(widget(id))) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
  }
}

int QtDialogControls::combo_selection(int id) const {
  auto* list = combo(widget(id));
  return list == nullptr ? -1 : list->currentIndex();
}

void QtDialogControls::message_box(const std::string& text, const std::string& caption) {
  show_message_box(dialog_, to_qt(text), to_qt(caption));
}

Rect QtDialogControls::window_rect() const { return to_rect(dialog_->frameGeometry()); }

Rect QtDialogControls::desktop_rect() const {
  const QWidget* owner = dialog_->parentWidget();
  QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) screen = dialog_->screen();
  return screen == nullptr ? window_rect() : to_rect(screen->availableGeometry());
}

void QtDialogControls::move_window(Point top_left) { dialog_->move(top_left.x, top_left.y); }

}  // namespace wandrix
