#include "cli/actions.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <new>
#include <optional>
#include <ostream>
#include <span>
#include <string_view>

#include "files/atomic_file.h"
#include "files/landscape_file.h"
#include "files/session_file.h"
#include "lessons/lesson.h"
#include "model/fixed_text.h"
#include "model/limits.h"
#include "model/marginals.h"
#include "model/rates_text.h"
#include "model/settings.h"
#include "model/summary.h"
#include "png/png_encoder.h"
#include "view/diagnostics.h"
#include "view/paint.h"
#include "view/picture_export.h"

namespace wandrix::cli {
namespace {

using Args = std::span<const std::string>;

// What an action needs besides the session.
struct Context {
  Simulation& sim;
  std::ostream& out;
  const std::vector<std::string>& lesson_folders;
};

// The host of a session without a window: what the model would show in a
// message box (a walk that ran out of memory) goes to standard error as one
// line naming the action, once for each different message, and makes the
// run's status 2 while the later actions still run.
class CliHost : public Host {
 public:
  CliHost(std::ostream& err, std::optional<std::chrono::milliseconds> progress_after)
      : err_(err), progress_after_(progress_after) {}
  void set_action(std::string_view name) { action_ = name; }
  [[nodiscard]] bool told() const { return !told_.empty(); }

  void message_box(const std::string& text, const std::string& caption) override {
    std::string line = caption + ": " + text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    if (std::find(told_.begin(), told_.end(), line) != told_.end()) {
      return;
    }
    err_ << "wandrix-cli: " << action_ << ": " << line << "\n";
    told_.push_back(std::move(line));
  }

