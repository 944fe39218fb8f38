// The web tests' native reference for the page's diagnostics panel: the
// diagnostics picture at the panel's size, after wandrix-cli's actions.
//   wandrix-diagnostics-at WIDTH HEIGHT FILE.png ACTION...
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/actions.h"
#include "png/png_encoder.h"
#include "view/diagnostics.h"
#include "view/raster_canvas.h"

int main(int argc, char** argv) {
  const int width = argc > 3 ? std::atoi(argv[1]) : 0;
  const int height = argc > 3 ? std::atoi(argv[2]) : 0;
  if (width <= 0 || height <= 0) {
    std::cerr << "usage: wandrix-diagnostics-at WIDTH HEIGHT FILE.png ACTION...\n";
    return wandrix::cli::kUsageError;
  }
  wandrix::Simulation sim;
  wandrix::cli::prepare_session(sim);
  const std::vector<std::string> actions(argv + 4, argv + argc);
  if (const int status = wandrix::cli::run_actions(actions, sim, std::cout, std::cerr)) {
    return status;
  }
  wandrix::RasterCanvas canvas(width, height);
  wandrix::draw_diagnostics(sim, canvas, wandrix::Rect{0, 0, width, height});
  const auto png = wandrix::encode_png(canvas.pixels(), width, height);
  std::ofstream out(argv[3], std::ios::binary);
  if (png) {
    out.write(reinterpret_cast<const char*>(png->data()),
              static_cast<std::streamsize>(png->size()));
  }
  if (!png || !out.flush()) {
    std::cerr << argv[3] << " could not be written\n";
    return wandrix::cli::kUsageError;
  }
  return 0;
}
