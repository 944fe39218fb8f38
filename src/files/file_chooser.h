// The one routine through which every command asks the user for a file. It
// keeps the folder the next dialog opens in and the last file chosen in the
// Simulation; it never opens a file itself.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "model/host.h"

namespace wandrix {

class Simulation;

enum class FileKind { metafile, data, text };

// The dialog request for a kind of file: its filters (the first is the one
// shown), the extension added to a name typed without one, and the folder.
FileDialogRequest file_request(bool for_open, FileKind kind, const std::string& folder);

// Shows the open (for_open) or save dialog through the Host. The first dialog
// opens in the working directory, which is remembered in `directory` even when
// the user cancels. A choice sets `file_name` to the chosen file's full path
// and `directory` to its folder with a trailing separator; a cancel empties
// `file_name`. Returns true when a file was chosen.
bool choose_file(Simulation& sim, bool for_open, FileKind kind);

// Writes a file to a path; returns the error text when it could not.
using FileWriter = std::function<std::optional<std::string>(const std::string& path)>;

// A "Save ..." command up to its confirmation: the save dialog for the kind,
// then the write of the chosen file, a failure reported under error_caption.
// True once the chosen file is written.
bool save_chosen_file(Simulation& sim, FileKind kind, const FileWriter& write,
                      const std::string& error_caption);

}  // namespace wandrix
