#include "files/file_chooser.h"

#include <filesystem>

#include "files/utf8_path.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

namespace fs = std::filesystem;

const FileFilter kAllFiles{"All (*.*)", "*.*"};

}  // namespace

FileDialogRequest file_request(bool for_open, FileKind kind, const std::string& folder) {
  FileDialogRequest request;
  request.for_open = for_open;
  request.folder = folder;
  switch (kind) {
    case FileKind::metafile:
      request.filters = {{"Enhanced metafile (*.emf)", "*.EMF"}};
      request.default_extension = "emf";
      break;
    case FileKind::data:
      request.filters = {{"Data file (*.dat)", "*.DAT"}, kAllFiles};
      request.default_extension = "dat";
      break;
    case FileKind::text:
      request.filters = {{"Text file (*.txt)", "*.TXT"}, kAllFiles};
      request.default_extension = "txt";
      break;
  }
  return request;
}

bool choose_file(Simulation& sim, bool for_open, FileKind kind) {
  Host& host = sim.host();
  if (sim.directory.empty()) {
    sim.directory = host.working_directory();
  }
  const std::optional<std::string> chosen =
      host.file_dialog(file_request(for_open, kind, sim.directory));
  // A dialog that hands back a folder rather than a file chose nothing.
  if (!chosen || chosen->empty() || !fs::path(*chosen).has_filename()) {
    sim.file_name.clear();
    return false;
  }
  fs::path full = utf8_path(*chosen);
  if (full.is_relative()) {
    full = utf8_path(host.working_directory()) / full;
  }
  full = full.lexically_normal();
  sim.file_name = utf8_string(full);
  const fs::path folder = full.parent_path();
  sim.directory = folder.empty() ? std::string(".") : utf8_string(folder);
  if (sim.directory.back() != fs::path::preferred_separator) {
    sim.directory += fs::path::preferred_separator;
  }
  return true;
}

bool save_chosen_file(Simulation& sim, FileKind kind, const FileWriter& write,
                      const std::string& error_caption) {
  if (!choose_file(sim, false, kind)) {
    return false;
  }
  if (const auto error = write(sim.file_name)) {
    sim.host().message_box(*error, error_caption);
    return false;
  }
  return true;
}

}  // namespace wandrix
