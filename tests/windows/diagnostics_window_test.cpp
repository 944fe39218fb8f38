// Show > Diagnostics... in the program's own window: where the window goes,
// that what it shows is the picture of the model as it now is (read back
// from the window, not from its surface), through walks, an animation, a
// Clear and a resize, and that it hides on Esc, comes back from the menu and
// goes with the main window.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <vector>

#include "app/menu_table.h"
#include "app/walk_player.h"
#include "model/simulation.h"
#include "view/diagnostics.h"
#include "windows/diagnostics_window.h"
#include "windows/main_window.h"
#include "windows/message_pump.h"

namespace wandrix::windows {
namespace {

TEST(DiagnosticsPlacement, BesideTheOwnerWithinTheWorkArea) {
  const RECT work{0, 0, 1600, 900};
  struct Case {
    const char* what;
    RECT owner;
    SIZE wanted;
    RECT expected;
  };
  const Case cases[] = {
      {"room on the right", {50, 50, 450, 450}, {1016, 430}, {450, 50, 1466, 480}},
      {"more room on the left", {1000, 100, 1400, 500}, {800, 430}, {200, 100, 1000, 530}},
      {"narrower beside", {50, 50, 450, 450}, {1300, 430}, {450, 50, 1600, 480}},
      {"too narrow beside: over it, at the right edge",
       {200, 80, 1400, 600},
       {1016, 430},
       {584, 80, 1600, 510}},
      {"too narrow beside: over it, at the left edge",
       {300, 80, 1500, 600},
       {1016, 430},
       {0, 80, 1016, 510}},
      {"higher than the room below", {50, 700, 450, 890}, {600, 500}, {450, 400, 1050, 900}},
      {"larger than the work area", {50, 50, 450, 450}, {2000, 1200}, {450, 0, 1600, 900}},
      {"owner partly off the screen", {1300, -40, 1700, 360}, {500, 300}, {800, 0, 1300, 300}},
  };
  for (const Case& c : cases) {
    const RECT got = place_beside(c.owner, c.wanted, work);
    EXPECT_EQ(got.left, c.expected.left) << c.what;
    EXPECT_EQ(got.top, c.expected.top) << c.what;
    EXPECT_EQ(got.right, c.expected.right) << c.what;
    EXPECT_EQ(got.bottom, c.expected.bottom) << c.what;
  }
  // The work area need not start at the origin (a second monitor, a task
  // bar on the left).
  const RECT second{1600, 30, 2880, 1024};
  const RECT got = place_beside({1650, 60, 2050, 460}, {1016, 430}, second);
  EXPECT_EQ(got.left, 2050);
  EXPECT_EQ(got.right, 2880);  // the room beside, 830 wide
  EXPECT_EQ(got.top, 60);
}

// The client area's pixels as the window shows them (0x00RRGGBB).
std::vector<std::uint32_t> shown_pixels(HWND window, int& width, int& height) {
  RECT client{};
  ::GetClientRect(window, &client);
  width = client.right;
  height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC window_dc = ::GetDC(window);
  HDC dc = ::CreateCompatibleDC(window_dc);
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<std::uint32_t> pixels;
  if (bitmap != nullptr) {
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    ::BitBlt(dc, 0, 0, width, height, window_dc, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    pixels.assign(first, first + static_cast<std::size_t>(width) * height);
    for (std::uint32_t& p : pixels) {
      p &= 0xFFFFFFu;
    }
    ::SelectObject(dc, previous);
    ::DeleteObject(bitmap);
  }
  ::DeleteDC(dc);
  ::ReleaseDC(window, window_dc);
  return pixels;
}

// Pixels the window shows otherwise than the diagnostics of the model as it
// now is, drawn afresh at the window's size; -1 when there is no picture.
int differing_from_model(HWND window, const Simulation& sim) {
  int width = 0;
  int height = 0;
  const std::vector<std::uint32_t> shown = shown_pixels(window, width, height);
  if (shown.empty() || width <= 0 || height <= 0) {
    return -1;
  }
  RasterCanvas expected(width, height);
  draw_diagnostics(sim, expected, Rect{0, 0, width, height});
  int n = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    n += shown[i] != (expected.pixels()[i] & 0xFFFFFFu) ? 1 : 0;
  }
  return n;
}

int pixels_of(HWND window, Colour colour) {
  const auto rgb =
      static_cast<std::uint32_t>(red_of(colour) << 16 | green_of(colour) << 8 | blue_of(colour));
  int width = 0;
  int height = 0;
  int n = 0;
  for (const std::uint32_t p : shown_pixels(window, width, height)) {
    n += p == rgb ? 1 : 0;
  }
  return n;
}

class DiagnosticsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.hills.push_back(Hill{"h", 200, 200, 30, 30, 0, 1, 1});
    ASSERT_TRUE(window.create());
    command(command::kWalkSpeed + kFastestSpeed);
  }
  void TearDown() override {
    if (::IsWindow(window.handle())) {
      ::DestroyWindow(window.handle());
    }
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  void command(int id) { ::SendMessageW(window.handle(), WM_COMMAND, id, 0); }
  void walk(int id) {
    command(id);
    pump_messages([&] { return !window.frame().player().running(); });
  }
  // The diagnostics window, opened from the menu and shown.
  HWND open() {
    command(command::kDiagnostics);
    HWND diagnostics = ::FindWindowW(kDiagnosticsClass, nullptr);
    pump_messages([&] { return diagnostics != nullptr && ::IsWindowVisible(diagnostics); });
    return diagnostics;
  }
  // Waits until the window shows the model as it is now.
  bool follows(HWND diagnostics) {
    pump_messages([&] { return differing_from_model(diagnostics, sim) == 0; });
    return differing_from_model(diagnostics, sim) == 0;
  }

  Simulation sim;
  MainWindow window{sim};
};

TEST_F(DiagnosticsWindowTest, OwnedNotModalResizableAndBesideTheLandscape) {
  walk(command::kStartWalking);
  HWND diagnostics = open();
  ASSERT_NE(diagnostics, nullptr);
  wchar_t title[64] = {};
  ::GetWindowTextW(diagnostics, title, 64);
  EXPECT_STREQ(title, L"Wandrix diagnostics");
  EXPECT_EQ(::GetWindow(diagnostics, GW_OWNER), window.handle());
  EXPECT_EQ(::GetWindowLongPtrW(diagnostics, GWL_STYLE) & WS_CHILD, 0);
  EXPECT_NE(::GetWindowLongPtrW(diagnostics, GWL_STYLE) & WS_THICKFRAME, 0);
  EXPECT_TRUE(::IsWindowEnabled(window.handle()));  // not modal
  EXPECT_EQ(::GetActiveWindow(), diagnostics);

  RECT landscape{};
  ::GetWindowRect(window.handle(), &landscape);
  RECT placed{};
  ::GetWindowRect(diagnostics, &placed);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(window.handle(), MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT expected = place_beside(
      landscape, {placed.right - placed.left, placed.bottom - placed.top}, monitor.rcWork);
  EXPECT_EQ(placed.left, expected.left);
  EXPECT_EQ(placed.top, expected.top);
  EXPECT_GE(placed.left, monitor.rcWork.left);
  EXPECT_LE(placed.right, monitor.rcWork.right);
  EXPECT_LE(placed.bottom, monitor.rcWork.bottom);
  // The picture's own height fits the test screen: the window has it.
  RECT client{};
  ::GetClientRect(diagnostics, &client);
  EXPECT_EQ(client.bottom, diagnostics_picture_rect(sim).height());

  EXPECT_TRUE(follows(diagnostics));
  EXPECT_GT(pixels_of(diagnostics, sim.chains[0].colour), 0);
}

TEST_F(DiagnosticsWindowTest, ShowsTheModelAfterEveryWalkClearAndResize) {
  HWND diagnostics = open();
  ASSERT_NE(diagnostics, nullptr);
  ASSERT_TRUE(follows(diagnostics));
  EXPECT_EQ(pixels_of(diagnostics, sim.chains[0].colour), 0);  // nothing walked yet

  // The landscape's window still takes commands while it is open.
  walk(command::kStartWalking);
  EXPECT_TRUE(follows(diagnostics));
  EXPECT_GT(pixels_of(diagnostics, sim.chains[0].colour), 0);
  sim.nsteps = 5000;
  walk(command::kContinueWalking);
  EXPECT_EQ(sim.chains[0].sample_count(), std::size_t{5101});
  EXPECT_TRUE(follows(diagnostics));

  ::SetWindowPos(diagnostics, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(follows(diagnostics));
  int width = 0;
  int height = 0;
  shown_pixels(diagnostics, width, height);
  RECT client{};
  ::GetClientRect(diagnostics, &client);
  EXPECT_EQ(width, client.right);
  EXPECT_LT(width, 500);

  command(command::kOneChain + 3);  // four chains: a row for each
  command(command::kShowAllChains);
  ::SetWindowPos(diagnostics, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
  sim.nsteps = 300;
  walk(command::kStartWalking);
  EXPECT_TRUE(follows(diagnostics));
  for (int k = 2; k <= 4; ++k) {
    EXPECT_GT(pixels_of(diagnostics, sim.chains[k - 1].colour), 0) << k;
  }

  command(command::kClear);
  EXPECT_TRUE(follows(diagnostics));
  EXPECT_EQ(pixels_of(diagnostics, sim.chains[0].colour), 0);
}

TEST_F(DiagnosticsWindowTest, FollowsAnAnimatedWalkWhileItRuns) {
  HWND diagnostics = open();
  ASSERT_NE(diagnostics, nullptr);
  command(command::kWalkSpeed + 5);  // 1000 steps a second
  sim.nsteps = 600;
  command(command::kAnimateWalking);
  ASSERT_TRUE(window.frame().player().running());
  std::set<std::vector<std::uint32_t>> pictures;
  pump_messages([&] {
    int width = 0;
    int height = 0;
    pictures.insert(shown_pixels(diagnostics, width, height));
    return !window.frame().player().running();
  });
  EXPECT_FALSE(window.frame().player().running());
  // Drawn again during the walk, not only at its end.
  EXPECT_GE(pictures.size(), 3u);
  EXPECT_TRUE(follows(diagnostics));
  EXPECT_EQ(sim.chains[0].sample_count(), std::size_t{601});
}

TEST_F(DiagnosticsWindowTest, EscHidesTheMenuBringsItBackAndItGoesWithTheLandscape) {
  HWND diagnostics = open();
  ASSERT_NE(diagnostics, nullptr);
  ::SetWindowPos(diagnostics, nullptr, 500, 120, 420, 320, SWP_NOZORDER);
  DiagnosticsWindow* object = window.host().diagnostics();
  ASSERT_NE(object, nullptr);

  // Keys for other windows, and other keys, are not its own.
  MSG other{window.handle(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_FALSE(object->translate_keys(other));
  MSG letter{diagnostics, WM_KEYDOWN, 'C', 0, 0, {}};  // without Ctrl
  EXPECT_FALSE(object->translate_keys(letter));
  MSG esc{diagnostics, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_TRUE(object->translate_keys(esc));
  pump_messages([&] { return !::IsWindowVisible(diagnostics); });
  EXPECT_FALSE(::IsWindowVisible(diagnostics));
  EXPECT_TRUE(::IsWindow(diagnostics));

  // Hidden, it still hears of walks, and shows the latest when it is back,
  // where it was.
  walk(command::kStartWalking);
  EXPECT_EQ(open(), diagnostics);
  RECT placed{};
  ::GetWindowRect(diagnostics, &placed);
  EXPECT_EQ(placed.left, 500);
  EXPECT_EQ(placed.right - placed.left, 420);
  EXPECT_TRUE(follows(diagnostics));

  ::DestroyWindow(window.handle());
  EXPECT_FALSE(::IsWindow(diagnostics));
  EXPECT_EQ(object->handle(), nullptr);
}

}  // namespace
}  // namespace wandrix::windows
