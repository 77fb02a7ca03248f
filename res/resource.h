// Numeric ids of the program's commands, windows and dialogs. Menus,
// toolbar, accelerators and update handlers all key on these numbers, as
// a resource header does; the texts that go with them are in
// command_table.cpp.
#pragma once

namespace vantor {

// --- Resources and control windows -------------------------------------------
inline constexpr int IDR_MAINFRAME = 128;        // menu, accelerators, icon, toolbar
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_OPTIONS = 160;
inline constexpr int AFX_IDW_TOOLBAR = 59392;    // the toolbar control ...
inline constexpr int AFX_IDW_STATUS_BAR = 59393; // ... and the status bar share their View command's id
inline constexpr int AFX_IDW_PANE_FIRST = 59648; // the splitter

// --- File menu -----------------------------------------------------------------
inline constexpr int ID_FILE_NEWPAK = 32774;
inline constexpr int ID_FILE_OPENPAK = 32771;
inline constexpr int ID_FILE_MRU_NONE = 32803;   // "(none)" in an empty Reopen Pak submenu
inline constexpr int ID_FILE_MRU_FIRST = 32804;  // recent paks 1 to 6
inline constexpr int ID_FILE_MRU_LAST = 32809;
inline constexpr int ID_FILE_RECOVER = 32782;
inline constexpr int ID_FILE_EXTRACTALL = 32783;
inline constexpr int ID_FILE_EXTRACT = 32784;
inline constexpr int ID_FILE_EXTRACTTO = 32850;
inline constexpr int ID_FILE_DELETE = 32786;
inline constexpr int ID_FILE_RENAME = 32787;
inline constexpr int ID_FILE_NEWFOLDER = 32798;
inline constexpr int ID_FILE_RESTORE = 32796;
inline constexpr int ID_FILE_CLOSE = 57602;
inline constexpr int ID_FILE_OPENGAMEFOLDER = 32860;

// --- Edit menu -----------------------------------------------------------------
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_SELECT_ALL = 57642;
inline constexpr int ID_EDIT_INVERT = 32789;
inline constexpr int ID_EDIT_FIND = 57636;
inline constexpr int ID_EDIT_UNDO = 57643;       // no handler anywhere

// --- View and About menus -----------------------------------------------------
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
inline constexpr int ID_VIEW_REFRESH = 32794;
inline constexpr int ID_VIEW_OPTIONS = 32797;
inline constexpr int ID_VIEW_PREVIEW = 32870;
inline constexpr int ID_APP_ABOUT = 57664;

// --- Toolbar and keyboard only ---------------------------------------------------
inline constexpr int ID_UP_ONE_LEVEL = 32781;
inline constexpr int ID_SWITCH_PANE = 32795;
inline constexpr int ID_PLAY_SOUND = 32851;
inline constexpr int ID_STOP_SOUND = 32811;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;

// --- The preview pane's context menu (not in the command table) ----------------
inline constexpr int ID_PREVIEW_EXPORT = 32871;
inline constexpr int ID_PREVIEW_PALETTE = 32872;

}  // namespace vantor
