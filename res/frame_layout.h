// Where the commands sit in the main window: the menu bar and the toolbar,
// by command id, as the menu and toolbar resources lay them out.
#pragma once

#include <span>

namespace vantor {

// Entries of a layout besides command ids.
inline constexpr int ID_SEPARATOR = 0;
inline constexpr int ID_RECENT_SUBMENU = -1;  // the "R&eopen Pak" submenu

struct MenuLayout {
    const char* pszTitle;
    std::span<const int> items;
};

// File, Edit, View and About, left to right.
std::span<const MenuLayout> GetMenuBarLayout();

// The title of the recent-pak submenu, which holds ID_FILE_MRU_NONE while
// the list is empty.
const char* GetRecentSubmenuTitle();

// The toolbar buttons left to right, ID_SEPARATOR between groups.
std::span<const int> GetToolbarLayout();

}  // namespace vantor
