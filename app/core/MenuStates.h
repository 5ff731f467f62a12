#pragma once
// Which menu items a main window enables in a state (logged out, or logged in
// at a user level), as tables of item names with one state letter each:
// '1' enabled, '0' disabled, '-' left as it is.
#include <array>
#include <string_view>
#include <vector>

struct MenuStates {
  std::vector<std::string_view> items;
  // One letter per item, in the order of `items`.
  std::string_view states;
};

// The menus of each user level: the rows of levels 1 to 5, then the row of
// every other level (0 when nobody or a user without a valid level logged in).
struct LevelMenuTable {
  static constexpr int kLevels = 5;

  std::vector<std::string_view> items;
  std::array<std::string_view, kLevels + 1> rows;

  MenuStates ForLevel(int level) const {
    const bool known = level >= 1 && level <= kLevels;
    return {items, rows[known ? level - 1 : kLevels]};
  }
};
