#include "files/landscape_file.h"

#include <charconv>
#include <cmath>
#include <ostream>
#include <sstream>
#include <system_error>

#include "files/atomic_file.h"
#include "files/file_chooser.h"
#include "model/fixed_text.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

// More values than a positive extent ever gives (101 or 102).
constexpr std::size_t kMaxGridValues = 202;

}  // namespace

std::vector<double> grid_values(double extent) {
  const double step = extent * 0.01;
  if (!(step > 0.0)) {
    return {0.0};  // a step that would never advance
  }
  std::vector<double> values;
  for (double t = 0.0; t <= extent && values.size() < kMaxGridValues; t = t + step) {
    values.push_back(t);
  }
  return values;
}

std::string table_number(double value) {
  constexpr std::size_t kField = 20;
  const std::string text = format_fixed(value, 12);
  std::string padded(text.size() < kField ? kField - text.size() : 0, ' ');
  padded += text;
  return padded;
}

void write_landscape(std::ostream& out, const Simulation& sim) {
  const std::vector<double> xs = grid_values(sim.width);
  const std::vector<double> ys = grid_values(sim.height);
  // Chain 1 is never heated, so its heights are the hills' own.
  const Landscape landscape = sim.landscape();
  std::string line;
  for (double x : xs) {
    line += '\t';
    line += table_number(x);
  }
  out << line << '\n';
  for (double y : ys) {
    line = table_number(y);
    for (double x : xs) {
      line += '\t';
      line += table_number(landscape.hills_sum(1, x, y));
    }
    out << line << '\n';
  }
  out << '\n';
  out.flush();
}

std::optional<std::string> store_landscape(const Simulation& sim, const std::string& path) {
  std::ostringstream text;
  write_landscape(text, sim);
  return write_file_atomically(path, text.str());
}

void save_landscape(Simulation& sim) {
  const auto store = [&sim](const std::string& path) { return store_landscape(sim, path); };
  if (!save_chosen_file(sim, FileKind::text, store, kLandscapeErrorCaption)) {
    return;
  }
  sim.host().message_box(sim.file_name, kLandscapeSavedCaption);
}

}  // namespace wandrix
