// The program's message box and the focus after any modal window: what the
// window manager shows of them, not only what Qt draws.
#pragma once

class QString;
class QWidget;

namespace wandrix {

// A modal box owned by owner with one OK button and no icon. It is wide
// enough for its whole caption, which a window manager would otherwise cut
// ("Parameter must…an or equal to 1"), and the keyboard focus returns to the
// owner's window when it closes.
void show_message_box(QWidget* owner, const QString& text, const QString& caption);

// After a modal dialog or box has closed: the owner's window is active again,
// so that its title is not greyed and its accelerators work without a click.
// Window managers do not always give the focus back by themselves.
void return_focus(QWidget* owner);

}  // namespace wandrix
