#include "app/frame.h"

#include <algorithm>
#include <limits>
#include <new>

#include "app/menu_table.h"
#include "files/help_launcher.h"
#include "files/landscape_file.h"
#include "files/session_at_start.h"
#include "files/session_file.h"
#include "model/fixed_text.h"
#include "model/limits.h"
#include "model/summary.h"
#include "view/foray_overlay.h"
#include "view/paint.h"
#include "view/picture_export.h"

namespace wandrix {

using namespace command;

namespace {

// A picture is drawn in slices of this length while the window waits, in
// batches of this many samples between looks at the clock.
constexpr auto kPaintSlice = std::chrono::milliseconds(25);
constexpr std::size_t kPaintBatch = 16384;
// A picture that takes longer than this shows its progress.
constexpr auto kPaintProgressDelay = std::chrono::milliseconds(300);

}  // namespace

bool model_changing(int id) {
  switch (id) {
    case kOpen:
    case kOptions:
    case kStartWalking:
    case kContinueWalking:
    case kAnimateWalking:
    case kClear:
    case kToggleRotation:
    case kRefuseAtWalls:
    case kLessons:
      return true;
    default:
      return id >= kOneChain && id < kOneChain + kMaxChains;
  }
}

std::vector<MenuItemState> menu_state(const Simulation& sim, const WalkPlayer* player) {
  std::vector<MenuItemState> states;
  const bool walking = sim.walking;
  for (int k = 1; k <= kMaxChains; ++k) {
    states.push_back({kOneChain + k - 1, sim.nchains == k, !walking});
  }
  for (int k = 1; k <= kMaxChains; ++k) {
    // Chain 1 is always there; chain k exists only with k chains or more.
    states.push_back({kShowChain1 + k - 1, sim.shown_chain == k, k == 1 || sim.nchains >= k});
  }
  states.push_back({kShowAllChains, sim.shown_chain == 0, sim.nchains > 1});
  states.push_back({kSummarize, false, sim.steps_done > 0});
  states.push_back({kDensityView, sim.density_view, true});
  // The wall rule in use stays with the walk in progress to its end.
  states.push_back({kRefuseAtWalls, sim.reject_at_walls, !walking});
  for (const int id : {kOpen, kOptions, kStartWalking, kContinueWalking, kAnimateWalking, kClear,
                       kToggleRotation}) {
    states.push_back({id, false, !walking});
  }
  const bool running = player != nullptr && player->running();
  states.push_back({kPauseWalking, player != nullptr && player->paused(), running});
  states.push_back({kStopWalking, false, running});
  const int speed = player != nullptr ? player->speed() : kDefaultSpeed;
  states.push_back({kFaster, false, speed < kFastestSpeed});
  states.push_back({kSlower, false, speed > 0});
  for (int k = 0; k <= kFastestSpeed; ++k) {
    states.push_back({kWalkSpeed + k, speed == k, true});
  }
  return states;
}

std::string rates_status_text(const Simulation& sim) {
  std::string text = "Steps walked: " + std::to_string(sim.steps_done) + " | Moves accepted:";
  for (int k = 1; k <= sim.nchains; ++k) {
    const AcceptCount& moves = sim.rates.moves[static_cast<std::size_t>(k - 1)];
    text += (k == 1 ? " " : "  ") + std::to_string(k) + ": " +
            percent_text(moves.accepted, moves.taken) + "%";
  }
  if (sim.nchains > 1) {
    text +=
        " | Exchanges: " + percent_text(sim.rates.exchanges.accepted, sim.rates.exchanges.taken) +
        "%";
  }
  return text;
}

Frame::Frame(Simulation& sim, Host& host)
    : sim_(sim),
      host_(host),
      surface_(kDefaultWindowWidth, kDefaultWindowHeight),
      coverage_(kDefaultWindowWidth, kDefaultWindowHeight),
      player_(sim) {}

void Frame::render() {
  if (!paint_pending_) {
    return;
  }
  paint_pending_ = false;
  // The model changed: windows that follow it (diagnostics) hear of it
  // whether the picture is drawn at once, in slices or as an animation.
  if (rendered_) {
    rendered_();
  }
  if (player_.animated()) {
    painting_.reset();
    render_animation();
    return;
  }
  if (painting_ && painting_->full()) {
    sim_.full_redraw = true;  // the picture in progress was not finished
  }
  painting_.emplace(sim_, surface_, Rect{0, 0, width_, height_}, false, &coverage_, &density_);
  painting_began_ = WalkPlayer::Clock::now();
  advance_painting();
}

void Frame::advance_painting() {
  if (!painting_) {
    return;
  }
  const auto deadline = WalkPlayer::Clock::now() + kPaintSlice;
  while (!painting_->advance(surface_, kPaintBatch)) {
    if (WalkPlayer::Clock::now() >= deadline) {
      if (!host_.request_tick(0)) {
        painting_->advance(surface_, std::numeric_limits<std::size_t>::max());
        break;
      }
      return;
    }
  }
  painting_.reset();
}

void Frame::abandon_painting() {
  if (!painting_) {
    return;
  }
  if (painting_->full()) {
    sim_.full_redraw = true;
  }
  painting_.reset();
  request_paint();
  host_.show_surface();
}

void Frame::render_animation() {
  if (base_.width() != width_ || base_.height() != height_) {
    base_.resize(width_, height_);
    sim_.full_redraw = true;
  }
  const bool samples_due = !player_.holds_back_samples();
  // The density's colours follow its largest count: it is always drawn whole.
  if (sim_.full_redraw || (sim_.density_view && samples_due)) {
    paint(sim_, base_, Rect{0, 0, width_, height_}, false, &coverage_, &density_);
    sim_.full_redraw = false;
  } else if (samples_due) {
    paint_added_samples(sim_, base_);
  }
  std::copy_n(base_.pixels(), static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
              surface_.pixels());
  const Projection view(sim_);
  if (player_.shows_step()) {
    draw_step_trace(sim_, view, surface_, player_.trace(), player_.phase());
  } else {
    draw_robots(sim_, view, surface_);
  }
}

std::vector<MenuItemState> Frame::menu_state() const { return wandrix::menu_state(sim_, &player_); }

std::string Frame::progress_text() const {
  const auto now = WalkPlayer::Clock::now();
  if (player_.shows_progress(now)) {
    return player_.progress_text(now);
  }
  if (painting_ && now - painting_began_ >= kPaintProgressDelay) {
    return "Drawing " + std::to_string(painting_->samples()) +
           " samples: " + format_fixed(painting_->fraction_done() * 100.0, 0) + "%";
  }
  return {};
}

bool Frame::begin_walk(bool start, bool animated, WalkPlayer::Clock::time_point now) {
  if (!player_.begin(start, animated, now)) {
    return false;
  }
  if (animated) {
    // The animation draws on from the picture the window shows.
    base_.resize(width_, height_);
    std::copy_n(surface_.pixels(),
                static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                base_.pixels());
    host_.invalidate();
  }
  return true;
}

void Frame::schedule_tick(std::optional<int> milliseconds) {
  if (!milliseconds || !player_.running()) {
    return;
  }
  if (!host_.request_tick(*milliseconds)) {
    player_.finish();
  }
}

void Frame::tick() {
  if (painting_) {
    advance_painting();
    host_.show_surface();  // the picture so far
  }
  if (!player_.running()) {
    return;
  }
  std::optional<int> next = player_.tick(WalkPlayer::Clock::now());
  if (player_.animated()) {
    host_.invalidate();
  }
  if (painting_) {
    next = 0;  // the picture goes on too
  }
  schedule_tick(next);
}

void Frame::steer_walk(int id) {
  const auto now = WalkPlayer::Clock::now();
  switch (id) {
    case kPauseWalking:
      player_.toggle_pause(now);
      break;
    case kSingleStep:
      // A walk begun by a single step stays paused after it, with a timer
      // or without one.
      if (!player_.running()) {
        begin_walk(sim_.steps_done == 0, true, now);
      }
      player_.single_step(now);
      break;
    case kStopWalking:
      player_.stop();
      return;
    case kFaster:
      player_.set_speed(player_.speed() + 1, now);
      break;
    case kSlower:
      player_.set_speed(player_.speed() - 1, now);
      break;
    default:
      player_.set_speed(id - kWalkSpeed, now);
      break;
  }
  if (player_.animated()) {
    host_.invalidate();
  }
  schedule_tick(player_.paused() ? std::nullopt : std::optional<int>(0));
}

void Frame::redraw_full() {
  sim_.full_redraw = true;
  host_.invalidate();
}

void Frame::redraw_keep() { host_.invalidate(); }

void Frame::guarded(const std::function<void()>& work) {
  // No command may end the program and lose the session: a picture or a
  // file too large for the memory left is told, and everything stays.
  try {
    work();
  } catch (const std::bad_alloc&) {
    host_.message_box(kCommandOutOfMemoryText, kOutOfMemoryCaption);
    redraw_full();
  }
}

FrameResult Frame::command(int id) {
  // A command may change the samples or the picture under it.
  abandon_painting();
  FrameResult result = FrameResult::keep_running;
  guarded([this, id, &result] { result = run_command(id); });
  return result;
}

FrameResult Frame::run_command(int id) {
  if (sim_.walking && model_changing(id)) {
    return FrameResult::keep_running;  // greyed: a key may still send it
  }
  if ((id >= kPauseWalking && id <= kSlower) ||
      (id >= kWalkSpeed && id <= kWalkSpeed + kFastestSpeed)) {
    steer_walk(id);
    return FrameResult::keep_running;
  }
  if (id >= kShowChain1 && id < kShowChain1 + kMaxChains) {
    // Not compared with the chain count: a hidden chain simply shows nothing.
    sim_.show_chain(id - kShowChain1 + 1);
    return FrameResult::keep_running;
  }
  if (id >= kOneChain && id < kOneChain + kMaxChains) {
    sim_.change_chain_count(id - kOneChain + 1);
    return FrameResult::keep_running;
  }
  switch (id) {
    case kExit:
      player_.stop();
      return FrameResult::quit;
    case kStartWalking:
      if (begin_walk(true, false, WalkPlayer::Clock::now())) {
        schedule_tick(0);
      }
      break;
    case kContinueWalking:
      if (begin_walk(false, false, WalkPlayer::Clock::now())) {
        schedule_tick(0);
      }
      break;
    case kAnimateWalking:
      // A new walk when there is none to go on with.
      if (begin_walk(sim_.steps_done == 0, true, WalkPlayer::Clock::now())) {
        schedule_tick(0);
      }
      break;
    case kRefresh:
      redraw_full();
      break;
    case kOptions:
      robot_options();
      break;
    case kCopy:
      // Shows the confirmation, or says that the clipboard refused it.
      copy_picture(sim_, Rect{0, 0, width_, height_});
      break;
    case kSaveMetafile:
      save_picture_file(sim_, Rect{0, 0, width_, height_});
      break;
    case kOpen:
      // Clears the walks afterwards whatever became of the open.
      open_session(sim_);
      fit_window_to_landscape();
      break;
    case kSave:
      save_session(sim_);
      break;
    case kSaveAs:
      save_session_as(sim_);
      break;
    case kSaveLandscape:
      save_landscape(sim_);
      break;
    case kSummarize:
      summarize(sim_);
      break;
    case kHelpFile:
      open_help(sim_);
      break;
    case kAbout:
      host_.run_about_box();
      break;
    case kDiagnostics:
      host_.show_diagnostics();
      break;
    case kLessons:
      choose_lesson();
      break;
    case kClear:
      sim_.clear_and_redraw();
      break;
    case kToggleTrajectory:
      sim_.show_trajectory = !sim_.show_trajectory;
      redraw_keep();
      break;
    case kDecrementDotSize:
      if (sim_.dot_radius > robot_limits::kDotRadius.min) {
        --sim_.dot_radius;
      }
      redraw_keep();
      break;
    case kIncrementDotSize:
      if (sim_.dot_radius < robot_limits::kDotRadius.max) {
        ++sim_.dot_radius;
      }
      redraw_keep();
      break;
    case kShowAllChains:
      sim_.show_chain(0);
      break;
    case kDensityView:
      sim_.toggle_density_view();
      break;
    case kToggleRotation:
      sim_.toggle_rotation();
      redraw_keep();
      break;
    case kRefuseAtWalls:
      // Changes the walks to come, not the samples shown.
      sim_.reject_at_walls = !sim_.reject_at_walls;
      break;
    default:
      break;  // an id no menu item or key sends
  }
  return FrameResult::keep_running;
}

void Frame::robot_options() {
  const bool old_rotation = sim_.allow_rotation;
  const std::int32_t old_seed = sim_.rn_seed;
  // The dialog's own seed button changes the seed at once, so a cancelled
  // dialog may still have changed it: the result does not matter here.
  host_.run_robot_options_dialog();
  sim_.after_robot_options(old_rotation, old_seed);
  host_.invalidate();
}

void Frame::choose_lesson() {
  const LessonList list = list_lessons(lesson_folders(host_.program_directory()));
  if (list.lessons.empty()) {
    std::string text = "No lessons were found beside the program.";
    for (const std::string& problem : list.problems) {
      text += "\n" + problem;
    }
    host_.message_box(text, kLessonErrorCaption);
    return;
  }
  std::vector<LessonItem> items;
  for (const Lesson& lesson : list.lessons) {
    items.push_back({lesson.title, lesson.first_sentence()});
  }
  if (const auto chosen = host_.choose_lesson(items); chosen && *chosen < list.lessons.size()) {
    open_lesson(list.lessons[*chosen]);
  }
}

void Frame::open_lesson(const Lesson& lesson) {
  if (sim_.walking) {
    return;  // as every command that would change the model under a walk
  }
  guarded([this, &lesson] {
    if (const auto problem = apply_lesson(sim_, lesson)) {
      host_.message_box(*problem, kLessonErrorCaption);
      return;
    }
    if (lesson.speed) {
      player_.set_speed(*lesson.speed, WalkPlayer::Clock::now());
    }
    fit_window_to_landscape();
    request_paint();
    host_.invalidate();
    host_.show_lesson(lesson.title, lesson.text);
    if (lesson.diagnostics) {
      host_.show_diagnostics();
    }
  });
}

bool Frame::open_lesson_named(const std::string& name) {
  const LessonRead read = find_lesson(name, lesson_folders(host_.program_directory()));
  if (const auto* problem = std::get_if<std::string>(&read)) {
    host_.message_box(*problem, kLessonErrorCaption);
    return false;
  }
  open_lesson(std::get<Lesson>(read));
  return true;
}

void Frame::open_file(const std::string& path) {
  // Reads, reports a refused file, clears the walks and redraws.
  guarded([this, &path] {
    open_session_file(sim_, path);
    fit_window_to_landscape();
  });
}

void Frame::fit_window_to_landscape() {
  const int width = static_cast<int>(sim_.width);
  const int height = sim_.client_height();
  if (width == width_ && height == height_) {
    return;
  }
  const Rect client = host_.resize_client(width, height);
  size(client.width(), client.height(), false);
}

void Frame::size(int width, int height, bool minimised) {
  if (minimised || width <= 0 || height <= 0) {
    return;
  }
  abandon_painting();
  // First: without the memory nothing changes.
  surface_.resize(width, height);
  coverage_ = Coverage(width, height);
  sim_.rescale(width, height);
  width_ = width;
  height_ = height;
  // The retained picture is lost with the old size: draw everything again.
  sim_.full_redraw = true;
  request_paint();
}

void Frame::key_char(int code) {
  if (code != kEscape) {
    return;
  }
  if (mouse_.band.active()) {
    mouse_.band.cancel(host_, surface_);
    host_.show_surface();
  } else {
    player_.stop();
  }
}

void Frame::left_press(Point p) {
  // One drag at a time: a hill dialog opened in the middle of a rotation
  // would swallow the right button's release and leave the mouse captured.
  // A new hill would change the landscape under a running walk.
  if (mouse_.rotating || sim_.walking || painting_) {
    return;
  }
  mouse_.band.press(host_, surface_, p);
  host_.show_surface();
}

void Frame::left_release(Point p) {
  BandDrag& band = mouse_.band;
  if (!band.release(host_, surface_, p)) {
    return;
  }
  // The outline leaves the screen before the hill dialog opens.
  host_.show_surface();
  new_hill_from_rectangle(sim_, band.anchor().x, band.anchor().y, band.corner().x, band.corner().y);
}

void Frame::right_press(Point p) {
  if (!sim_.allow_rotation || mouse_.band.active() || sim_.walking || painting_) {
    return;
  }
  mouse_.rotation_point = p;
  rotation_pens_ = begin_rotation(sim_, surface_);
  mouse_.rotating = true;
  host_.show_surface();
}

void Frame::move_rotation(Point p) {
  continue_rotation(sim_, surface_, rotation_pens_, p.x - mouse_.rotation_point.x,
                    p.y - mouse_.rotation_point.y);
  mouse_.rotation_point = p;
  host_.show_surface();
}

void Frame::end_rotation() {
  mouse_.rotating = false;
  // Erases the frame, releases the mouse and asks for a full repaint.
  wandrix::end_rotation(sim_, surface_, rotation_pens_);
}

void Frame::right_release(Point /*p*/) {
  // A drag that began with rotation allowed ends properly even when Ctrl+R
  // switched rotation off meanwhile: the capture must not stay behind.
  if (mouse_.rotating) {
    end_rotation();
    return;
  }
  if (!sim_.allow_rotation) {
    host_.message_box(kRotationNotAllowedText, kRotationNotAllowedCaption);
  }
}

void Frame::mouse_move(Point p) {
  if (sim_.allow_rotation && mouse_.rotating) {
    move_rotation(p);
  } else if (mouse_.band.active()) {
    mouse_.band.move(host_, surface_, p);
    host_.show_surface();
  }
}

}  // namespace wandrix
