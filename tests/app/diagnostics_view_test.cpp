#include "app/diagnostics_view.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake_host.h"
#include "view/diagnostics.h"

namespace wandrix {
namespace {

using std::chrono::milliseconds;
using Clock = DiagnosticsView::Clock;
using testing::FakeHost;

// A clock that reads the times it is given, one per call.
class ScriptedClock {
 public:
  void push(Clock::time_point t) { times_.push_back(t); }
  Clock::time_point operator()() { return times_.at(next_++); }
  [[nodiscard]] std::size_t read() const { return next_; }

 private:
  std::vector<Clock::time_point> times_;
  std::size_t next_ = 0;
};

const Clock::time_point kT0 = Clock::time_point{} + std::chrono::hours(1);

class DiagnosticsViewTest : public ::testing::Test {
 protected:
  FakeHost host;
  Simulation sim{host};
  ScriptedClock clock;
  DiagnosticsView view{sim, [this] { return clock(); }};

  // A render whose drawing, if any, takes no time.
  bool render_at(int width, int height) {
    clock.push(kT0);
    clock.push(kT0);
    return view.render(width, height);
  }
  // A drawing that starts at start and takes duration.
  void draw_taking(Clock::time_point start, Clock::duration duration, int width = 320,
                   int height = 200) {
    clock.push(start);
    clock.push(start + duration);
    view.model_changed();
    ASSERT_TRUE(view.render(width, height));
  }
};

// The surface against the picture drawn afresh for the model as it is.
bool shows_current_model(const DiagnosticsView& view, int width, int height) {
  RasterCanvas expected(width, height);
  draw_diagnostics(view.simulation(), expected, Rect{0, 0, width, height});
  const RasterCanvas& shown = view.surface();
  return shown.width() == width && shown.height() == height &&
         std::equal(shown.pixels(), shown.pixels() + static_cast<std::size_t>(width) * height,
                    expected.pixels());
}

TEST_F(DiagnosticsViewTest, DrawsOnlyWhenTheModelOrTheSizeChanged) {
  EXPECT_TRUE(view.stale(320, 200));  // never drawn
  EXPECT_EQ(view.redraw_delay(kT0), milliseconds{0});
  EXPECT_TRUE(render_at(320, 200));
  EXPECT_TRUE(shows_current_model(view, 320, 200));
  EXPECT_FALSE(view.stale(320, 200));
  EXPECT_FALSE(view.render(320, 200));
  EXPECT_EQ(clock.read(), 2u);  // a render that does not draw is not timed

  // Another size: drawn again at that size, though the model is the same.
  for (const auto& [w, h] : {std::pair{320, 201}, std::pair{319, 201}, std::pair{600, 420}}) {
    EXPECT_TRUE(view.stale(w, h)) << w << 'x' << h;
    EXPECT_TRUE(render_at(w, h));
    EXPECT_TRUE(shows_current_model(view, w, h)) << w << 'x' << h;
  }

  // A walk: the picture shown is the old one until the model says so.
  sim.nsteps = 500;
  sim.walk(true);
  EXPECT_FALSE(shows_current_model(view, 600, 420));
  EXPECT_FALSE(view.stale(600, 420));
  view.model_changed();
  EXPECT_TRUE(view.stale(600, 420));
  EXPECT_TRUE(render_at(600, 420));
  EXPECT_TRUE(shows_current_model(view, 600, 420));
}

TEST_F(DiagnosticsViewTest, AnEmptyWindowDrawsNothingAndComesBackWhole) {
  EXPECT_TRUE(render_at(0, 0));
  EXPECT_EQ(view.surface().width(), 0);
  EXPECT_FALSE(view.stale(0, 0));
  EXPECT_FALSE(view.stale(-5, -1));  // a negative size is an empty one
  EXPECT_TRUE(view.stale(200, 150));
  EXPECT_TRUE(render_at(200, 150));
  EXPECT_TRUE(shows_current_model(view, 200, 150));
}

// After a drawing that took d, the next waits until 2 d after its end: at
// most a third of the time goes to drawing.
TEST_F(DiagnosticsViewTest, TheNextDrawingWaitsTwiceTheLastOnesTime) {
  using std::chrono::microseconds;
  struct Case {
    Clock::duration took;
    Clock::duration asked_after_end;
    milliseconds delay;
  };
  const Case cases[] = {
      {milliseconds{30}, milliseconds{0}, milliseconds{60}},
      {milliseconds{30}, milliseconds{10}, milliseconds{50}},
      {milliseconds{30}, milliseconds{59}, milliseconds{1}},
      {milliseconds{30}, milliseconds{60}, milliseconds{0}},
      {milliseconds{30}, milliseconds{500}, milliseconds{0}},
      {microseconds{300}, microseconds{0}, milliseconds{1}},  // a part of a millisecond is waited
      {milliseconds{0}, milliseconds{0}, milliseconds{0}},
      {milliseconds{900}, milliseconds{0}, milliseconds{1800}},
      {milliseconds{1100}, milliseconds{0}, DiagnosticsView::kLongestDelay},
      {std::chrono::seconds{5}, std::chrono::seconds{4}, DiagnosticsView::kLongestDelay},
  };
  Clock::time_point start = kT0;
  for (const Case& c : cases) {
    draw_taking(start, c.took);
    const Clock::time_point end = start + c.took;
    EXPECT_EQ(view.redraw_delay(end + c.asked_after_end), c.delay)
        << std::chrono::duration_cast<microseconds>(c.took).count() << " us, asked "
        << std::chrono::duration_cast<microseconds>(c.asked_after_end).count() << " us after";
    start = end + std::chrono::seconds{10};
  }
}

TEST_F(DiagnosticsViewTest, OnlyTheLatestDrawingCounts) {
  draw_taking(kT0, milliseconds{400});
  draw_taking(kT0 + milliseconds{1000}, milliseconds{5});
  EXPECT_EQ(view.redraw_delay(kT0 + milliseconds{1005}), milliseconds{10});
}

}  // namespace
}  // namespace wandrix
