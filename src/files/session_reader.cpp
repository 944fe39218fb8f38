// Reading a session file: token by token as the format allows, every value
// checked before the caller changes anything.
#include <charconv>
#include <cmath>
#include <istream>
#include <limits>
#include <string_view>
#include <system_error>

#include "files/session_file.h"
#include "model/fixed_text.h"

namespace wandrix::session {
namespace {

// A word longer than this is no value the format holds: the longest real
// the writer produces has some 320 characters.
constexpr std::size_t kMaxWord = 400;
// Sizes and start coordinates are turned into 32-bit client pixels, as
// trunc(height) - y among others: within these bounds that never overflows.
// No window comes near them.
constexpr double kMaxExtent = 1e9;
constexpr std::int32_t kMaxStart = 1000000000;

bool is_space(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// White-space-delimited words of a stream, with the line each stands on.
class Scanner {
 public:
  explicit Scanner(std::istream& in) : buffer_(in.rdbuf()) {}

  enum class Word { ok, end, too_long };

  Word next(std::string& word) {
    word.clear();
    at_line_end_ = false;
    int c = get();
    while (c != eof() && is_space(c)) {
      c = get();
    }
    if (c == eof()) {
      // The end is reported on the last line that holds anything.
      line_of_word_ = line_ > 1 && last_was_newline_ ? line_ - 1 : line_;
      return Word::end;
    }
    line_of_word_ = line_;
    while (c != eof() && !is_space(c)) {
      if (word.size() == kMaxWord) {
        return Word::too_long;
      }
      word.push_back(static_cast<char>(c));
      c = get();
    }
    at_line_end_ = c == '\n' || c == eof();
    return Word::ok;
  }

  // Discards the rest of the line the last word stood on.
  void skip_line() {
    if (at_line_end_) {
      at_line_end_ = false;
      return;
    }
    int c = get();
    while (c != eof() && c != '\n') {
      c = get();
    }
  }

  // The line of the last word, or where the file ended.
  [[nodiscard]] int line() const { return line_of_word_; }

 private:
  static int eof() { return std::char_traits<char>::eof(); }
  int get() {
    const int c = buffer_ == nullptr ? eof() : buffer_->sbumpc();
    if (c == '\n' && line_ < std::numeric_limits<int>::max()) {
      ++line_;
    }
    if (c != eof()) {
      last_was_newline_ = c == '\n';
    }
    return c;
  }

  std::streambuf* buffer_;
  int line_ = 1;
  int line_of_word_ = 1;
  bool at_line_end_ = false;
  bool last_was_newline_ = false;
};

class Reader {
 public:
  explicit Reader(std::istream& in) : scanner_(in) {}

  std::optional<SessionError> read(SessionData& data);

 private:
  // Each reads the next word as one value named `what`; false on a problem,
  // which error_ then describes.
  bool word(const std::string& what);
  bool integer(const std::string& what, std::int32_t& value);
  // leading: the value is the number the word begins with, as a hill line
  // holds it; the rest of the line is the caller's to discard.
  bool real(const std::string& what, double& value, bool leading = false);
  bool extent(const std::string& what, double& value);
  bool start(const std::string& what, std::int32_t& value);
  bool hill(int number, Hill& hill);
  // The offending word as the message quotes it: long words are shortened.
  [[nodiscard]] std::string shown() const {
    return word_.size() <= 40 ? word_ : word_.substr(0, 37) + "...";
  }
  bool fail(std::string reason) {
    error_ = SessionError{true, scanner_.line(), std::move(reason)};
    return false;
  }

  Scanner scanner_;
  std::string word_;
  SessionError error_;
};

bool Reader::word(const std::string& what) {
  switch (scanner_.next(word_)) {
    case Scanner::Word::ok:
      return true;
    case Scanner::Word::end:
      return fail("the file ends before the " + what);
    case Scanner::Word::too_long:
      return fail(what + ": the value is too long");
  }
  return false;
}

// A leading '+' is accepted as a stream extraction would accept it.
std::string_view unsigned_part(const std::string& text) {
  std::string_view view(text);
  if (view.size() > 1 && view[0] == '+' && view[1] != '-') {
    view.remove_prefix(1);
  }
  return view;
}

bool Reader::integer(const std::string& what, std::int32_t& value) {
  if (!word(what)) {
    return false;
  }
  const std::string_view text = unsigned_part(word_);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) {
    return fail(what + ": " + shown() + " is out of range");
  }
  if (ec != std::errc() || end != text.data() + text.size()) {
    return fail(what + ": '" + shown() + "' is not a whole number");
  }
  return true;
}

bool Reader::real(const std::string& what, double& value, bool leading) {
  if (!word(what)) {
    return false;
  }
  const std::string_view text = unsigned_part(word_);
  const auto [end, ec] = read_double(text, value);
  if (ec == std::errc::result_out_of_range) {
    return fail(what + ": " + shown() + " is out of range");
  }
  if (ec != std::errc() || (!leading && end != text.data() + text.size())) {
    return fail(what + ": '" + shown() + "' is not a number");
  }
  if (!std::isfinite(value)) {
    return fail(what + ": " + shown() + " is not a finite number");
  }
  return true;
}

bool Reader::extent(const std::string& what, double& value) {
  if (!real(what, value)) {
    return false;
  }
  if (!(value >= 1.0)) {
    return fail(what + ": " + shown() + " is less than 1");
  }
  if (value > kMaxExtent) {
    return fail(what + ": " + shown() + " is too large");
  }
  return true;
}

bool Reader::start(const std::string& what, std::int32_t& value) {
  if (!integer(what, value)) {
    return false;
  }
  if (value < -kMaxStart || value > kMaxStart) {
    return fail(what + ": " + shown() + " is too far outside the landscape");
  }
  return true;
}

bool Reader::hill(int number, Hill& hill) {
  const std::string of = " of hill " + std::to_string(number);
  if (!word("label" + of)) {
    return false;
  }
  if (word_.size() > kMaxLabelLength) {
    return fail("label" + of + ": longer than 255 characters");
  }
  hill.label = word_;
  for (char& c : hill.label) {
    if (c == '_') {
      c = ' ';
    }
  }
  scanner_.skip_line();
  const std::pair<const char*, double*> fields[] = {
      {"mean_x", &hill.mean_x},           {"mean_y", &hill.mean_y},
      {"stddev_x", &hill.stddev_x},       {"stddev_y", &hill.stddev_y},
      {"correlation", &hill.correlation}, {"weight", &hill.weight}};
  for (const auto& [name, target] : fields) {
    if (!real(name + of, *target, true)) {
      return false;
    }
    scanner_.skip_line();
  }
  return true;
}

std::optional<SessionError> Reader::read(SessionData& data) {
  if (scanner_.next(word_) != Scanner::Word::ok || word_ != "WANDRIX") {
    return SessionError{};
  }
  double version = 0.0;
  std::int32_t count = 0;
  const bool ok = real("version", version) && integer("seed", data.rn_seed) &&
                  extent("width", data.width) && extent("height", data.height) &&
                  start("start_x", data.start_x) && start("start_y", data.start_y) &&
                  real("step_stddev", data.step_stddev) && real("step_mean", data.step_mean) &&
                  integer("hill count", count);
  if (!ok) {
    return error_;
  }
  data.hills.clear();
  for (std::int32_t k = 1; k <= count; ++k) {
    Hill one;
    if (!hill(k, one)) {
      return error_;
    }
    data.hills.push_back(std::move(one));
  }
  return std::nullopt;
}

}  // namespace

std::optional<SessionError> read(std::istream& in, SessionData& data) {
  return Reader(in).read(data);
}

}  // namespace wandrix::session
