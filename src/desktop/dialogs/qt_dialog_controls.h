// DialogControls over the widgets of a QDialog: each control id of the
// dialog's template is mapped to the widget that stands for it.
#pragma once

#include <QDialog>
#include <QWidget>
#include <map>

#include "dialogs/dialog_controls.h"

namespace wandrix {

class QtDialogControls : public DialogControls {
 public:
  explicit QtDialogControls(QDialog& dialog) : dialog_(&dialog) {}

  void add(int id, QWidget* widget) { widgets_[id] = widget; }
  [[nodiscard]] QWidget* widget(int id) const;

  [[nodiscard]] std::string text(int id, std::size_t max_chars) const override;
  void set_text(int id, const std::string& text) override;
  void enable(int id, bool on) override;
  [[nodiscard]] CheckState check_state(int id) const override;
  void set_checked(int id, bool checked) override;
  void combo_add(int id, const std::string& text) override;
  void combo_insert(int id, int index, const std::string& text) override;
  void combo_delete(int id, int index) override;
  void combo_select(int id, int index) override;
  [[nodiscard]] int combo_selection(int id) const override;
  void message_box(const std::string& text, const std::string& caption) override;
  [[nodiscard]] Rect window_rect() const override;
  [[nodiscard]] Rect desktop_rect() const override;
  void move_window(Point top_left) override;

 private:
  QDialog* dialog_;
  std::map<int, QWidget*> widgets_;
};

}  // namespace wandrix
