// Wandrix for Windows: watch Markov chain Monte Carlo walk over a landscape
// of hills.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "model/simulation.h"
#include "windows/dialogs.h"
#include "windows/main_window.h"
#include "windows/wide_text.h"

namespace {

std::vector<std::string> arguments() {
  int count = 0;
  LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 1; i < count; ++i) {
    result.push_back(wandrix::windows::narrow(words[i]));
  }
  ::LocalFree(words);
  return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int /*show*/) {
  // A window program has no console to print to: help, version and a
  // mistaken command line are shown in a box.
  const wandrix::CommandLine line = wandrix::parse_command_line(arguments());
  switch (line.action) {
    case wandrix::CommandLineAction::help:
      wandrix::windows::show_message_box(nullptr, wandrix::command_line_usage(), "Wandrix");
      return 0;
    case wandrix::CommandLineAction::version:
      wandrix::windows::show_message_box(nullptr, wandrix::command_line_version(), "Wandrix");
      return 0;
    case wandrix::CommandLineAction::error:
      wandrix::windows::show_message_box(nullptr, line.message, "Wandrix");
      return wandrix::kCommandLineError;
    case wandrix::CommandLineAction::run:
      break;
  }
  wandrix::Simulation sim;
  wandrix::windows::MainWindow window(sim);
  if (!window.create()) {
    return 1;
  }
  if (!line.file.empty() || !line.lesson.empty()) {
    window.open_at_start(line.file, line.lesson);
  }
  return window.run();
}
