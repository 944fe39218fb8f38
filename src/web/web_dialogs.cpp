#include "web/web_dialogs.h"

#include <emscripten.h>

#include <cstdlib>

#include "dialogs/about_box.h"
#include "dialogs/hill_dialog.h"
#include "dialogs/robot_options_dialog.h"

// The page's side of every call: Module.page, set by site/wandrix.js.
// clang-format off
EM_JS(char*, wx_js_control_text, (const char* dialog, int id), {
  return Module.page.newString(Module.page.dialogs.text(UTF8ToString(dialog), id));
});
EM_JS(void, wx_js_set_control_text, (const char* dialog, int id, const char* text), {
  Module.page.dialogs.setText(UTF8ToString(dialog), id, UTF8ToString(text));
});
EM_JS(void, wx_js_enable_control, (const char* dialog, int id, int on), {
  Module.page.dialogs.enable(UTF8ToString(dialog), id, on !== 0);
});
EM_JS(int, wx_js_check_state, (const char* dialog, int id), {
  return Module.page.dialogs.checkState(UTF8ToString(dialog), id);
});
EM_JS(void, wx_js_set_checked, (const char* dialog, int id, int on), {
  Module.page.dialogs.setChecked(UTF8ToString(dialog), id, on !== 0);
});
EM_JS(void, wx_js_combo_insert, (const char* dialog, int id, int index, const char* text), {
  Module.page.dialogs.comboInsert(UTF8ToString(dialog), id, index, UTF8ToString(text));
});
EM_JS(void, wx_js_combo_delete, (const char* dialog, int id, int index), {
  Module.page.dialogs.comboDelete(UTF8ToString(dialog), id, index);
});
EM_JS(void, wx_js_combo_select, (const char* dialog, int id, int index), {
  Module.page.dialogs.comboSelect(UTF8ToString(dialog), id, index);
});
EM_JS(int, wx_js_combo_selection, (const char* dialog, int id), {
  return Module.page.dialogs.comboSelection(UTF8ToString(dialog), id);
});
EM_JS(void, wx_js_window_rect, (const char* dialog, int desktop, int* rect), {
  const r = Module.page.dialogs.rect(UTF8ToString(dialog), desktop !== 0);
  HEAP32.set(r, rect >> 2);
});
EM_JS(void, wx_js_move_window, (const char* dialog, int x, int y), {
  Module.page.dialogs.move(UTF8ToString(dialog), x, y);
});
EM_JS(void, wx_js_show_form, (const char* dialog), {
  Module.page.dialogs.show(UTF8ToString(dialog));
});
EM_JS(void, wx_js_close_form, (const char* dialog), {
  Module.page.dialogs.close(UTF8ToString(dialog));
});
EM_ASYNC_JS(int, wx_js_next_event, (const char* dialog), {
  return await Module.page.dialogs.nextEvent(UTF8ToString(dialog));
});
EM_ASYNC_JS(void, wx_js_dialog_message_box, (const char* dialog, const char* text, const char* caption), {
  await Module.page.messageBox(UTF8ToString(text), UTF8ToString(caption), UTF8ToString(dialog));
});
// clang-format on

namespace wandrix::web {

namespace {

std::string take_string(char* text) {
  std::string result = text != nullptr ? text : "";
  std::free(text);
  return result;
}

// Runs the form until one of its endings: OK and the close box ask the logic,
// Cancel (and Escape) cancels; every other event goes to on_event.
template <class Logic, class OnEvent>
DialogResult run_form(WebDialogControls& controls, Logic& logic, OnEvent on_event) {
  controls.show_form();
  logic.open();
  DialogResult result = DialogResult::cancel;
  for (;;) {
    const int event = controls.next_event();
    if (event == kOkEvent) {
      result = logic.ok();
      break;
    }
    if (event == kCancelEvent) {
      result = Logic::cancel();
      break;
    }
    if (event == kCloseBoxEvent) {
      result = logic.close_box();
      break;
    }
    on_event(event);
  }
  controls.close();
  return result;
}

// The form's rectangle, or the page's visible area, in page pixels.
Rect form_rect(const std::string& dialog, bool desktop) {
  int corners[4] = {};
  wx_js_window_rect(dialog.c_str(), desktop ? 1 : 0, corners);
  return {corners[0], corners[1], corners[2], corners[3]};
}

}  // namespace

std::string WebDialogControls::text(int id, std::size_t max_chars) const {
  return utf8_prefix(take_string(wx_js_control_text(dialog_.c_str(), id)), max_chars);
}

void WebDialogControls::set_text(int id, const std::string& text) {
  wx_js_set_control_text(dialog_.c_str(), id, text.c_str());
}

void WebDialogControls::enable(int id, bool on) {
  wx_js_enable_control(dialog_.c_str(), id, on ? 1 : 0);
}

CheckState WebDialogControls::check_state(int id) const {
  switch (wx_js_check_state(dialog_.c_str(), id)) {
    case 1:
      return CheckState::checked;
    case 2:
      return CheckState::indeterminate;
    default:
      return CheckState::unchecked;
  }
}

void WebDialogControls::set_checked(int id, bool checked) {
  wx_js_set_checked(dialog_.c_str(), id, checked ? 1 : 0);
}

void WebDialogControls::combo_add(int id, const std::string& text) {
  wx_js_combo_insert(dialog_.c_str(), id, -1, text.c_str());
}

void WebDialogControls::combo_insert(int id, int index, const std::string& text) {
  wx_js_combo_insert(dialog_.c_str(), id, index, text.c_str());
}

void WebDialogControls::combo_delete(int id, int index) {
  wx_js_combo_delete(dialog_.c_str(), id, index);
}

void WebDialogControls::combo_select(int id, int index) {
  wx_js_combo_select(dialog_.c_str(), id, index);
}

int WebDialogControls::combo_selection(int id) const {
  return wx_js_combo_selection(dialog_.c_str(), id);
}

void WebDialogControls::message_box(const std::string& text, const std::string& caption) {
  wx_js_dialog_message_box(dialog_.c_str(), text.c_str(), caption.c_str());
}

Rect WebDialogControls::window_rect() const { return form_rect(dialog_, false); }

Rect WebDialogControls::desktop_rect() const { return form_rect(dialog_, true); }

void WebDialogControls::move_window(Point top_left) {
  wx_js_move_window(dialog_.c_str(), top_left.x, top_left.y);
}

void WebDialogControls::show_form() { wx_js_show_form(dialog_.c_str()); }

void WebDialogControls::close() { wx_js_close_form(dialog_.c_str()); }

int WebDialogControls::next_event() { return wx_js_next_event(dialog_.c_str()); }

DialogResult run_robot_options_dialog(Simulation& sim) {
  WebDialogControls controls("robot");
  RobotOptionsDialog logic(sim, controls, [&sim] { run_hill_dialog(sim); });
  return run_form(controls, logic, [&logic](int event) {
    if (event == robot_ids::kModify) {
      logic.modify();
    } else if (event == robot_ids::kNewSeed) {
      logic.generate_new_seed();
    } else if (event > kListEventBase) {
      logic.hill_list_notification(event - kListEventBase);
    }
  });
}

DialogResult run_hill_dialog(Simulation& sim) {
  WebDialogControls controls("hill");
  HillDialog logic(sim, controls);
  return run_form(controls, logic, [](int /*event*/) {});
}

void run_about_box() {
  WebDialogControls controls("about");
  AboutBox logic(controls);
  run_form(controls, logic, [](int /*event*/) {});
}

}  // namespace wandrix::web
