#include "app/menu_table.h"

#include <array>

namespace wandrix {
namespace {

using namespace command;

constexpr MenuItem kSeparator{};

constexpr std::array kFileItems{
    MenuItem{kOpen, "Open...", {}},
    MenuItem{kLessons, "L&essons…", {}},
    MenuItem{kSave, "&Save", {}},
    MenuItem{kSaveAs, "Save &As...", {}},
    MenuItem{kSaveLandscape, "Save &Landscape...", {}},
    kSeparator,
    MenuItem{kSaveMetafile, "Save As &Metafile...", {}},
    kSeparator,
    MenuItem{kExit, "E&xit", {}},
};

constexpr std::array kEditItems{
    MenuItem{kCopy, "&Copy", "Ctrl+C"},
};

constexpr std::array kChainsItems{
    MenuItem{kOneChain, "&1 chain", {}},
    MenuItem{kOneChain + 1, "&2 chains", {}},
    MenuItem{kOneChain + 2, "&3 chains", {}},
    MenuItem{kOneChain + 3, "&4 chains", {}},
};

constexpr std::array kShowItems{
    MenuItem{kShowChain1, "Chain &1", {}},       MenuItem{kShowChain1 + 1, "Chain &2", {}},
    MenuItem{kShowChain1 + 2, "Chain &3", {}},   MenuItem{kShowChain1 + 3, "Chain &4", {}},
    MenuItem{kShowAllChains, "&All chains", {}}, kSeparator,
    MenuItem{kDensityView, "&Density", {}},      kSeparator,
    MenuItem{kSummarize, "&Summarize", {}},      MenuItem{kDiagnostics, "Diagnostics…", {}},
};

constexpr std::array kRobotItems{
    MenuItem{kOptions, "&Options...", "Ctrl+O"},
    MenuItem{kStartWalking, "&Start walking", "Ctrl+F"},
    MenuItem{kContinueWalking, "&Continue walking", "Ctrl+N"},
    MenuItem{kAnimateWalking, "&Animate walking", "Ctrl+A"},
    kSeparator,
    MenuItem{kPauseWalking, "Pa&use / Resume", "Space"},
    MenuItem{kSingleStep, "Single st&ep", "Right"},
    MenuItem{kFaster, "&Faster", "Up"},
    MenuItem{kSlower, "Slo&wer", "Down"},
    MenuItem{kStopWalking, "Sto&p walking", "Esc"},
    kSeparator,
    MenuItem{kRefuseAtWalls, "Refuse steps &beyond the walls", {}},
    kSeparator,
    MenuItem{kToggleTrajectory, "&Toggle trajectory display", "Ctrl+T"},
    kSeparator,
    MenuItem{kIncrementDotSize, "&Increment dot size", "Ctrl+L"},
    MenuItem{kDecrementDotSize, "&Decrement dot size", "Ctrl+S"},
    kSeparator,
    MenuItem{kRefresh, "&Refresh", {}},
    MenuItem{kClear, "&Clear", {}},
};

constexpr std::array kHelpItems{
    MenuItem{kHelpFile, "&HTML help file", {}},
    MenuItem{kAbout, "&About Wandrix", {}},
};

constexpr std::array kMenuBar{
    MenuPopup{"&File", kFileItems},     MenuPopup{"&Edit", kEditItems},
    MenuPopup{"&Chains", kChainsItems}, MenuPopup{"&Show", kShowItems},
    MenuPopup{"&Robot", kRobotItems},   MenuPopup{"&Help", kHelpItems},
};

constexpr std::array kAccelerators{
    Accelerator{"Ctrl+A", kAnimateWalking},
    Accelerator{"Ctrl+C", kCopy},
    Accelerator{"Ctrl+F", kStartWalking},
    Accelerator{"Ctrl+L", kIncrementDotSize},
    Accelerator{"Ctrl+N", kContinueWalking},
    Accelerator{"Ctrl+O", kOptions},
    Accelerator{"Ctrl+R", kToggleRotation},
    Accelerator{"Ctrl+S", kDecrementDotSize},
    Accelerator{"Ctrl+T", kToggleTrajectory},
    Accelerator{"F1", kShowChain1},
    Accelerator{"F2", kShowChain1 + 1},
    Accelerator{"F3", kShowChain1 + 2},
    Accelerator{"F4", kShowChain1 + 3},
    Accelerator{"F5", kRefresh},
    Accelerator{"Space", kPauseWalking},
    Accelerator{"Right", kSingleStep},
    Accelerator{"Up", kFaster},
    Accelerator{"Down", kSlower},
    Accelerator{"Esc", kStopWalking},
};

}  // namespace

std::span<const MenuPopup> menu_bar() { return kMenuBar; }

std::span<const Accelerator> accelerators() { return kAccelerators; }

const MenuItem* find_menu_item(int id) {
  for (const MenuPopup& popup : kMenuBar) {
    for (const MenuItem& item : popup.items) {
      if (!item.separator() && item.id == id) {
        return &item;
      }
    }
  }
  return nullptr;
}

}  // namespace wandrix
