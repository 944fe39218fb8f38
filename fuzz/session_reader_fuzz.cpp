// The session reader on arbitrary bytes: it must never crash, hang or
// allocate by a number it read, and whatever it accepts must write back and
// re-read to the very same file.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "files/session_file.h"
#include "model/simulation.h"
#include "model/summary.h"

namespace {

std::string written(const wandrix::Simulation& sim) {
  std::ostringstream out;
  wandrix::session::write(out, sim);
  return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  wandrix::SessionData parsed;
  if (const auto error = wandrix::session::read(in, parsed)) {
    (void)error->message();
    return 0;
  }
  const std::size_t hills = parsed.hills.size();
  wandrix::Simulation sim;
  wandrix::session::apply(std::move(parsed), sim);
  const std::string first = written(sim);

  std::istringstream again(first);
  wandrix::SessionData reread;
  if (wandrix::session::read(again, reread)) {
    __builtin_trap();  // a file we wrote is refused
  }
  wandrix::Simulation copy;
  wandrix::session::apply(std::move(reread), copy);
  if (copy.hills.size() != hills || written(copy) != first) {
    __builtin_trap();  // the file does not read back to the same values
  }
  // The summary over the loaded hills must cope with any values they hold.
  copy.chains[0].start(copy.start_x, copy.start_y);
  copy.chains[0].record(copy.width / 2.0, copy.height / 3.0, 0.0);
  (void)wandrix::summary_text(wandrix::summary_counts(copy));
  return 0;
}
