// The lesson reader on arbitrary bytes: it must never crash or hang, and a
// lesson it accepts is applied all or nothing, to a session that a lesson
// beside it names, whatever values its options hold.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <variant>

#include "lessons/lesson.h"
#include "model/simulation.h"

namespace {

// One valid session in a folder of its own, as the lesson's neighbour.
const std::string& folder() {
  static const std::string path = [] {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "wandrix-lesson-fuzz";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "s.dat") << "WANDRIX 1.0\n7\n400 300\n150 150\n10.0\n2.0\n1\n\n"
                                    "Hill\n200\n150\n60\n40\n0.5\n1\n";
    return dir.string();
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  wandrix::LessonRead read = wandrix::parse_lesson(text, "fuzz", folder());
  auto* lesson = std::get_if<wandrix::Lesson>(&read);
  if (lesson == nullptr) {
    return 0;
  }
  (void)lesson->first_sentence();
  lesson->session = "s.dat";
  wandrix::Simulation sim;
  const std::int32_t seed_before = sim.rn_seed;
  if (wandrix::apply_lesson(sim, *lesson)) {
    if (sim.rn_seed != seed_before || !sim.hills.empty()) {
      __builtin_trap();  // a refused lesson changed the session
    }
  } else if (sim.rn_seed != lesson->seed || sim.nchains != lesson->chains) {
    __builtin_trap();  // an applied lesson is not what it says
  }
  return 0;
}
