#include "files/session_at_start.h"

#include <filesystem>

#include "files/session_file.h"
#include "files/utf8_path.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

namespace fs = std::filesystem;

// What the file chooser remembers after the user picked path.
void remember_choice(Simulation& sim, const std::string& path) {
  fs::path full = utf8_path(path);
  if (full.is_relative()) {
    full = utf8_path(sim.host().working_directory()) / full;
  }
  full = full.lexically_normal();
  sim.file_name = utf8_string(full);
  sim.directory = utf8_string(full.parent_path());
  if (sim.directory.empty() || sim.directory.back() != fs::path::preferred_separator) {
    sim.directory += fs::path::preferred_separator;
  }
}

}  // namespace

void open_session_file(Simulation& sim, const std::string& path) {
  remember_choice(sim, path);
  open_chosen_session(sim, sim.file_name);
}

}  // namespace wandrix
