// The Windows side of atomic_file.h. Windows has no unnamed files, so the
// content always goes to a named temporary beside the target, created with
// CREATE_NEW (an existing file is never taken over), and MoveFileExW puts it
// over the target in one step. The reasons are the system's own texts.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <random>
#include <streambuf>
#include <system_error>

#include "files/atomic_file.h"
#include "files/utf8_path.h"

namespace wandrix {
namespace {

namespace fs = std::filesystem;

std::string failure(const std::string& path, const std::string& reason) {
  return path + " could not be written: " + reason;
}

std::string reason_of(DWORD error) {
  std::string text = std::system_category().message(static_cast<int>(error));
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.')) {
    text.pop_back();
  }
  return text.empty() ? "unknown error" : text;
}

// The temporary being written, for the console's Ctrl+C and close handler,
// which runs on a thread of its own.
std::atomic<const wchar_t*> g_pending{nullptr};

BOOL WINAPI remove_pending(DWORD /*event*/) {
  if (const wchar_t* pending = g_pending.load()) {
    ::DeleteFileW(pending);
  }
  return FALSE;  // the default handler ends the process as before
}

// A temporary file beside the target, open for writing, removed again unless
// it is kept (renamed over the target).
class Temporary {
 public:
  explicit Temporary(const fs::path& target) {
    std::random_device device;
    std::mt19937_64 engine((static_cast<std::uint64_t>(device()) << 32) ^ device());
    for (int attempt = 0; attempt < 16; ++attempt) {
      wchar_t suffix[32];
      std::swprintf(suffix, 32, L".%016llx.tmp", static_cast<unsigned long long>(engine()));
      path_ = target;
      path_.replace_filename(L"." + target.filename().wstring().substr(0, 32) + suffix);
      handle_ = ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle_ != INVALID_HANDLE_VALUE) {
        g_pending.store(path_.c_str());
        return;
      }
      error_ = ::GetLastError();
      if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) {
        return;
      }
    }
  }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;
  ~Temporary() {
    close();
    if (!kept_) {
      ::DeleteFileW(path_.c_str());
    }
    g_pending.store(nullptr);
  }

  [[nodiscard]] bool open() const { return handle_ != INVALID_HANDLE_VALUE; }
  [[nodiscard]] DWORD error() const { return error_; }
  bool write(const char* data, std::size_t size) {
    while (size > 0) {
      const DWORD chunk = size > (1U << 30) ? (1U << 30) : static_cast<DWORD>(size);
      DWORD written = 0;
      if (!::WriteFile(handle_, data, chunk, &written, nullptr) || written == 0) {
        error_ = ::GetLastError();
        return false;
      }
      data += written;
      size -= written;
    }
    return true;
  }
  // Flushes and closes; false (with the reason in error()) when that failed.
  bool finish() {
    const bool flushed = ::FlushFileBuffers(handle_) != 0;
    if (!flushed) {
      error_ = ::GetLastError();
    }
    return close() && flushed;
  }
  bool replace(const fs::path& target) {
    if (!::MoveFileExW(path_.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      error_ = ::GetLastError();
      return false;
    }
    kept_ = true;
    return true;
  }

 private:
  bool close() {
    if (handle_ == INVALID_HANDLE_VALUE) {
      return true;
    }
    const bool closed = ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    if (!closed) {
      error_ = ::GetLastError();
    }
    return closed;
  }

  fs::path path_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  DWORD error_ = 0;
  bool kept_ = false;
};

// An output stream buffer over the temporary; it remembers a failed write.
class TemporaryBuffer : public std::streambuf {
 public:
  explicit TemporaryBuffer(Temporary& file) : file_(file) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
      return traits_type::not_eof(c);
    }
    const char byte = traits_type::to_char_type(c);
    return file_.write(&byte, 1) ? c : traits_type::eof();
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    return file_.write(s, static_cast<std::size_t>(n)) ? n : 0;
  }

 private:
  Temporary& file_;
};

using Fill = std::function<bool(Temporary&)>;

std::optional<std::string> replace_file(const std::string& path, const Fill& fill) {
  if (path.empty()) {
    return failure(path, "no file name");
  }
  std::error_code ec;
  fs::path target = utf8_path(path);
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) {
      target = resolved;
    }
  }
  if (!target.has_filename()) {
    return failure(path, "the name is a folder");
  }
  const fs::file_status existing = fs::status(target, ec);
  if (fs::is_directory(existing)) {
    return failure(path, "it is a folder");
  }
  if (fs::exists(existing) && !fs::is_regular_file(existing)) {
    return failure(path, "it is not a regular file");
  }
  // Windows never replaces a read-only file; Wine would, as its owner may.
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return failure(path, reason_of(ERROR_ACCESS_DENIED));
  }
  Temporary file(target);
  if (!file.open()) {
    return failure(path, reason_of(file.error()));
  }
  if (!fill(file) || !file.finish() || !file.replace(target)) {
    return failure(path, reason_of(file.error()));
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> write_file_atomically(const std::string& path, std::string_view bytes) {
  return replace_file(path,
                      [bytes](Temporary& file) { return file.write(bytes.data(), bytes.size()); });
}

std::optional<std::string> write_file_atomically(const std::string& path,
                                                 const std::function<void(std::ostream&)>& write) {
  return replace_file(path, [&write](Temporary& file) {
    TemporaryBuffer buffer(file);
    std::ostream out(&buffer);
    write(out);
    out.flush();
    return static_cast<bool>(out);
  });
}

void remove_temporaries_on_signals() { ::SetConsoleCtrlHandler(remove_pending, TRUE); }

namespace detail {
void allow_unnamed_temporaries(bool /*allowed*/) {}
}  // namespace detail

}  // namespace wandrix
