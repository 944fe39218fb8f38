// Ends the test's process after some seconds, so that a walk that would
// never end fails its death test instead of hanging it.
#pragma once

#ifdef _WIN32
#include <chrono>
#include <cstdlib>
#include <thread>
#else
#include <unistd.h>
#endif

namespace wandrix::testing {

inline void end_after(unsigned seconds) {
#ifdef _WIN32
  std::thread([seconds] {
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    std::_Exit(124);
  }).detach();
#else
  alarm(seconds);
#endif
}

}  // namespace wandrix::testing
