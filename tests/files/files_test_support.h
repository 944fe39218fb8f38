// Small helpers shared by the files tests: a scratch folder and a host that
// answers file dialogs from a script and records what it was asked.
#pragma once

#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "model/host.h"

namespace wandrix::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device device;
    path_ = std::filesystem::temp_directory_path() /
            ("wandrix-files-test-" + std::to_string(device()) + std::to_string(device()));
    std::filesystem::create_directories(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  [[nodiscard]] std::string file(const std::string& name) const { return (path_ / name).string(); }
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

class ScriptedHost : public Host {
 public:
  std::string folder = "/work/start";
  std::deque<std::optional<std::string>> answers;  // what the dialogs return
  std::vector<FileDialogRequest> requests;
  std::vector<std::pair<std::string, std::string>> boxes;  // text, caption
  int invalidations = 0;

  std::optional<std::string> file_dialog(const FileDialogRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) {
      return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  [[nodiscard]] std::string working_directory() const override { return folder; }
  void message_box(const std::string& text, const std::string& caption) override {
    boxes.emplace_back(text, caption);
  }
  void invalidate() override { ++invalidations; }
};

}  // namespace wandrix::testing
