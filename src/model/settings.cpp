#include "model/settings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "model/fixed_text.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

std::optional<std::int64_t> parse_integer(const std::string& text) {
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> parse_real(const std::string& text) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = read_double(text, value, std::chars_format::fixed);
  if (ec != std::errc() || ptr != end || text.empty() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

constexpr std::array<std::string_view, 11> kOptionNames{
    "nsteps",  "dot_radius",  "show_trajectory", "allow_rotation", "ignore_topography", "start_x",
    "start_y", "step_stddev", "step_mean",       "rn_seed",        "reject_at_walls"};

// Reads one setting of option_names() into the model; nothing else
// follows.
Problem store_option(Simulation& sim, std::string_view name, const std::string& text) {
  namespace limits = robot_limits;
  if (name == "nsteps") {
    return integer_in(text, limits::kSteps, sim.nsteps);
  }
  if (name == "dot_radius") {
    return integer_in(text, limits::kDotRadius, sim.dot_radius);
  }
  if (name == "show_trajectory") {
    return boolean_in(text, sim.show_trajectory);
  }
  if (name == "allow_rotation") {
    return boolean_in(text, sim.allow_rotation);
  }
  if (name == "ignore_topography") {
    return boolean_in(text, sim.ignore_topography);
  }
  if (name == "reject_at_walls") {
    return boolean_in(text, sim.reject_at_walls);
  }
  if (name == "start_x") {
    return integer_in(text, {0, limits::start_max(sim.width)}, sim.start_x);
  }
  if (name == "start_y") {
    return integer_in(text, {0, limits::start_max(sim.height)}, sim.start_y);
  }
  if (name == "step_stddev") {
    return real_in(text, limits::kStepStddev, sim.step_stddev);
  }
  if (name == "step_mean") {
    return real_in(text, limits::kStepMean, sim.step_mean);
  }
  if (name == "rn_seed") {
    return integer_in(text, limits::kSeed, sim.rn_seed);
  }
  return std::nullopt;
}

}  // namespace

Problem integer_in(const std::string& text, Limits<std::int32_t> limits, std::int32_t& target) {
  const auto [low, high] = limits;
  const auto value = parse_integer(text);
  if (!value) {
    return "'" + text + "' is not a whole number";
  }
  if (*value < low || *value > high) {
    return text + " is outside " + std::to_string(low) + " to " + std::to_string(high);
  }
  target = static_cast<std::int32_t>(*value);
  return std::nullopt;
}

Problem real_in(const std::string& text, Limits<double> limits, double& target) {
  const auto [low, high] = limits;
  const auto value = parse_real(text);
  if (!value) {
    return "'" + text + "' is not a plain decimal number";
  }
  if (*value < low || *value > high) {
    char range[64];
    std::snprintf(range, sizeof range, "%g to %g", low, high);
    return text + " is outside " + range;
  }
  target = *value;
  return std::nullopt;
}

Problem boolean_in(const std::string& text, bool& target) {
  if (text != "0" && text != "1") {
    return "'" + text + "' is not 0 or 1";
  }
  target = text == "1";
  return std::nullopt;
}

std::span<const std::string_view> option_names() { return kOptionNames; }

Problem set_option(Simulation& sim, std::string_view name, const std::string& text) {
  const bool old_rotation = sim.allow_rotation;
  const std::int32_t old_seed = sim.rn_seed;
  if (std::find(kOptionNames.begin(), kOptionNames.end(), name) == kOptionNames.end()) {
    return "unknown option '" + std::string(name) + "'";
  }
  if (Problem problem = store_option(sim, name, text)) {
    return std::string(name) + ": " + *problem;
  }
  sim.after_robot_options(old_rotation, old_seed);
  return std::nullopt;
}

}  // namespace wandrix
