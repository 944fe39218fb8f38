// Settings by name, as typed: the robot options and the refusing walls, each
// checked against the dialogs' limits. wandrix-cli's "set" and the lessons
// change the model through this one table, so a value means the same thing
// wherever it comes from.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/limits.h"

namespace wandrix {

class Simulation;

// What went wrong, in a few words; nothing on success.
using Problem = std::optional<std::string>;

// A whole number within the limits, as typed.
Problem integer_in(const std::string& text, Limits<std::int32_t> limits, std::int32_t& target);
// A plain decimal number (no exponent) within the limits.
Problem real_in(const std::string& text, Limits<double> limits, double& target);
// "0" or "1".
Problem boolean_in(const std::string& text, bool& target);

// The names set_option knows, in the order the robot options dialog shows
// them, the refusing walls last.
std::span<const std::string_view> option_names();

// Changes one setting, then follows the robot options dialog's sequence (a
// new seed clears the walks). On a problem nothing changes; the problem
// names the setting.
Problem set_option(Simulation& sim, std::string_view name, const std::string& text);

}  // namespace wandrix
