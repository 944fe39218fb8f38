// The session data file: the hills and the walk settings as a short text.
//
//   WANDRIX 1.0          magic word and version (the version is not checked)
//   <seed>               integer
//   <width>  <height>    integers (trunc); read as reals from 1 to 1e9
//   <start_x>  <start_y> integers from -1e9 to 1e9
//   <step_stddev>        reals with five decimals, never an exponent
//   <step_mean>
//   <n>                  hill count; 0 or below means no hills
// then for each hill an empty line, the label, and mean_x, mean_y, stddev_x,
// stddev_y, correlation, weight one per line.
//
// A label is one word on its line: every blank is written as '_' and every
// '_' reads back as a blank. So that a file always re-reads with the same
// hills, the writer also turns tabs and other white space into '_', writes an
// empty label as "_" (it reads back as a single blank) and keeps at most 255
// characters. The reader accepts CR LF line ends, trailing blanks and further
// words after a value or a label; it refuses anything it cannot read whole.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "model/hill.h"

namespace wandrix {

class Simulation;

inline constexpr const char* kNotADataFileText =
    "Data file does not appear to be an WANDRIX data file";
inline constexpr const char* kReadErrorCaption = "Error reading data file";
inline constexpr const char* kSessionSavedCaption = "Session saved in file:";
inline constexpr const char* kWriteErrorCaption = "Error writing data file";
inline constexpr std::size_t kMaxLabelLength = 255;

// Everything a session file holds, read and checked but not yet applied.
struct SessionData {
  std::int32_t rn_seed = 0;
  double width = 0.0;
  double height = 0.0;
  std::int32_t start_x = 0;
  std::int32_t start_y = 0;
  double step_stddev = 0.0;
  double step_mean = 0.0;
  std::vector<Hill> hills;  // relative weights not yet computed
};

// Why a file was refused. Only a file that begins with the magic word gets
// a line number and reason: anything else is simply not a session file.
struct SessionError {
  bool has_magic = false;
  int line = 0;
  std::string reason;

  // The text for the user: the refusal, then "Line N: reason" when known.
  [[nodiscard]] std::string message() const;
};

namespace session {

void write(std::ostream& out, const Simulation& sim);
// Reads a whole file into data and checks every value. Nothing outside data
// changes; data is complete only when no error is returned. Memory grows
// with the hills actually present, never with a count read from the file.
std::optional<SessionError> read(std::istream& in, SessionData& data);
// Replaces the stored settings and hills, reseeds the generator, recomputes
// the relative weights and follows the topography exactly when hills exist.
void apply(SessionData data, Simulation& sim);
// The label as its line in the file.
std::string label_line(const std::string& label);

}  // namespace session

// Reads the session in path into sim, all or nothing. On success the
// session's own data file becomes path.
std::optional<SessionError> load_session(Simulation& sim, const std::string& path);
// Writes the session to path through a temporary file; returns the error text.
std::optional<std::string> store_session(const Simulation& sim, const std::string& path);

// "Open..." once the file is chosen: the read (a refused file leaves the
// session as it was), then the clear and full redraw that follow the command
// either way. Returns why the file was refused; the window shows it in the
// error box first (show_error), wandrix-cli reports it in its own words.
std::optional<SessionError> open_chosen_session(Simulation& sim, const std::string& path,
                                                bool show_error = true);
// "Open...": the chooser, then the above; cancelled, only the clear and redraw.
void open_session(Simulation& sim);
// "&Save": silently rewrites the session's own data file; without one it is
// "Save &As...". A file that cannot be written is reported.
void save_session(Simulation& sim);
// "Save &As...": the chooser, the write, then the confirmation or the error.
void save_session_as(Simulation& sim);

}  // namespace wandrix
