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

// The context menus of the tree and the list. Their items carry texts of
// their own, without the key names of the menu bar.
enum PopupMenu : int {
    popupFolder = 0,     // a folder of the tree, and folder rows of the list
    popupFile = 1,       // file rows of the list
    popupListSpace = 2,  // the list beside its rows
    popupRoot = 3,       // the tree's root
};

struct PopupItem {
    int nID;  // ID_SEPARATOR for a separator
    const char* pszText;
};

std::span<const PopupItem> GetPopupMenuLayout(int nPopup);

}  // namespace vantor
