// The menu bar and keys as the window builds them from the core's tables,
// the command lines it starts programs with, the file dialog's filters and
// the clipboard.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/menu_table.h"
#include "app/walk_player.h"
#include "model/simulation.h"
#include "view/picture_export.h"
#include "windows/main_window.h"
#include "windows/message_pump.h"
#include "windows/wide_text.h"
#include "windows/win32_host.h"

namespace wandrix::windows {
namespace {

std::wstring menu_text(HMENU menu, int position) {
  wchar_t text[256] = {};
  ::GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
  return text;
}

TEST(Win32Menu, TheBarHoldsEveryPopupAndItemOfTheTable) {
  HMENU bar = build_menu_bar();
  const auto popups = menu_bar();
  ASSERT_EQ(::GetMenuItemCount(bar), static_cast<int>(popups.size()));
  for (std::size_t p = 0; p < popups.size(); ++p) {
    const int position = static_cast<int>(p);
    EXPECT_EQ(menu_text(bar, position), widen(popups[p].title));
    HMENU popup = ::GetSubMenu(bar, position);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(::GetMenuItemCount(popup), static_cast<int>(popups[p].items.size()));
    for (std::size_t i = 0; i < popups[p].items.size(); ++i) {
      const MenuItem& item = popups[p].items[i];
      const int at = static_cast<int>(i);
      if (item.separator()) {
        EXPECT_EQ(::GetMenuState(popup, static_cast<UINT>(at), MF_BYPOSITION) & MF_SEPARATOR,
                  static_cast<UINT>(MF_SEPARATOR));
        continue;
      }
      EXPECT_EQ(static_cast<int>(::GetMenuItemID(popup, at)), item.id);
      std::wstring expected = widen(item.text);
      if (!item.shortcut.empty()) {
        expected += L'\t' + widen(item.shortcut);
      }
      EXPECT_EQ(menu_text(popup, at), expected);
    }
  }
  ::DestroyMenu(bar);
}

TEST(Win32Keys, EveryKeyOfTheTableBecomesAnAccelerator) {
  struct Case {
    const char* keys;
    bool parsed;
    BYTE flags;
    WORD key;
  };
  const Case cases[] = {
      {"Ctrl+C", true, FVIRTKEY | FCONTROL, 'C'},
      {"Ctrl+R", true, FVIRTKEY | FCONTROL, 'R'},
      {"F1", true, FVIRTKEY, VK_F1},
      {"F5", true, FVIRTKEY, VK_F5},
      {"F12", true, FVIRTKEY, VK_F12},
      {"Space", true, FVIRTKEY, VK_SPACE},
      {"Right", true, FVIRTKEY, VK_RIGHT},
      {"Down", true, FVIRTKEY, VK_DOWN},
      {"Esc", true, FVIRTKEY, VK_ESCAPE},
      {"F0", false, 0, 0},
      {"F25", false, 0, 0},
      {"Alt+X", false, 0, 0},
      {"Ctrl+", false, 0, 0},
      {"Ctrl+c", false, 0, 0},
  };
  for (const Case& c : cases) {
    ACCEL accel{};
    EXPECT_EQ(parse_accelerator(c.keys, 7, accel), c.parsed) << c.keys;
    if (c.parsed) {
      EXPECT_EQ(accel.fVirt, c.flags) << c.keys;
      EXPECT_EQ(accel.key, c.key) << c.keys;
      EXPECT_EQ(accel.cmd, 7) << c.keys;
    }
  }
  // Every key of the table but Esc, which the window hands on as a character.
  HACCEL table = build_accelerators();
  std::vector<ACCEL> entries(accelerators().size() + 1);
  const int esc =
      static_cast<int>(std::count_if(accelerators().begin(), accelerators().end(),
                                     [](const Accelerator& a) { return a.keys == "Esc"; }));
  EXPECT_EQ(::CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size())),
            static_cast<int>(accelerators().size()) - esc);
  ::DestroyAcceleratorTable(table);
}

std::vector<std::wstring> parsed_back(const std::wstring& line) {
  int count = 0;
  // The program's own name first, as the runtime reads every command line.
  LPWSTR* words = ::CommandLineToArgvW((L"viewer.exe " + line).c_str(), &count);
  std::vector<std::wstring> result(words + 1, words + count);
  ::LocalFree(words);
  return result;
}

TEST(Win32CommandLine, ArgumentsArriveAsTheyWereGiven) {
  const std::vector<std::vector<std::wstring>> cases = {
      {L"C:\\Program Files\\Viewer\\viewer.exe", L"file:///C:/My%20Files/Wandrix.html"},
      {L"a", L"two words", L""},
      {L"say \"hi\"", L"back\\slash", L"ends in \\"},
      {L"C:\\trailing\\", L"\\\\server\\share\\x \"y\""},
  };
  for (const auto& arguments : cases) {
    EXPECT_EQ(parsed_back(command_line(arguments.data(), arguments.size())), arguments);
  }
}

TEST(Win32Text, Utf8AndUtf16RoundTrip) {
  for (const std::string text : {"", "Wandrix", "\xC3\xA9t\xC3\xA9", "\xF0\x9F\x8C\x8B hill"}) {
    EXPECT_EQ(narrow(widen(text)), text);
  }
  EXPECT_EQ(widen("\xC3\xA9"), L"\u00E9");
}

