// The acceptance counts of the walk as the user reads them.
#pragma once

#include <string>

namespace wandrix {

class Simulation;

// "Steps walked: N", one line "Chain K: A of T moves accepted (P%)" for each
// chain in use, and with two chains or more "Exchanges: A of T accepted
// (P%)"; lines end in a line feed.
std::string rates_text(const Simulation& sim);

}  // namespace wandrix
