// The session named on the desktop program's command line (`wandrix FILE`),
// opened once the window is up.
#pragma once

#include <string>

namespace wandrix {

class Simulation;

// "Open..." as if the user had chosen path in its dialog: the next file
// dialog opens in the file's folder, a refused file shows the same error box
// and leaves the session as it was, and the walks are cleared and the window
// redrawn either way. A relative path is taken from the working directory.
void open_session_file(Simulation& sim, const std::string& path);

}  // namespace wandrix
