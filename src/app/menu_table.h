// The menu bar and the keyboard accelerators as data: command ids, item texts
// with their & mnemonics, and the keys. Every front end builds its menus by
// looping over these tables; nothing else names a menu item.
#pragma once

#include <span>
#include <string_view>

namespace wandrix {

// Command ids, as the menu items and accelerators send them.
namespace command {
inline constexpr int kExit = 101;
inline constexpr int kStartWalking = 102;
inline constexpr int kContinueWalking = 103;
inline constexpr int kRefresh = 104;
inline constexpr int kOptions = 106;
inline constexpr int kCopy = 107;
inline constexpr int kHelpFile = 108;
inline constexpr int kAbout = 109;
inline constexpr int kClear = 110;
inline constexpr int kToggleTrajectory = 111;
inline constexpr int kDecrementDotSize = 112;
inline constexpr int kIncrementDotSize = 113;
inline constexpr int kOpen = 114;
inline constexpr int kSave = 115;
inline constexpr int kSaveAs = 116;
inline constexpr int kSaveMetafile = 117;
inline constexpr int kSaveLandscape = 118;
inline constexpr int kAnimateWalking = 119;
inline constexpr int kPauseWalking = 120;  // pause, or resume a paused walk
inline constexpr int kSingleStep = 121;
inline constexpr int kStopWalking = 122;
inline constexpr int kFaster = 123;
inline constexpr int kSlower = 124;
// The animation's speeds, slowest first (kWalkSpeeds): sent by a front
// end's speed list rather than by menu items.
inline constexpr int kWalkSpeed = 40020;   // .. kWalkSpeed + 6
inline constexpr int kShowChain1 = 40001;  // .. kShowChain1 + 3 for chain 4
inline constexpr int kOneChain = 40006;    // .. kOneChain + 3 for four chains
inline constexpr int kShowAllChains = 40010;
inline constexpr int kSummarize = 40011;
inline constexpr int kToggleRotation = 40013;
inline constexpr int kDensityView = 40030;
inline constexpr int kRefuseAtWalls = 40031;
inline constexpr int kDiagnostics = 40032;
inline constexpr int kLessons = 40033;
}  // namespace command

// One entry of a popup: a command item, or a separator (id 0).
struct MenuItem {
  int id = 0;
  std::string_view text;      // with its & mnemonic
  std::string_view shortcut;  // shown right-aligned ("Ctrl+C"), or empty
  [[nodiscard]] bool separator() const { return id == 0; }
};

struct MenuPopup {
  std::string_view title;
  std::span<const MenuItem> items;
};

// A key that sends a command. keys is in the portable "Ctrl+C" / "F5" form.
struct Accelerator {
  std::string_view keys;
  int id = 0;
};

// The popups of the menu bar, left to right.
std::span<const MenuPopup> menu_bar();
// The accelerator table; some keys have no menu item (Ctrl+R) or an item
// that does not show its key (F1..F5).
std::span<const Accelerator> accelerators();

// The item with this id, or nullptr when no menu item sends it.
const MenuItem* find_menu_item(int id);

// Position of the popups the menu rules look after.
inline constexpr int kChainsPopup = 2;
inline constexpr int kShowPopup = 3;

}  // namespace wandrix
