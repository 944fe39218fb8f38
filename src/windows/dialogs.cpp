#include "windows/dialogs.h"

#include <functional>
#include <memory>

#include "dialogs/about_box.h"
#include "dialogs/hill_dialog.h"
#include "dialogs/robot_options_dialog.h"
#include "windows/wide_text.h"

namespace wandrix::windows {

namespace {

static_assert(kListDroppedDown == CBN_DROPDOWN && kListSelectionConfirmed == CBN_SELENDOK);

Rect rect_of(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// One running dialog: its controls and the logic acting on them. The dialog
// procedure finds it in the window's user data.
class Session {
 public:
  virtual ~Session() = default;
  virtual void open() = 0;
  virtual DialogResult ok() = 0;
  virtual DialogResult close_box() = 0;
  virtual DialogResult cancel() = 0;
  // Any other control's notification.
  virtual void command(int /*id*/, int /*code*/) {}
  Win32DialogControls controls;
};

template <class Logic>
class LogicSession : public Session {
 public:
  using Make = std::function<Logic(DialogControls&, HWND)>;
  using Command = std::function<void(Logic&, int id, int code)>;
  LogicSession(Make make, Command command) : make_(std::move(make)), command_(std::move(command)) {}

  void open() override {
    logic_ = std::make_unique<Logic>(make_(controls, controls.dialog()));
    logic_->open();
  }
  DialogResult ok() override { return logic_->ok(); }
  DialogResult close_box() override { return logic_->close_box(); }
  DialogResult cancel() override { return logic_->cancel(); }
  void command(int id, int code) override {
    if (command_) {
      command_(*logic_, id, code);
    }
  }

 private:
  Make make_;
  Command command_;
  std::unique_ptr<Logic> logic_;
};

void finish(HWND dialog, DialogResult result) {
  ::EndDialog(dialog, result == DialogResult::ok ? 1 : 0);
}

INT_PTR CALLBACK dialog_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_INITDIALOG) {
    // Win32 hands the session over as an integer, and keeps it as one.
    auto* session = reinterpret_cast<Session*>(l);  // NOLINT(performance-no-int-to-ptr)
    ::SetWindowLongPtrW(dialog, DWLP_USER, l);
    session->controls.attach(dialog);
    session->open();
    return TRUE;  // the focus goes to the first tab stop
  }
  auto* session = reinterpret_cast<Session*>(  // NOLINT(performance-no-int-to-ptr)
      ::GetWindowLongPtrW(dialog, DWLP_USER));
  if (session == nullptr) {
    return FALSE;
  }
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(w);
      if (id == IDOK) {
        finish(dialog, session->ok());
      } else if (id == IDCANCEL) {
        finish(dialog, session->cancel());
      } else {
        session->command(id, HIWORD(w));
      }
      return TRUE;
    }
    case WM_CLOSE:
      finish(dialog, session->close_box());
      return TRUE;
    default:
      return FALSE;
  }
}

DialogResult run(HWND owner, const wchar_t* name, Session& session) {
  const INT_PTR result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), name, owner,
                                           dialog_procedure, reinterpret_cast<LPARAM>(&session));
  return result == 1 ? DialogResult::ok : DialogResult::cancel;
}

}  // namespace

LRESULT Win32DialogControls::send(int id, UINT message, WPARAM w, LPARAM l) const {
  return ::SendDlgItemMessageW(dialog_, id, message, w, l);
}

std::string Win32DialogControls::text(int id, std::size_t max_chars) const {
  HWND control = ::GetDlgItem(dialog_, id);
  if (control == nullptr) {
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  wide.resize(static_cast<std::size_t>(
      ::GetWindowTextW(control, wide.data(), static_cast<int>(wide.size()))));
  return utf8_prefix(narrow(wide), max_chars);
}

void Win32DialogControls::set_text(int id, const std::string& text) {
  ::SetDlgItemTextW(dialog_, id, widen(text).c_str());
}

void Win32DialogControls::enable(int id, bool on) {
  if (HWND control = ::GetDlgItem(dialog_, id)) {
    ::EnableWindow(control, on ? TRUE : FALSE);
  }
}

CheckState Win32DialogControls::check_state(int id) const {
  switch (::IsDlgButtonChecked(dialog_, id)) {
    case BST_CHECKED:
      return CheckState::checked;
    case BST_INDETERMINATE:
      return CheckState::indeterminate;
    default:
      return CheckState::unchecked;
  }
}

void Win32DialogControls::set_checked(int id, bool checked) {
  ::CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32DialogControls::combo_add(int id, const std::string& text) {
  const std::wstring wide = widen(text);
  send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void Win32DialogControls::combo_insert(int id, int index, const std::string& text) {
  const std::wstring wide = widen(text);
  send(id, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.c_str()));
}

void Win32DialogControls::combo_delete(int id, int index) {
  send(id, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void Win32DialogControls::combo_select(int id, int index) {
  const auto count = static_cast<int>(send(id, CB_GETCOUNT, 0, 0));
  send(id, CB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < count ? index : -1), 0);
}

int Win32DialogControls::combo_selection(int id) const {
  if (::GetDlgItem(dialog_, id) == nullptr) {
    return -1;
  }
  const auto selected = static_cast<int>(send(id, CB_GETCURSEL, 0, 0));
  return selected == CB_ERR ? -1 : selected;
}

void Win32DialogControls::message_box(const std::string& text, const std::string& caption) {
  show_message_box(dialog_, text, caption);
}

Rect Win32DialogControls::window_rect() const {
  RECT r{};
  ::GetWindowRect(dialog_, &r);
  return rect_of(r);
}

Rect Win32DialogControls::desktop_rect() const {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (::GetMonitorInfoW(::MonitorFromWindow(dialog_, MONITOR_DEFAULTTONEAREST), &info)) {
    return rect_of(info.rcWork);
  }
  RECT r{};
  ::GetWindowRect(::GetDesktopWindow(), &r);
  return rect_of(r);
}

void Win32DialogControls::move_window(Point top_left) {
  ::SetWindowPos(dialog_, nullptr, top_left.x, top_left.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

DialogResult run_robot_options_dialog(HWND owner, Simulation& sim) {
  LogicSession<RobotOptionsDialog> session(
      [&sim](DialogControls& controls, HWND dialog) {
        // Modify opens the hill dialog over this one.
        return RobotOptionsDialog(sim, controls, [&sim, dialog] { run_hill_dialog(dialog, sim); });
      },
      [](RobotOptionsDialog& logic, int id, int code) {
        if (id == robot_ids::kModify && code == BN_CLICKED) {
          logic.modify();
        } else if (id == robot_ids::kNewSeed && code == BN_CLICKED) {
          logic.generate_new_seed();
        } else if (id == robot_ids::kHillList) {
          logic.hill_list_notification(code);  // CBN_DROPDOWN and CBN_SELENDOK
        }
      });
  return run(owner, kRobotOptionsTemplate, session);
}

DialogResult run_hill_dialog(HWND owner, Simulation& sim) {
  LogicSession<HillDialog> session(
      [&sim](DialogControls& controls, HWND /*dialog*/) { return HillDialog(sim, controls); }, {});
  return run(owner, kHillTemplate, session);
}

void run_about_box(HWND owner) {
  LogicSession<AboutBox> session(
      [](DialogControls& controls, HWND /*dialog*/) { return AboutBox(controls); }, {});
  run(owner, kAboutTemplate, session);
}

void show_message_box(HWND owner, const std::string& text, const std::string& caption) {
  ::MessageBoxW(owner, widen(text).c_str(), widen(caption).c_str(), MB_OK);
}

}  // namespace wandrix::windows
