// wandrix-cli's actions: one session, driven by a list of words from the
// command line, each action acting on the model as the menu command or the
// dialog change it names would.
#pragma once

#include <chrono>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "model/simulation.h"

namespace wandrix::cli {

// Exit status of a run whose arguments were bad or whose action failed.
inline constexpr int kUsageError = 2;

// Resets the session as wandrix-cli starts it: the program's defaults, no
// window rescale, and the generator reseeded from rn_seed.
void prepare_session(Simulation& sim);

// Runs the actions left to right. On the first failure (running out of
// memory included) prints one line naming the action and the problem to err
// and returns kUsageError; nothing is written after the failing action. What
// the model would tell in a message box (a walk that ran out of memory and
// kept what it recorded) is one line on err, the later actions still run and
// the status is kUsageError. Returns 0 when every action succeeded and
// everything reached out. With progress_after, a walk that has taken longer
// shows how far it has come in one line on err, rewritten in place (for a
// terminal), and erased when the walk ends. The lesson action looks for a
// lesson by name in lesson_folders.
int run_actions(const std::vector<std::string>& words, Simulation& sim, std::ostream& out,
                std::ostream& err,
                std::optional<std::chrono::milliseconds> progress_after = std::nullopt,
                const std::vector<std::string>& lesson_folders = {});

// How long a walk runs before a terminal is shown its progress.
inline constexpr std::chrono::milliseconds kProgressAfter{300};

std::string usage_text();

}  // namespace wandrix::cli
