#include "frame_layout.h"

#include "resource.h"

namespace vantor {

namespace {

// The recent-pak submenu is the File menu's third item: the recent-list code
// finds it by that position.
const int kFileMenu[] = {
    ID_FILE_NEWPAK, ID_FILE_OPENPAK, ID_RECENT_SUBMENU, ID_FILE_OPENGAMEFOLDER, ID_SEPARATOR,
    ID_FILE_RECOVER, ID_SEPARATOR,
    ID_FILE_EXTRACTALL, ID_FILE_EXTRACT, ID_FILE_EXTRACTTO, ID_SEPARATOR,
    ID_FILE_DELETE, ID_FILE_RENAME, ID_FILE_NEWFOLDER, ID_SEPARATOR,
    ID_FILE_RESTORE, ID_SEPARATOR,
    ID_FILE_CLOSE,
};
const int kEditMenu[] = {
    ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_SEPARATOR,
    ID_EDIT_SELECT_ALL, ID_EDIT_INVERT, ID_SEPARATOR,
    ID_EDIT_FIND,
};
const int kViewMenu[] = {
    ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_PREVIEW, ID_SEPARATOR,
    ID_VIEW_REFRESH, ID_SEPARATOR,
    ID_VIEW_OPTIONS,
};
const int kAboutMenu[] = {ID_APP_ABOUT};

const MenuLayout kMenuBar[] = {
    {"&File", kFileMenu},
    {"&Edit", kEditMenu},
    {"&View", kViewMenu},
    {"&About", kAboutMenu},
};

const int kToolbar[] = {
    ID_FILE_NEWPAK, ID_FILE_OPENPAK, ID_SEPARATOR,
    ID_FILE_EXTRACT, ID_FILE_EXTRACTALL, ID_SEPARATOR,
    ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_FILE_NEWFOLDER, ID_SEPARATOR,
    ID_FILE_DELETE, ID_FILE_RESTORE, ID_SEPARATOR,
    ID_UP_ONE_LEVEL, ID_SEPARATOR,
    ID_PLAY_SOUND, ID_STOP_SOUND,
};

const PopupItem kFolderPopup[] = {
    {ID_FILE_EXTRACT, "E&xtract"}, {ID_FILE_EXTRACTTO, "&Extract To..."}, {ID_SEPARATOR, ""},
    {ID_FILE_DELETE, "&Delete"},   {ID_FILE_RENAME, "&Rename"},           {ID_SEPARATOR, ""},
    {ID_EDIT_CUT, "Cu&t"},         {ID_EDIT_COPY, "&Copy"},               {ID_EDIT_PASTE, "&Paste"},
};
const PopupItem kFilePopup[] = {
    {ID_PLAY_SOUND, "&Play"}, {ID_SEPARATOR, ""},
    {ID_FILE_EXTRACT, "E&xtract"}, {ID_FILE_EXTRACTTO, "&Extract To..."}, {ID_SEPARATOR, ""},
    {ID_FILE_DELETE, "&Delete"},   {ID_FILE_RENAME, "&Rename"},           {ID_SEPARATOR, ""},
    {ID_EDIT_CUT, "Cu&t"},         {ID_EDIT_COPY, "&Copy"},
};
const PopupItem kListSpacePopup[] = {
    {ID_EDIT_PASTE, "&Paste"}, {ID_FILE_NEWFOLDER, "New &Folder"},
};
const PopupItem kRootPopup[] = {
    {ID_FILE_RECOVER, "Recover &Unused Space"}, {ID_FILE_EXTRACTALL, "Extract &All"}, {ID_SEPARATOR, ""},
    {ID_EDIT_PASTE, "&Paste"},
};

}  // namespace

std::span<const PopupItem> GetPopupMenuLayout(int nPopup)
{
    switch (nPopup) {
    case popupFolder: return kFolderPopup;
    case popupFile: return kFilePopup;
    case popupListSpace: return kListSpacePopup;
    case popupRoot: return kRootPopup;
    }
    return {};
}

std::span<const MenuLayout> GetMenuBarLayout()
{
    return kMenuBar;
}

const char* GetRecentSubmenuTitle()
{
    return "R&eopen Pak";
}

std::span<const int> GetToolbarLayout()
{
    return kToolbar;
}

}  // namespace vantor
