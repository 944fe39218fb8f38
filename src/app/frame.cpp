#include "app/frame.h"

#include <new>

#include "app/menu_table.h"
#include "files/help_launcher.h"
#include "files/landscape_file.h"
#include "files/session_at_start.h"
#include "files/session_file.h"
#include "model/limits.h"
#include "model/summary.h"
#include "view/paint.h"
#include "view/picture_export.h"

namespace wandrix {

using namespace command;

std::array<MenuItemState, 12> menu_state(const Simulation& sim) {
  std::array<MenuItemState, 12> states{};
  auto out = states.begin();
  for (int k = 1; k <= kMaxChains; ++k) {
    *out++ = {kOneChain + k - 1, sim.nchains == k, true};
  }
  for (int k = 1; k <= kMaxChains; ++k) {
    // Chain 1 is always there; chain k exists only with k chains or more.
    *out++ = {kShowChain1 + k - 1, sim.shown_chain == k, k == 1 || sim.nchains >= k};
  }
  *out++ = {kShowAllChains, sim.shown_chain == 0, sim.nchains > 1};
  *out++ = {kSummarize, false, sim.steps_done > 0};
  *out++ = {kDensityView, sim.density_view, true};
  *out++ = {kRefuseAtWalls, sim.reject_at_walls, true};
  return states;
}

Frame::Frame(Simulation& sim, Host& host)
    : sim_(sim),
      host_(host),
      surface_(kDefaultWindowWidth, kDefaultWindowHeight),
      coverage_(kDefaultWindowWidth, kDefaultWindowHeight) {}

void Frame::render() {
  if (!paint_pending_) {
    return;
  }
  paint_pending_ = false;
  paint(sim_, surface_, Rect{0, 0, width_, height_}, false, &coverage_, &density_);
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
  FrameResult result = FrameResult::keep_running;
  guarded([this, id, &result] { result = run_command(id); });
  return result;
}

FrameResult Frame::run_command(int id) {
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
      return FrameResult::quit;
    case kStartWalking:
      sim_.start_walking();
      break;
    case kContinueWalking:
      sim_.continue_walking();
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
  if (code == kEscape && mouse_.band.active()) {
    mouse_.band.cancel(host_, surface_);
    host_.show_surface();
  }
}

void Frame::left_press(Point p) {
  // One drag at a time: a hill dialog opened in the middle of a rotation
  // would swallow the right button's release and leave the mouse captured.
  if (mouse_.rotating) {
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
  if (!sim_.allow_rotation || mouse_.band.active()) {
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
