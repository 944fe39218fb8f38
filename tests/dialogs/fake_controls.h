// A fake dialog: controls are entries of maps by id, message boxes are
// recorded in order, and an optional hook runs when a box is shown.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dialogs/dialog_controls.h"

namespace wandrix::testing {

struct Box {
  std::string text;
  std::string caption;
  friend bool operator==(const Box&, const Box&) = default;
};

class FakeControls : public DialogControls {
 public:
  std::map<int, std::string> texts;
  std::map<int, bool> enabled;
  std::map<int, CheckState> checks;
  std::map<int, std::vector<std::string>> lists;
  std::map<int, int> selections;
  std::vector<Box> boxes;
  std::function<void()> on_box;
  Rect window{0, 0, 100, 50};
  Rect desktop{0, 0, 1000, 800};
  std::vector<Point> moves;

  [[nodiscard]] std::string text(int id, std::size_t max_chars) const override {
    const auto it = texts.find(id);
    return it == texts.end() ? std::string() : utf8_prefix(it->second, max_chars);
  }
  void set_text(int id, const std::string& text) override { texts[id] = text; }
  void enable(int id, bool on) override { enabled[id] = on; }
  [[nodiscard]] CheckState check_state(int id) const override {
    const auto it = checks.find(id);
    return it == checks.end() ? CheckState::unchecked : it->second;
  }
  void set_checked(int id, bool checked) override {
    checks[id] = checked ? CheckState::checked : CheckState::unchecked;
  }
  void combo_add(int id, const std::string& text) override { lists[id].push_back(text); }
  void combo_insert(int id, int index, const std::string& text) override {
    auto& list = lists[id];
    list.insert(list.begin() + index, text);
  }
  void combo_delete(int id, int index) override {
    auto& list = lists[id];
    list.erase(list.begin() + index);
  }
  void combo_select(int id, int index) override {
    const bool valid = index >= 0 && static_cast<std::size_t>(index) < lists[id].size();
    selections[id] = valid ? index : -1;
  }
  [[nodiscard]] int combo_selection(int id) const override {
    const auto it = selections.find(id);
    return it == selections.end() ? -1 : it->second;
  }
  void message_box(const std::string& text, const std::string& caption) override {
    boxes.push_back({text, caption});
    if (on_box) on_box();
  }
  [[nodiscard]] Rect window_rect() const override { return window; }
  [[nodiscard]] Rect desktop_rect() const override { return desktop; }
  void move_window(Point top_left) override { moves.push_back(top_left); }

  [[nodiscard]] bool is_enabled(int id) const {
    const auto it = enabled.find(id);
    return it != enabled.end() && it->second;
  }
};

}  // namespace wandrix::testing