TEST(Win32FileDialog, FiltersArePairsEndedByTwoNuls) {
  const std::wstring filters =
      filter_string({{"Data file (*.dat)", "*.DAT"}, {"All (*.*)", "*.*"}});
  EXPECT_EQ(filters, std::wstring(L"Data file (*.dat)\0*.DAT\0All (*.*)\0*.*\0\0", 39));
}

// A hidden window of the program's class, with a Frame, for the clipboard.
class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ =
        ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    host_.attach(window_, frame_, sim_);
  }
  void TearDown() override { ::DestroyWindow(window_); }

  Simulation sim_;
  Win32Host host_;
  Frame frame_{sim_, host_};
  HWND window_ = nullptr;
};

TEST_F(HostTest, ClipboardTextEndsItsLinesWithCrLf) {
  host_.set_clipboard_text("one\ntwo\n");
  ASSERT_TRUE(::OpenClipboard(window_));
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(data, nullptr);
  const std::wstring text(static_cast<const wchar_t*>(::GlobalLock(data)));
  ::GlobalUnlock(data);
  ::CloseClipboard();
  EXPECT_EQ(text, L"one\r\ntwo\r\n");
}

TEST_F(HostTest, ATickRequestArrivesAsTheTimerOnce) {
  ASSERT_TRUE(host_.request_tick(1));
  ASSERT_TRUE(host_.request_tick(5));  // replaces the first
  int timers = 0;
  const DWORD until = ::GetTickCount() + 1000;
  MSG message{};
  while (::GetTickCount() < until) {
    if (::PeekMessageW(&message, window_, WM_TIMER, WM_TIMER, PM_REMOVE) &&
        message.wParam == kTickTimer) {
      ++timers;
      ::KillTimer(window_, kTickTimer);  // as the window does before it ticks
    }
  }
  EXPECT_EQ(timers, 1);
}

TEST_F(HostTest, ThePictureArrivesAsMetafileAndBitmap) {
  const Rect client{0, 0, 120, 80};
  PictureData picture;
  picture.emf = metafile_picture(sim_, client, std::nullopt, "Wandrix", "Trajectory");
  ASSERT_TRUE(host_.set_clipboard_picture(picture));
  ASSERT_TRUE(::OpenClipboard(window_));
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_ENHMETAFILE));
  HANDLE dib = ::GetClipboardData(CF_DIB);
  ASSERT_NE(dib, nullptr);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib));
  EXPECT_EQ(header->biWidth, 120);
  EXPECT_EQ(header->biHeight, 80);
  // The exported picture's background is white.
  const auto* pixels = reinterpret_cast<const std::uint32_t*>(header + 1);
  EXPECT_EQ(pixels[0] & 0xFFFFFFu, 0xFFFFFFu);
  ::GlobalUnlock(dib);
  ::CloseClipboard();
}

std::wstring status_text(HWND status, int part) {
  const auto length = LOWORD(::SendMessageW(status, SB_GETTEXTLENGTHW, part, 0));
  std::wstring text(length, L'\0');
  ::SendMessageW(status, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
  return text;
}

// The program's own window: the picture takes the client area above the
// status bar, at every size, and the bar follows the walk.
TEST(Win32MainWindow, TheStatusBarFollowsTheWalkBelowThePicture) {
  Simulation sim;
  sim.hills.push_back(Hill{"h", 200, 200, 30, 30, 0, 1, 1});
  MainWindow window(sim);
  ASSERT_TRUE(window.create());
  HWND status = window.status_bar();
  ASSERT_NE(status, nullptr);
  for (const SIZE outer : {SIZE{400, 400}, SIZE{640, 300}, SIZE{300, 520}}) {
    ::SetWindowPos(window.handle(), nullptr, 0, 0, outer.cx, outer.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    ::GetClientRect(window.handle(), &client);
    RECT bar{};
    ::GetWindowRect(status, &bar);
    ::MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_GT(bar.bottom - bar.top, 0) << outer.cx << "x" << outer.cy;
    EXPECT_EQ(bar.bottom, client.bottom) << outer.cx << "x" << outer.cy;
    EXPECT_EQ(bar.right - bar.left, client.right) << outer.cx << "x" << outer.cy;
    EXPECT_EQ(window.frame().width(), client.right) << outer.cx << "x" << outer.cy;
    EXPECT_EQ(window.frame().height(), bar.top) << outer.cx << "x" << outer.cy;
  }
  EXPECT_EQ(status_text(status, 0), L"Ready");
  EXPECT_EQ(status_text(status, 1).rfind(L"Steps walked: 0 |", 0), 0u) << status_text(status, 1);

  ::SendMessageW(window.handle(), WM_COMMAND, command::kWalkSpeed + kFastestSpeed, 0);
  ::SendMessageW(window.handle(), WM_COMMAND, command::kStartWalking, 0);
  pump_messages([&] { return sim.steps_done > 0 && !window.frame().player().running(); });
  ASSERT_GT(sim.steps_done, 0);
  const std::wstring rates = status_text(status, 1);
  EXPECT_EQ(rates.rfind(L"Steps walked: " + std::to_wstring(sim.steps_done) + L" |", 0), 0u)
      << rates;
  EXPECT_EQ(rates, widen(window.frame().rates_text()));
  EXPECT_EQ(status_text(status, 0), L"Ready");

  ::DestroyWindow(window.handle());
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}

}  // namespace
}  // namespace wandrix::windows
