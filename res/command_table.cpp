// The program's command texts, spelt exactly as users see them.
#include "command_table.h"

#include "resource.h"

#include <algorithm>

namespace vantor {

namespace {

const CommandInfo kCommands[] = {
    // File
    {ID_FILE_NEWPAK, "&New Pak", "", "Creates a new pak file\nNew pak", ":/icons/new_pak.svg"},
    {ID_FILE_OPENPAK, "&Open Pak", "", "Opens an existing pak file\nOpen pak", ":/icons/open_pak.svg"},
    {ID_FILE_MRU_NONE, "(none)", "", "", nullptr},
    {ID_FILE_OPENGAMEFOLDER, "Open &Game Folder...", "",
     "Shows which copy of every file a game folder loads\nOpen game folder", nullptr},
    {ID_FILE_RECOVER, "Recover &Unused Space", "", "Eliminates unused space in the pak", nullptr},
    {ID_FILE_EXTRACTALL, "Extract &All", "", "Extract all items\nExtract all", ":/icons/extract_all.svg"},
    {ID_FILE_EXTRACT, "E&xtract", "", "Extract the selected items\nExtract", ":/icons/extract.svg"},
    {ID_FILE_EXTRACTTO, "&Extract To...", "", "Extract to location\nExtract To", nullptr},
    {ID_FILE_DELETE, "&Delete\tDel", "Del", "Delete the selected items\nDelete", ":/icons/delete.svg"},
    {ID_FILE_RENAME, "&Rename\tF2", "F2", "Rename the selected item", nullptr},
    {ID_FILE_NEWFOLDER, "New &Folder", "", "Create new folder\nNew folder", ":/icons/new_folder.svg"},
    // The menu has always shown Ctrl+Z here, so the key does what it says
    // rather than reach Undo, which nothing handles.
    {ID_FILE_RESTORE, "R&estore Deleted Files\tCtrl+Z", "Ctrl+Z", "Display the restore files dialog\nRestore files",
     ":/icons/restore.svg"},
    {ID_FILE_CLOSE, "&Close", "", "", nullptr},
    // Edit
    {ID_EDIT_CUT, "Cu&t\tCtrl+X", "Ctrl+X; Shift+Del", "Cut the selected items\nCut", ":/icons/cut.svg"},
    {ID_EDIT_COPY, "&Copy\tCtrl+C", "Ctrl+C; Ctrl+Ins", "Copy the selected items\nCopy", ":/icons/copy.svg"},
    {ID_EDIT_PASTE, "&Paste\tCtrl+V", "Ctrl+V; Shift+Ins", "Paste the cut or copied items\nPaste",
     ":/icons/paste.svg"},
    {ID_EDIT_SELECT_ALL, "Select &All\tCtrl+A", "Ctrl+A", "Select all items", nullptr},
    {ID_EDIT_INVERT, "&Invert Selection", "", "Invert the current selection", nullptr},
    {ID_EDIT_FIND, "&Filter\tCtrl+F", "Ctrl+F", "Show only the items whose names match\nFilter", nullptr},
    // View
    {ID_VIEW_TOOLBAR, "&Toolbar", "", "Show or hide the toolbar", nullptr},
    {ID_VIEW_STATUS_BAR, "&Status Bar", "", "Show or hide the status bar", nullptr},
    {ID_VIEW_PREVIEW, "&Preview\tF3", "F3", "Show or hide the preview of the selected file", nullptr},
    {ID_VIEW_REFRESH, "&Refresh\tF5", "F5", "Refresh view", nullptr},
    {ID_VIEW_OPTIONS, "&Options", "", "Display options dialog", nullptr},
    // About
    {ID_APP_ABOUT, "&Vantor...", "", "Display program information", nullptr},
    // Toolbar and keys only
    {ID_UP_ONE_LEVEL, "", "Backspace", "Up one level\nUp one level", ":/icons/up_one_level.svg"},
    {ID_SWITCH_PANE, "", "Tab; Shift+F10", "", nullptr},
    {ID_PLAY_SOUND, "", "", "Play wave file\nPlay sound", ":/icons/play.svg"},
    {ID_STOP_SOUND, "", "", "Stops playing wave\nStop Sound", ":/icons/stop.svg"},
    {ID_NEXT_PANE, "", "F6", "", nullptr},
    {ID_PREV_PANE, "", "Shift+F6", "", nullptr},
    {ID_EDIT_UNDO, "", "", "Undo the last action\nUndo", nullptr},
};

}  // namespace

std::span<const CommandInfo> GetCommandTable()
{
    return kCommands;
}

const CommandInfo* FindCommand(int nID)
{
    const auto* found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                     [nID](const CommandInfo& command) { return command.nID == nID; });
    return found == std::end(kCommands) ? nullptr : found;
}

QString StatusPromptOf(const char* pszPrompt)
{
    const QString prompt = QString::fromUtf8(pszPrompt ? pszPrompt : "");
    const qsizetype newline = prompt.lastIndexOf(u'\n');
    return newline < 0 ? prompt : prompt.left(newline);
}

QString ToolTipOf(const char* pszPrompt)
{
    const QString prompt = QString::fromUtf8(pszPrompt ? pszPrompt : "");
    const qsizetype newline = prompt.lastIndexOf(u'\n');
    return newline < 0 ? QString() : prompt.mid(newline + 1);
}

QList<QKeySequence> ShortcutsOf(const CommandInfo& command)
{
    return QKeySequence::listFromString(QString::fromLatin1(command.pszKeys), QKeySequence::PortableText);
}

}  // namespace vantor