  // One line, written over and over, once a walk has taken a moment; gone
  // when the walk ends.
  void walk_progress(std::int64_t done, std::int64_t total, bool finished) override {
    if (!progress_after_) {
      return;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point now = Clock::now();
    if (done == 0 && !finished) {
      walk_began_ = now;
    }
    if (finished) {
      if (line_shown_) {
        err_ << '\r' << std::string(line_shown_, ' ') << '\r' << std::flush;
        line_shown_ = 0;
      }
      return;
    }
    const std::chrono::duration<double> elapsed = now - walk_began_;
    if (elapsed < *progress_after_) {
      return;
    }
    const std::string line = "wandrix-cli: " + action_ + ": " + std::to_string(done) + " of " +
                             std::to_string(total) + " steps (" + percent_text(done, total) +
                             "%), " + format_fixed(elapsed.count(), 1) + " s";
    const std::size_t padding = line_shown_ > line.size() ? line_shown_ - line.size() : 0;
    err_ << '\r' << line << std::string(padding, ' ') << std::flush;
    line_shown_ = line.size() + padding;
  }

 private:
  std::ostream& err_;
  std::optional<std::chrono::milliseconds> progress_after_;
  std::string action_;
  std::vector<std::string> told_;
  std::chrono::steady_clock::time_point walk_began_;
  std::size_t line_shown_ = 0;
};

// Standard output is checked after its flush: a full disk shows only then.
Problem flushed(std::ostream& out) {
  out.flush();
  return out ? Problem{} : Problem{"standard output could not be written"};
}

struct Action {
  std::string_view name;
  int arg_count;
  std::string_view arg_names;
  std::function<Problem(Context&, Args)> run;
};

Problem set(Context& c, Args args) { return set_option(c.sim, args[0], args[1]); }

// The hill dialog's limits apply (the one spread of the dialog stands for
// both), so that no hill from the command line is beyond double precision.
Problem add_hill(Context& c, Args args) {
  const Simulation& sim = c.sim;
  Hill hill;
  hill.label = args[0];
  namespace limits = hill_limits;
  struct Field {
    const char* name;
    Limits<double> limits;
    double* target;
  };
  const Field fields[] = {{"MX", limits::on_landscape(sim.width), &hill.mean_x},
                          {"MY", limits::on_landscape(sim.height), &hill.mean_y},
                          {"SDX", limits::on_landscape(sim.width), &hill.stddev_x},
                          {"SDY", limits::on_landscape(sim.width), &hill.stddev_y},
                          {"RHO", limits::kCorrelation, &hill.correlation},
                          {"WEIGHT", limits::kWeight, &hill.weight}};
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    const Field& f = fields[i];
    if (auto problem = real_in(args[i + 1], f.limits, *f.target)) {
      return std::string(f.name) + ": " + *problem;
    }
  }
  c.sim.add_confirmed_hill(std::move(hill));
  return std::nullopt;
}

Problem resize(Context& c, Args args) {
  std::int32_t w = 0;
  std::int32_t h = 0;
  if (auto problem = integer_in(args[0], {1, 100000}, w)) {
    return "width " + *problem;
  }
  if (auto problem = integer_in(args[1], {1, 100000}, h)) {
    return "height " + *problem;
  }
  c.sim.rescale(w, h);
  return std::nullopt;
}

void write_samples_csv(const Simulation& sim, std::ostream& out) {
  out << "chain,sample,x,y,z\n";
  std::string line;
  char buffer[32];
  for (int k = 1; k <= sim.nchains; ++k) {
    const Chain& chain = sim.chains[static_cast<std::size_t>(k - 1)];
    const bool heights = chain.zs.size() == chain.xs.size();
    for (std::size_t i = 0; i < chain.xs.size(); ++i) {
      line.clear();
      line += std::to_string(k);
      line += ',';
      line += std::to_string(i);
      line += ',';
      line += std::to_string(chain.xs[i]);
      line += ',';
      line += std::to_string(chain.ys[i]);
      line += ',';
      if (heights) {
        std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(chain.zs[i]));
        line += buffer;
      }
      line += '\n';
      out << line;
    }
  }
}

// A CSV table to standard output for "-", else to the file.
Problem write_table(Context& c, const std::string& path,
                    void (*write)(const Simulation&, std::ostream&)) {
  if (path == "-") {
    write(c.sim, c.out);
    return flushed(c.out);
  }
  // Through a temporary file like every other file, so a failed write
  // leaves the previous table whole.
  return write_file_atomically(path, [&c, write](std::ostream& out) { write(c.sim, out); });
}

Problem samples(Context& c, Args args) { return write_table(c, args[0], write_samples_csv); }

Problem marginals(Context& c, Args args) { return write_table(c, args[0], write_marginals_csv); }

// "Open..." on the file, including the clear that always follows it.
Problem open_file(Context& c, Args args) {
  // A refused file ends the run, so the clear that follows it shows nowhere.
  if (const auto error = open_chosen_session(c.sim, args[0], false)) {
    std::string message = error->message();
    std::replace(message.begin(), message.end(), '\n', ' ');
    return args[0] + ": " + message;
  }
  c.sim.file_name = args[0];
  return std::nullopt;
}

// A lesson by name or path: its session opened as open does, its settings
// applied.
Problem lesson(Context& c, Args args) {
  const LessonRead read = find_lesson(args[0], c.lesson_folders);
  if (const auto* problem = std::get_if<std::string>(&read)) {
    return *problem;
  }
  return apply_lesson(c.sim, std::get<Lesson>(read));
}

// A file the session writes, as its menu command does once the file is
// chosen, without the confirmation.
Problem store_as(Context& c, const std::string& path,
                 std::optional<std::string> (*store)(const Simulation&, const std::string&)) {
  if (auto error = store(c.sim, path)) {
    return error;
  }
  c.sim.file_name = path;
  return std::nullopt;
}

// "Save As...": the file becomes the session's own.
Problem save_file(Context& c, Args args) {
  if (auto error = store_as(c, args[0], store_session)) {
    return error;
  }
  c.sim.session_file = args[0];
  return std::nullopt;
}

Problem landscape(Context& c, Args args) { return store_as(c, args[0], store_landscape); }

Problem summary(Context& c, Args) {
  c.out << summary_text(summary_counts(c.sim)) << '\n';
  return flushed(c.out);
}

Problem rates(Context& c, Args) {
  c.out << rates_text(c.sim);
  return flushed(c.out);
}

Problem picture_format_problem(const std::string& path) {
  if (!picture_format_of(path)) {
    return "'" + path + "' does not end in .emf, .svg or .png";
  }
  return std::nullopt;
}

// The exported picture of a client area of the landscape's size.
Problem picture(Context& c, Args args) {
  if (auto problem = picture_format_problem(args[0])) {
    return problem;
  }
  return write_picture_file(c.sim, args[0], client_rect(c.sim), &encode_png);
}

// The diagnostics picture at its export size.
Problem diagnostics(Context& c, Args args) {
  if (auto problem = picture_format_problem(args[0])) {
    return problem;
  }
  return write_diagnostics_file(c.sim, args[0], &encode_png);
}

// Chain 1's effective sample sizes, as the diagnostics picture names them.
Problem effective_sizes(Context& c, Args) {
  const auto [along_x, along_y] = chain_dependence(c.sim);
  const std::size_t n = c.sim.chains[0].sample_count();
  c.out << "Chain 1: " << n << (n == 1 ? " sample\n" : " samples\n")
        << "Effective sample size of x: " << effective_size_text(along_x.size) << '\n'
        << "Effective sample size of y: " << effective_size_text(along_y.size) << '\n';
  return flushed(c.out);
}

// An action without arguments: one operation of the session, as the menu
// command of that name runs it.
Action session_operation(std::string_view name, void (Simulation::*operation)()) {
  return {name, 0, "", [operation](Context& c, Args) {
            (c.sim.*operation)();
            return Problem{};
          }};
}

// An action on a chain number from low to kMaxChains: the Chains and Show
// menus.
Action chain_operation(std::string_view name, std::string_view arg_name, std::int32_t low,
                       void (Simulation::*operation)(int)) {
  return {name, 1, arg_name, [=](Context& c, Args args) -> Problem {
            std::int32_t k = 0;
            if (auto problem = integer_in(args[0], {low, kMaxChains}, k)) {
              return problem;
            }
            (c.sim.*operation)(k);
            return std::nullopt;
          }};
}

const std::vector<Action>& actions() {
  static const std::vector<Action> table = {
      {"open", 1, "FILE", open_file},
      {"lesson", 1, "NAME", lesson},
      {"save", 1, "FILE", save_file},
      {"set", 2, "NAME VALUE", set},
      {"hill", 7, "LABEL MX MY SDX SDY RHO WEIGHT", add_hill},
      chain_operation("chains", "N", 1, &Simulation::change_chain_count),
      chain_operation("show", "K", 0, &Simulation::show_chain),
      {"resize", 2, "W H", resize},
      session_operation("start", &Simulation::start_walking),
      session_operation("continue", &Simulation::continue_walking),
      session_operation("clear", &Simulation::clear_and_redraw),
      session_operation("rotate", &Simulation::toggle_rotation),
      session_operation("density", &Simulation::toggle_density_view),
      {"summary", 0, "", summary},
      {"rates", 0, "", rates},
      {"ess", 0, "", effective_sizes},
      {"samples", 1, "FILE", samples},
      {"landscape", 1, "FILE", landscape},
      {"picture", 1, "FILE", picture},
      {"diagnostics", 1, "FILE", diagnostics},
      {"marginals", 1, "FILE", marginals},
  };
  return table;
}

const Action* find_action(std::string_view name) {
  for (const Action& action : actions()) {
    if (action.name == name) {
      return &action;
    }
  }
  return nullptr;
}

// Runs one action; an allocation failure is its problem like any other.
Problem run_action(const Action& action, Context& context, Args args) {
  try {
    return action.run(context, args);
  } catch (const std::bad_alloc&) {
    return "out of memory";
  }
}

// Runs the actions with the host in place; the status they end with.
int run_all(const std::vector<std::string>& words, Context& context, CliHost& host,
            std::ostream& err) {
  std::size_t i = 0;
  while (i < words.size()) {
    const std::string& name = words[i];
    const Action* action = find_action(name);
    if (action == nullptr) {
      err << "wandrix-cli: unknown action '" << name << "'\n";
      return kUsageError;
    }
    const auto count = static_cast<std::size_t>(action->arg_count);
    if (words.size() - i - 1 < count) {
      err << "wandrix-cli: " << name << ": expects " << action->arg_names << "\n";
      return kUsageError;
    }
    const Args args(words.data() + i + 1, count);
    host.set_action(name);
    if (const Problem problem = run_action(*action, context, args)) {
      err << "wandrix-cli: " << name << ": " << *problem << "\n";
      return kUsageError;
    }
    i += 1 + count;
  }
  if (flushed(context.out)) {
    err << "wandrix-cli: standard output could not be written\n";
    return kUsageError;
  }
  return host.told() ? kUsageError : 0;
}

}  // namespace

