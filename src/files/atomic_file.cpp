#include "files/atomic_file.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <random>
#include <streambuf>
#include <system_error>

namespace wandrix {
namespace {

namespace fs = std::filesystem;

std::string failure(const std::string& path, const std::string& reason) {
  return path + " could not be written: " + reason;
}

std::string errno_text(int error) { return error != 0 ? std::strerror(error) : "unknown error"; }

bool g_unnamed_allowed = true;
#if defined(__EMSCRIPTEN__)
// WebAssembly's file systems (in memory, or node's) offer no O_TMPFILE and
// no /proc to name such a file through: the named temporary and a rename.
constexpr bool kUnnamedPossible = false;
#else
constexpr bool kUnnamedPossible = true;
#endif

// The named temporary being written, for the signal handler. It is changed
// only while the signals are held, so the handler never sees half a name.
char g_pending[PATH_MAX];
volatile std::sig_atomic_t g_pending_set = 0;

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void remove_pending_and_stop(int signal) {
  if (g_pending_set != 0) {
    ::unlink(g_pending);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// Holds SIGINT, SIGTERM and SIGHUP while a temporary gets or loses its name,
// so the name on disk and the handler's record of it always agree.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : kCleanupSignals) {
      sigaddset(&held, signal);
    }
    pthread_sigmask(SIG_BLOCK, &held, &previous_);
  }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;
  SignalsHeld(SignalsHeld&&) = delete;
  SignalsHeld& operator=(SignalsHeld&&) = delete;
  ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

 private:
  sigset_t previous_{};
};

void set_pending(const fs::path& temporary) {
  const std::string& name = temporary.native();
  if (name.size() >= sizeof g_pending) {
    return;
  }
  std::memcpy(g_pending, name.c_str(), name.size() + 1);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  g_pending_set = 1;
}

void clear_pending() { g_pending_set = 0; }

// Removes a named temporary and forgets it.
void discard(const fs::path& temporary) {
  const SignalsHeld held;
  std::error_code ignored;
  fs::remove(temporary, ignored);
  clear_pending();
}

// A name beside the target that no other file has: ".<name>.<hex>.tmp".
class TemporaryNames {
 public:
  explicit TemporaryNames(const fs::path& target)
      : target_(target), engine_((static_cast<std::uint64_t>(device_()) << 32) ^ device_()) {}
  fs::path next() {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp",
                  static_cast<unsigned long long>(engine_()));
    fs::path temporary = target_;
    // Short enough that the longest name the folder allows still has room.
    temporary.replace_filename("." + target_.filename().string().substr(0, 32) + suffix);
    return temporary;
  }

 private:
  fs::path target_;
  std::random_device device_;
  std::mt19937_64 engine_;
};

constexpr int kNameAttempts = 16;

// A new named temporary file, created exclusively ("x") so an existing file
// is never taken over, and recorded for the signal handler.
std::FILE* create_temporary(const fs::path& target, fs::path& temporary, int& error) {
  TemporaryNames names(target);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    temporary = names.next();
    errno = 0;
    const SignalsHeld held;
    if (std::FILE* file = std::fopen(temporary.c_str(), "wbx")) {
      set_pending(temporary);
      return file;
    }
    error = errno;
    if (error != EEXIST) {
      return nullptr;
    }
  }
  return nullptr;
}

// An unnamed file in the target's folder, or nothing where the file system
// (or a missing /proc, through which it gets its name) does not allow one.
std::FILE* create_unnamed(const fs::path& target) {
  if (!kUnnamedPossible || !g_unnamed_allowed || ::access("/proc/self/fd", X_OK) != 0) {
    return nullptr;
  }
  fs::path folder = target.parent_path();
  if (folder.empty()) {
    folder = ".";
  }
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    ::close(fd);
  }
  return file;
}

// Where the bytes really go: the file a symbolic link names.
fs::path resolve_target(const std::string& path) {
  std::error_code ec;
  fs::path given(path);
  if (fs::is_symlink(given, ec)) {
    fs::path resolved = fs::weakly_canonical(given, ec);
    if (!ec) {
      return resolved;
    }
  }
  return given;
}

// Fills the temporary file; returns false when a write failed.
using Fill = std::function<bool(std::FILE*)>;

// Fills and flushes the file; the reason when that failed.
std::optional<std::string> fill_file(std::FILE* file, const Fill& fill) {
  errno = 0;
  if (fill(file) && std::fflush(file) == 0) {
    return std::nullopt;
  }
  return errno_text(errno);
}

