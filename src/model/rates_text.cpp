#include "model/rates_text.h"

#include "model/fixed_text.h"
#include "model/simulation.h"

namespace wandrix {

namespace {

std::string accepted_text(const AcceptCount& count) {
  return std::to_string(count.accepted) + " of " + std::to_string(count.taken);
}

std::string percent_of(const AcceptCount& count) {
  return " (" + percent_text(count.accepted, count.taken) + "%)\n";
}

}  // namespace

std::string rates_text(const Simulation& sim) {
  std::string text = "Steps walked: " + std::to_string(sim.steps_done) + "\n";
  for (int k = 1; k <= sim.nchains; ++k) {
    const AcceptCount& moves = sim.rates.moves[static_cast<std::size_t>(k - 1)];
    text += "Chain " + std::to_string(k) + ": " + accepted_text(moves) + " moves accepted" +
            percent_of(moves);
  }
  if (sim.nchains > 1) {
    text += "Exchanges: " + accepted_text(sim.rates.exchanges) + " accepted" +
            percent_of(sim.rates.exchanges);
  }
  return text;
}

}  // namespace wandrix
