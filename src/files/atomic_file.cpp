#include "files/atomic_file.h"

#include <cerrno>
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

// A name beside the target that no other file has; the file is created
// exclusively ("x"), so an existing file is never taken over.
std::FILE* create_temporary(const fs::path& target, fs::path& temporary, int& error) {
  std::random_device device;
  std::mt19937_64 engine((static_cast<std::uint64_t>(device()) << 32) ^ device());
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(engine()));
    temporary = target;
    // Short enough that the longest name the folder allows still has room.
    temporary.replace_filename("." + target.filename().string().substr(0, 32) + suffix);
    errno = 0;
    if (std::FILE* file = std::fopen(temporary.c_str(), "wbx")) {
      return file;
    }
    error = errno;
    if (error != EEXIST) {
      return nullptr;
    }
  }
  return nullptr;
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

// Writes to a new temporary file beside the target; on failure returns the
// reason and leaves no temporary file behind.
std::optional<std::string> write_temporary(const fs::path& target, const Fill& fill,
                                           fs::path& temporary) {
  int error = 0;
  std::FILE* file = create_temporary(target, temporary, error);
  if (file == nullptr) {
    return errno_text(error);
  }
  errno = 0;
  const bool written = fill(file) && std::fflush(file) == 0;
  error = errno;
  errno = 0;
  const bool closed = std::fclose(file) == 0;
  if (written && closed) {
    return std::nullopt;
  }
  if (written) {
    error = errno;
  }
  std::error_code ignored;
  fs::remove(temporary, ignored);
  return errno_text(error);
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
  if (auto reason = write_temporary(target, fill, temporary)) {
    return failure(path, *reason);
  }
  if (fs::exists(existing)) {
    std::error_code ignored;
    fs::permissions(temporary, existing.permissions(), ignored);
  }
  std::error_code ec;
  fs::rename(temporary, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return failure(path, ec.message());
  }
  return std::nullopt;
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

}  // namespace wandrix