// Gives a complete unnamed file its name: the target itself when there is
// none yet, else a temporary name that the caller renames over the target.
// Returns the reason on failure.
std::optional<std::string> name_unnamed(std::FILE* file, const fs::path& target, bool exists,
                                        fs::path& temporary) {
  const std::string proc = "/proc/self/fd/" + std::to_string(::fileno(file));
  if (!exists) {
    if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return std::nullopt;
    }
    if (errno != EEXIST) {
      return errno_text(errno);
    }
  }
  TemporaryNames names(target);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    temporary = names.next();
    const SignalsHeld held;
    if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      set_pending(temporary);
      return std::nullopt;
    }
    if (errno != EEXIST) {
      temporary.clear();
      return errno_text(errno);
    }
  }
  temporary.clear();
  return errno_text(EEXIST);
}

// Writes the content into the target's folder. On success temporary holds
// the name to rename over the target, or is empty when the target already
// has the content; on failure nothing is left on disk.
std::optional<std::string> write_beside(const fs::path& target, const Fill& fill,
                                        const fs::file_status& existing, fs::path& temporary) {
  const bool exists = fs::exists(existing);
  std::FILE* file = create_unnamed(target);
  const bool unnamed = file != nullptr;
  if (!unnamed) {
    int error = 0;
    file = create_temporary(target, temporary, error);
    if (file == nullptr) {
      return errno_text(error);
    }
  }
  std::optional<std::string> problem = fill_file(file, fill);
  if (!problem && exists) {
    ::fchmod(::fileno(file), static_cast<mode_t>(existing.permissions() & fs::perms::mask));
  }
  if (!problem && unnamed) {
    problem = name_unnamed(file, target, exists, temporary);
  }
  errno = 0;
  if (std::fclose(file) != 0 && !problem) {
    problem = errno_text(errno);
  }
  if (problem && !temporary.empty()) {
    discard(temporary);
    temporary.clear();
  }
  return problem;
}

// An output stream buffer that hands everything to a C file.
class FileBuffer : public std::streambuf {
 public:
  explicit FileBuffer(std::FILE* file) : file_(file) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
      return traits_type::not_eof(c);
    }
    return std::fputc(c, file_) == EOF ? traits_type::eof() : c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    return static_cast<std::streamsize>(std::fwrite(s, 1, static_cast<std::size_t>(n), file_));
  }

 private:
  std::FILE* file_;
};

std::optional<std::string> replace_file(const std::string& path, const Fill& fill) {
  if (path.empty()) {
    return failure(path, "no file name");
  }
  const fs::path target = resolve_target(path);
  if (!target.has_filename()) {
    return failure(path, "the name is a folder");
  }
  // Only a plain file is replaced: renaming over a device or a pipe would
  // put a file in its place, and over a folder it cannot work.
  std::error_code status_error;
  const fs::file_status existing = fs::status(target, status_error);
  if (fs::is_directory(existing)) {
    return failure(path, "it is a folder");
  }
  if (fs::exists(existing) && !fs::is_regular_file(existing)) {
    return failure(path, "it is not a regular file");
  }
  fs::path temporary;
  if (auto reason = write_beside(target, fill, existing, temporary)) {
    return failure(path, *reason);
  }
  if (temporary.empty()) {
    return std::nullopt;
  }
  const SignalsHeld held;
  std::error_code ec;
  fs::rename(temporary, target, ec);
  if (ec) {
    fs::remove(temporary, ec);
  }
  clear_pending();
  return ec ? std::optional<std::string>(failure(path, ec.message())) : std::nullopt;
}

}  // namespace

std::optional<std::string> write_file_atomically(const std::string& path, std::string_view bytes) {
  return replace_file(path, [bytes](std::FILE* file) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  });
}

std::optional<std::string> write_file_atomically(const std::string& path,
                                                 const std::function<void(std::ostream&)>& write) {
  return replace_file(path, [&write](std::FILE* file) {
    FileBuffer buffer(file);
    std::ostream out(&buffer);
    write(out);
    out.flush();
    return static_cast<bool>(out);
  });
}

void remove_temporaries_on_signals() {
  for (const int signal : kCleanupSignals) {
    struct sigaction action {};
    action.sa_handler = remove_pending_and_stop;
    sigemptyset(&action.sa_mask);
    struct sigaction previous {};
    // A signal the caller chose to ignore (nohup) stays ignored.
    if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) {
      continue;
    }
    sigaction(signal, &action, nullptr);
  }
}

namespace detail {
void allow_unnamed_temporaries(bool allowed) { g_unnamed_allowed = allowed; }
}  // namespace detail

}  // namespace wandrix
