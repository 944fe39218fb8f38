#include "app/menu_table.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace wandrix {
namespace {

std::vector<std::string> item_texts(const MenuPopup& popup) {
  std::vector<std::string> texts;
  for (const MenuItem& item : popup.items) {
    texts.emplace_back(item.separator() ? "-" : std::string(item.text));
  }
  return texts;
}

TEST(MenuTable, BarHasThePopupsAndItemsInOrder) {
  const auto bar = menu_bar();
  ASSERT_EQ(bar.size(), 6u);
  EXPECT_EQ(bar[0].title, "&File");
  EXPECT_EQ(bar[kChainsPopup].title, "&Chains");
  EXPECT_EQ(bar[kShowPopup].title, "&Show");
  EXPECT_EQ(bar[5].title, "&Help");
  EXPECT_EQ(item_texts(bar[0]), (std::vector<std::string>{"Open...", "L&essons…", "&Save",
                                                          "Save &As...", "Save &Landscape...", "-",
                                                          "Save As &Metafile...", "-", "E&xit"}));
  EXPECT_EQ(item_texts(bar[3]),
            (std::vector<std::string>{"Chain &1", "Chain &2", "Chain &3", "Chain &4", "&All chains",
                                      "-", "&Density", "-", "&Summarize", "Diagnostics…"}));
  EXPECT_EQ(item_texts(bar[4]), (std::vector<std::string>{"&Options...",
                                                          "&Start walking",
                                                          "&Continue walking",
                                                          "&Animate walking",
                                                          "-",
                                                          "Pa&use / Resume",
                                                          "Single st&ep",
                                                          "&Faster",
                                                          "Slo&wer",
                                                          "Sto&p walking",
                                                          "-",
                                                          "Refuse steps &beyond the walls",
                                                          "-",
                                                          "&Toggle trajectory display",
                                                          "-",
                                                          "&Increment dot size",
                                                          "&Decrement dot size",
                                                          "-",
                                                          "&Refresh",
                                                          "&Clear"}));
}

TEST(MenuTable, EveryShownShortcutIsAnAcceleratorForTheSameCommand) {
  int shown = 0;
  for (const MenuPopup& popup : menu_bar()) {
    for (const MenuItem& item : popup.items) {
      if (item.shortcut.empty()) {
        continue;
      }
      ++shown;
      bool found = false;
      for (const Accelerator& acc : accelerators()) {
        found = found || (acc.keys == item.shortcut && acc.id == item.id);
      }
      EXPECT_TRUE(found) << item.text;
    }
  }
  // Copy, Options, Start, Continue, Animate, Trajectory, the dot sizes, and
  // the five controls of a running walk.
  EXPECT_EQ(shown, 13);
}

TEST(MenuTable, IdsAndKeysAreUniqueAndEveryAcceleratorHasAKnownCommand) {
  std::set<int> ids;
  for (const MenuPopup& popup : menu_bar()) {
    for (const MenuItem& item : popup.items) {
      if (!item.separator()) {
        EXPECT_TRUE(ids.insert(item.id).second) << item.id;
      }
    }
  }
  EXPECT_EQ(ids.size(), 37u);
  std::set<std::string_view> keys;
  for (const Accelerator& acc : accelerators()) {
    EXPECT_TRUE(keys.insert(acc.keys).second) << acc.keys;
    EXPECT_TRUE(ids.count(acc.id) == 1 || acc.id == command::kToggleRotation) << acc.keys;
  }
  EXPECT_EQ(keys.size(), 19u);
  EXPECT_EQ(find_menu_item(command::kToggleRotation), nullptr);
  ASSERT_NE(find_menu_item(command::kSummarize), nullptr);
  EXPECT_EQ(find_menu_item(command::kSummarize)->text, "&Summarize");
}

// A letter that two items of one popup share opens neither: the key only
// moves between them. The original Robot menu has one such pair, kept as it
// was; every item added since must have a letter of its own.
TEST(MenuTable, MnemonicsAreUniqueInEachPopup) {
  for (const MenuPopup& popup : menu_bar()) {
    std::set<char> letters;
    for (const MenuItem& item : popup.items) {
      const std::size_t amp = item.text.find('&');
      if (amp == std::string_view::npos || item.id == command::kClear) {
        continue;  // separators and "Open..." have none
      }
      const char letter = static_cast<char>(std::tolower(item.text[amp + 1]));
      EXPECT_TRUE(letters.insert(letter).second) << popup.title << ": " << item.text;
    }
  }
}

}  // namespace
}  // namespace wandrix