void prepare_session(Simulation& sim) { sim.clear(); }

int run_actions(const std::vector<std::string>& words, Simulation& sim, std::ostream& out,
                std::ostream& err, std::optional<std::chrono::milliseconds> progress_after,
                const std::vector<std::string>& lesson_folders) {
  Context context{sim, out, lesson_folders};
  CliHost host(err, progress_after);
  Host& previous = sim.host();
  sim.set_host(host);
  const int status = run_all(words, context, host, err);
  sim.set_host(previous);
  return status;
}

std::string usage_text() {
  std::string text =
      "Usage: wandrix-cli ACTION [ARG...] [ACTION [ARG...]]...\n"
      "Runs one Wandrix session without a window, from the program's defaults\n"
      "(landscape 400 by 400, generator reseeded from rn_seed), actions left to right.\n\n"
      "Actions:\n";
  for (const Action& action : actions()) {
    text += "  ";
    text += action.name;
    if (!action.arg_names.empty()) {
      text += ' ';
      text += action.arg_names;
    }
    text += '\n';
  }
  text +=
      "\nOptions for set: nsteps, dot_radius, show_trajectory, allow_rotation,\n"
      "ignore_topography, start_x, start_y, step_stddev, step_mean, rn_seed,\n"
      "reject_at_walls (refuse a step whose straight end lies beyond the walls).\n"
      "Booleans are 0 or 1. For samples and marginals, FILE '-' is standard output.\n"
      "ess prints chain 1's effective sample sizes, as the diagnostics picture does.\n"
      "lesson NAME opens one of the lessons installed with Wandrix (or a lesson\n"
      "file, when NAME has a folder or ends in .json) and applies its settings.\n"
      "  --help     show this text\n"
      "  --version  show the version\n";
  return text;
}

}  // namespace wandrix::cli
