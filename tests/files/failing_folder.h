// A folder where writing really fails, for tests of what a failed save
// leaves behind. Permission bits do not stop root, so the folder is a small
// tmpfs mounted in a private mount namespace of a child process: it can be
// filled up (ENOSPC) or remounted read-only (EROFS), for root and, through a
// user namespace, for other users too. Nothing outside the child sees the
// mount, and it disappears with the child.
#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace wandrix::testing {

enum class Failure { disk_full, read_only };

// Exit status of a child that could not set the folder up.
inline constexpr int kNoPrivateMount = 77;

// Makes the folder fail as asked; returns false when it could not.
inline bool make_folder_fail(const std::string& folder, Failure failure) {
  if (failure == Failure::read_only) {
    return mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }
  // Fill every free block; the filler stays so the disk stays full.
  std::FILE* filler = std::fopen((folder + "/filler").c_str(), "wb");
  if (filler == nullptr) {
    return false;
  }
  const std::vector<char> block(4096, 'x');
  while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
         std::fflush(filler) == 0) {
  }
  std::fclose(filler);
  // Small files may still fit in a partial block: take those too.
  for (int i = 0; i < 64; ++i) {
    std::FILE* crumb = std::fopen((folder + "/crumb" + std::to_string(i)).c_str(), "wb");
    if (crumb == nullptr) {
      break;
    }
    const bool fitted = std::fwrite(block.data(), 1, 512, crumb) == 512 && std::fflush(crumb) == 0;
    std::fclose(crumb);
    if (!fitted) {
      break;
    }
  }
  return true;
}

namespace detail {

inline bool write_text(const std::string& path, const std::string& text) {
  std::ofstream file(path);
  file << text;
  return static_cast<bool>(file);
}

// A private mount namespace; for a user without the privilege, inside a user
// namespace where it is root.
inline bool enter_private_mount_namespace() {
  if (unshare(CLONE_NEWNS) != 0) {
    const uid_t uid = getuid();
    const gid_t gid = getgid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
      return false;
    }
    write_text("/proc/self/setgroups", "deny");
    if (!write_text("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1\n") ||
        !write_text("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1\n")) {
      return false;
    }
  }
  // Nothing mounted here may reach the rest of the system.
  return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

}  // namespace detail

// Runs check(folder) in a child process, with folder an empty 256 KiB tmpfs
// that check may make fail with make_folder_fail. Returns check's result, or
// nothing when the system allows no private mount (the caller skips).
inline std::optional<int> with_failing_folder(const std::function<int(const std::string&)>& check) {
  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::temp_directory_path(ec);
  std::string pattern = (ec ? std::string("/tmp") : parent.string()) + "/wandrix-fail-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    return std::nullopt;
  }
  const std::string folder = pattern;
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    if (!detail::enter_private_mount_namespace() ||
        mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=256k,mode=0777") != 0) {
      _exit(kNoPrivateMount);
    }
    const int result = check(folder);
    std::fflush(nullptr);
    _exit(result);
  }
  int status = 0;
  const bool waited = child > 0 && waitpid(child, &status, 0) == child;
  std::filesystem::remove_all(folder, ec);
  if (!waited) {
    return std::nullopt;
  }
  if (!WIFEXITED(status)) {
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  }
  if (WEXITSTATUS(status) == kNoPrivateMount) {
    return std::nullopt;
  }
  return WEXITSTATUS(status);
}

// The whole content of a file, or nothing when it cannot be read.
inline std::optional<std::string> file_content(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return std::nullopt;
  }
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The names in a folder, for checking that no temporary file remains.
inline std::vector<std::string> folder_entries(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

}  // namespace wandrix::testing
