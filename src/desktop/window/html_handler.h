// Finds the program the desktop opens HTML files with, the freedesktop way:
// the default application for text/html (xdg-mime, or the mimeapps.list
// files it reads) and the Exec line of that application's desktop entry,
// searched in the XDG data folders.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/host.h"

namespace wandrix::desktop {

// The lookup for file in folder: 3 when the folder does not exist, 2 when
// the file is not in it, 31 when no program is associated with HTML, 11 when
// the associated desktop entry has no usable Exec line; otherwise a code
// above 32 with the program and its command.
ProgramLookup find_html_handler(const std::string& file, const std::string& folder);

// The desktop entries preferred for text/html, best first.
std::vector<std::string> html_desktop_ids();

// The path of a desktop entry given its id, or nothing.
std::optional<std::string> find_desktop_file(const std::string& desktop_id);

// The Exec value of the [Desktop Entry] group of a desktop file, or nothing.
std::optional<std::string> desktop_exec_line(const std::string& path);

}  // namespace wandrix::desktop
